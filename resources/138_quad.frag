#version 110
// Soft-particle fragment shader: a soft, round disc inscribed in the quad,
// fading out over the final eight seconds of its lifetime.

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
    float d = distance(fs_tex, vec2(0.5, 0.5));
    float w = smooth_step(0.5, -0.05, d) * smooth_step(0.0, 8.0, time_left);
    if (w < 0.04)
        discard;
    gl_FragColor = vec4(color.rgb, color.a * w);
}
//~
