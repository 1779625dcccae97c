// Float32 vector arithmetic on the reader's own Vector3, for face normals and
// ear clipping. Every operation rounds to float32 at each step, so results
// do not depend on the compiler's choice of precision.
#pragma once

#include "objl/records.h"

namespace objl {

// Componentwise difference.
Vector3 operator-(const Vector3& a, const Vector3& b);

// Exact equality of all three components (so +0 equals -0 and NaN equals
// nothing).
bool operator==(const Vector3& a, const Vector3& b);
bool operator!=(const Vector3& a, const Vector3& b);

// Right-handed cross product a x b.
Vector3 cross_product(const Vector3& a, const Vector3& b);

float dot_product(const Vector3& a, const Vector3& b);

float vector_length(const Vector3& a);

// Angle between a and b in radians, 0 to pi. The arc cosine is taken in
// double precision of the float32 cosine and the result rounded to float32.
// NaN when either vector has zero length, or when rounding pushes the cosine
// past +-1.
float angle_between(const Vector3& a, const Vector3& b);

// True when p projected onto the plane of triangle (a, b, c) falls inside it,
// edges and corners included. A triangle of zero area contains nothing.
bool point_in_triangle(const Vector3& p, const Vector3& a, const Vector3& b, const Vector3& c);

} // namespace objl
