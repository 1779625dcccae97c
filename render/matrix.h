// A 4x4 matrix of 32-bit floats stored column after column: element
// (column c, row r) is m[c][r], and data() gives the 16 floats in the order
// glUniformMatrix4fv reads them with transpose false. Vectors are columns on
// the right: the product L * M applies M first. A default matrix is all zeros.
#pragma once

#include "render/vector.h"

struct Mat4 {
    Vec4 columns[4];

    Mat4() = default;
    Mat4(const Vec4& c0, const Vec4& c1, const Vec4& c2, const Vec4& c3) : columns{c0, c1, c2, c3} {}

    // Column c, 0 to 3.
    Vec4& operator[](int c) { return columns[c]; }
    const Vec4& operator[](int c) const { return columns[c]; }

    const float* data() const { return &columns[0].x; }

    static Mat4 identity();
};

static_assert(sizeof(Mat4) == 16 * sizeof(float), "Mat4 is uploaded as 16 packed floats");

// R(j, i) = sum over k = 0..3 of L(k, i) * M(j, k), accumulated from 0 in
// single precision. Neither operand changes.
Mat4 operator*(const Mat4& l, const Mat4& m);

// Degrees to radians: degrees * 0.017453292, in single precision.
float radians(float degrees);

// Projection for a vertical field of view of `fovy_degrees`, width/height
// ratio `aspect` and clip planes at distances `near_plane` and `far_plane`
// (scene units), mapping depth to [-1, 1] as OpenGL does.
Mat4 perspective(float fovy_degrees, float aspect, float near_plane, float far_plane);

// Moves points by (x, y, z) scene units.
Mat4 translate(float x, float y, float z);
