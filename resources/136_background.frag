#version 110
// Background fragment shader: night sky, bright at the bottom, dark above
// an edge that swings up and down.

varying vec2 fs_tex;

uniform float iTime;

float smooth_step(float min_edge, float max_edge, float val)
{
    float t = clamp((val - min_edge) / (max_edge - min_edge), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

void main()
{
    vec3 color_bottom = vec3(0.2, 0.5, 1.0);
    vec3 color_top = vec3(0.01, 0.01, 0.04);
    float edge = 0.7 + sin(iTime * 0.5) * 0.1;
    vec3 colour = color_top + (color_bottom - color_top) * smooth_step(edge, 0.0, fs_tex.y);
    gl_FragColor = vec4(colour, 1.0);
}
//~
