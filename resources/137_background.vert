#version 110
// Background vertex shader: the rectangle, set 200 units back.

attribute vec4 position;
attribute vec2 position_tex;
attribute vec3 position_normal;

varying vec2 fs_tex;

uniform mat4 model_view;

void main()
{
    fs_tex = position_tex;
    gl_Position = model_view * vec4(position.x, position.y, position.z - 200.0, 1.0);
}
//~
