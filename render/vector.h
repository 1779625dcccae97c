// Small fixed-size vectors of 32-bit floats for the camera maths, the mesh
// tangents and the particle parameters. A default-constructed vector is all
// zeros; construct from components with braces: Vec3{1.0f, 2.0f, 3.0f}.
// Every operation works component by component in index order, in single
// precision.
#pragma once

struct Vec2 {
    float x = 0.0f;
    float y = 0.0f;

    // 0 is x; any other index reaches y.
    float& operator[](int i) { return i == 0 ? x : y; }
    float operator[](int i) const { return i == 0 ? x : y; }
};

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    // 0 is x, 1 is y; any other index reaches z.
    float& operator[](int i) { return i == 0 ? x : i == 1 ? y : z; }
    float operator[](int i) const { return i == 0 ? x : i == 1 ? y : z; }
    // The three floats in order, for glUniform3fv.
    const float* data() const { return &x; }
};

struct Vec4 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;

    // 0 is x, 1 is y, 2 is z; any other index reaches w.
    float& operator[](int i) { return i == 0 ? x : i == 1 ? y : i == 2 ? z : w; }
    float operator[](int i) const { return i == 0 ? x : i == 1 ? y : i == 2 ? z : w; }
};

static_assert(sizeof(Vec3) == 3 * sizeof(float), "Vec3 is uploaded as three packed floats");
static_assert(sizeof(Vec4) == 4 * sizeof(float), "Mat4 columns are uploaded as packed floats");

Vec2 operator-(const Vec2& a, const Vec2& b);

Vec3 operator+(const Vec3& a, const Vec3& b);
Vec3 operator-(const Vec3& a, const Vec3& b);
Vec3 operator*(const Vec3& v, float s);
Vec3 operator/(const Vec3& v, float s);

// Square root of x*x + y*y + z*z, summed from 0 in that order.
float length(const Vec3& v);

// v divided by its length. A zero vector gives NaN components: callers that
// may meet one must check first.
Vec3 normalise(const Vec3& v);
