#version 110
// Snowflake fragment shader: fade-out over the last 10 s.

varying vec2 fs_tex;
varying vec4 color;
varying float time_left;

uniform sampler2D s;

float smooth_step(float min_edge, float max_edge, float val)
{
    float t = clamp((val - min_edge) / (max_edge - min_edge), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

void main()
{
    gl_FragColor = vec4(color.rgb, smooth_step(0.0, 10.0, time_left));
}
//~
