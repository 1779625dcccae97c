#version 110
attribute vec4 position;
varying vec2 fs_tex;
void main()
{
    fs_tex = position.xy;
    gl_Position = position;
}
//~
