#include "objl/vector_math.h"

#include <cmath>

namespace objl {

Vector3 operator-(const Vector3& a, const Vector3& b)
{
    return Vector3{a.x - b.x, a.y - b.y, a.z - b.z};
}

bool operator==(const Vector3& a, const Vector3& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

bool operator!=(const Vector3& a, const Vector3& b)
{
    return !(a == b);
}

Vector3 cross_product(const Vector3& a, const Vector3& b)
{
    return Vector3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float dot_product(const Vector3& a, const Vector3& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

float vector_length(const Vector3& a)
{
    return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
}

// Divisions below follow IEEE float rules: a zero divisor gives an infinity
// or NaN, which the callers rely on to reject degenerate shapes.
float angle_between(const Vector3& a, const Vector3& b)
{
    const float cosine = dot_product(a, b) / (vector_length(a) * vector_length(b));
    return static_cast<float>(std::acos(static_cast<double>(cosine)));
}

bool point_in_triangle(const Vector3& p, const Vector3& a, const Vector3& b, const Vector3& c)
{
    const Vector3 u = b - a;
    const Vector3 v = c - a;
    const Vector3 w = p - a;
    const Vector3 n = cross_product(u, v);
    const float n_squared = dot_product(n, n);
    const float gamma = dot_product(cross_product(u, w), n) / n_squared;
    const float beta = dot_product(cross_product(w, v), n) / n_squared;
    const float alpha = 1.0f - gamma - beta;
    // Written as "inside" tests so that a NaN weight (zero-area triangle)
    // fails them.
    return alpha >= 0.0f && alpha <= 1.0f && beta >= 0.0f && beta <= 1.0f && gamma >= 0.0f && gamma <= 1.0f;
}

} // namespace objl
