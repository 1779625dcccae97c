#include "render/vector.h"

#include <cmath>

Vec2 operator-(const Vec2& a, const Vec2& b)
{
    return Vec2{a.x - b.x, a.y - b.y};
}

Vec3 operator+(const Vec3& a, const Vec3& b)
{
    return Vec3{a.x + b.x, a.y + b.y, a.z + b.z};
}

Vec3 operator-(const Vec3& a, const Vec3& b)
{
    return Vec3{a.x - b.x, a.y - b.y, a.z - b.z};
}

Vec3 operator*(const Vec3& v, float s)
{
    return Vec3{v.x * s, v.y * s, v.z * s};
}

Vec3 operator/(const Vec3& v, float s)
{
    return Vec3{v.x / s, v.y / s, v.z / s};
}

float length(const Vec3& v)
{
    float sum = 0.0f;
    for (int i = 0; i < 3; ++i)
        sum += v[i] * v[i];
    return std::sqrt(sum);
}

Vec3 normalise(const Vec3& v)
{
    return v / length(v);
}
