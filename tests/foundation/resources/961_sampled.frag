#version 110
uniform sampler2D picture;
varying vec2 fs_tex;
void main()
{
    gl_FragColor = texture2D(picture, fs_tex);
}
//~
