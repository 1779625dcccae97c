// Float32 vector helpers behind face normals and ear clipping.
#include "objl/model_reader.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using objl::Vector3;

TEST(VectorMath, CrossProductIsRightHanded)
{
    const Vector3 z = objl::cross_product(Vector3{1, 0, 0}, Vector3{0, 1, 0});
    EXPECT_EQ(z, (Vector3{0, 0, 1}));
    const Vector3 c = objl::cross_product(Vector3{1, 2, 3}, Vector3{4, 5, 6});
    EXPECT_EQ(c, (Vector3{-3, 6, -3}));
}

TEST(VectorMath, DotLengthAndDifference)
{
    EXPECT_EQ(objl::dot_product(Vector3{1, 2, 3}, Vector3{4, -5, 6}), 12.0f);
    EXPECT_EQ(objl::vector_length(Vector3{3, 4, 12}), 13.0f);
    EXPECT_EQ((Vector3{5, 7, 9}) - (Vector3{1, 2, 3}), (Vector3{4, 5, 6}));
}

TEST(VectorMath, EqualityIsExactPerComponent)
{
    EXPECT_TRUE((Vector3{1, 2, 3}) == (Vector3{1, 2, 3}));
    EXPECT_TRUE((Vector3{0.0f, 0, 0}) == (Vector3{-0.0f, 0, 0}));
    EXPECT_TRUE((Vector3{1, 2, 3}) != (Vector3{1, 2, 3.0000005f}));
    const float nan = std::nanf("");
    EXPECT_TRUE((Vector3{nan, 0, 0}) != (Vector3{nan, 0, 0}));
}

TEST(VectorMath, AngleBetweenIsInRadians)
{
    EXPECT_FLOAT_EQ(objl::angle_between(Vector3{1, 0, 0}, Vector3{0, 3, 0}), 1.5707964f);
    EXPECT_EQ(objl::angle_between(Vector3{2, 0, 0}, Vector3{5, 0, 0}), 0.0f);
}

// pi rounded to float32 lies above pi; the straight-edge rule depends on it.
TEST(VectorMath, AngleOfOppositeVectorsIsPiRoundedToFloat)
{
    const double pi = 3.14159265358979323846;
    const float angle = objl::angle_between(Vector3{-1, 0, 0}, Vector3{1, 0, 0});
    EXPECT_EQ(angle, static_cast<float>(pi));
    EXPECT_GT(static_cast<double>(angle), pi);
}

TEST(VectorMath, AngleWithZeroVectorIsNaN)
{
    EXPECT_TRUE(std::isnan(objl::angle_between(Vector3{0, 0, 0}, Vector3{1, 0, 0})));
}

TEST(PointInTriangle, CountsCornersAndEdgesAsInside)
{
    const Vector3 a{0, 0, 0}, b{4, 0, 0}, c{0, 4, 0};
    EXPECT_TRUE(objl::point_in_triangle(a, a, b, c));
    EXPECT_TRUE(objl::point_in_triangle(c, a, b, c));
    EXPECT_TRUE(objl::point_in_triangle(Vector3{2, 0, 0}, a, b, c));
    EXPECT_TRUE(objl::point_in_triangle(Vector3{2, 2, 0}, a, b, c));
    EXPECT_TRUE(objl::point_in_triangle(Vector3{1, 1, 0}, a, b, c));
}

TEST(PointInTriangle, RejectsPointsOutside)
{
    const Vector3 a{0, 0, 0}, b{4, 0, 0}, c{0, 4, 0};
    EXPECT_FALSE(objl::point_in_triangle(Vector3{3, 3, 0}, a, b, c));
    EXPECT_FALSE(objl::point_in_triangle(Vector3{-0.5f, 1, 0}, a, b, c));
    EXPECT_FALSE(objl::point_in_triangle(Vector3{5, 0, 0}, a, b, c));
}

// The test projects onto the triangle's plane.
TEST(PointInTriangle, PointAboveTheTriangleCountsAsInside)
{
    EXPECT_TRUE(objl::point_in_triangle(Vector3{1, 1, 7}, Vector3{0, 0, 0}, Vector3{4, 0, 0}, Vector3{0, 4, 0}));
}

TEST(PointInTriangle, ZeroAreaTriangleContainsNothing)
{
    const Vector3 a{0, 0, 0}, b{2, 0, 0}, c{4, 0, 0};
    EXPECT_FALSE(objl::point_in_triangle(Vector3{1, 0, 0}, a, b, c));
    EXPECT_FALSE(objl::point_in_triangle(a, a, b, c));
    EXPECT_FALSE(objl::point_in_triangle(a, a, a, a));
}

} // namespace
