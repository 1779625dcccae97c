#version 110
// Soft-particle vertex shader: moves each quad along its path unturned.
// Lighting inputs unread.

attribute vec4 position;
attribute vec3 position_translation;
attribute vec2 position_tex;
attribute vec3 position_normal;
attribute vec3 move_direction;
attribute vec3 rotation_angles;
attribute vec3 time_start_finish_zero;

varying vec2 fs_tex;
varying vec4 color;
varying float time_left;

uniform vec3 light_pos;
uniform mat4 model_view;
uniform float iTime;

void main()
{
    float iTimePassed = iTime - time_start_finish_zero.x;
    vec4 moved = position + vec4(position_translation, 0.0)
               + vec4(move_direction * iTimePassed, 0.0);
    fs_tex = position_tex;
    color = vec4(0.55 * 1.2, 0.68 * 1.2, 0.8 * 1.2, 1.0);
    time_left = time_start_finish_zero.y - iTime;
    gl_Position = model_view * moved;
}
//~
