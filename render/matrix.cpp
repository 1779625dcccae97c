#include "render/matrix.h"

#include <cmath>

Mat4 Mat4::identity()
{
    return Mat4(Vec4{1, 0, 0, 0}, Vec4{0, 1, 0, 0}, Vec4{0, 0, 1, 0}, Vec4{0, 0, 0, 1});
}

Mat4 operator*(const Mat4& l, const Mat4& m)
{
    Mat4 r;
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k)
                sum += l[k][i] * m[j][k];
            r[j][i] = sum;
        }
    }
    return r;
}

float radians(float degrees)
{
    return degrees * 0.017453292f;
}

Mat4 perspective(float fovy_degrees, float aspect, float near_plane, float far_plane)
{
    float q = 1.0f / std::tan(radians(0.5f * fovy_degrees));
    float x_scale = q / aspect;
    float depth_scale = (near_plane + far_plane) / (near_plane - far_plane);
    float depth_offset = 2.0f * near_plane * far_plane / (near_plane - far_plane);
    return Mat4(Vec4{x_scale, 0, 0, 0}, Vec4{0, q, 0, 0}, Vec4{0, 0, depth_scale, -1},
                Vec4{0, 0, depth_offset, 0});
}

Mat4 translate(float x, float y, float z)
{
    return Mat4(Vec4{1, 0, 0, 0}, Vec4{0, 1, 0, 0}, Vec4{0, 0, 1, 0}, Vec4{x, y, z, 1});
}
