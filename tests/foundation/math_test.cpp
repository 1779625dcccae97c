// Vector and matrix results in single precision, column-major.
#include "render/matrix.h"
#include "render/vector.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

Mat4 counting_matrix(float start)
{
    Mat4 m;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            m[c][r] = start + static_cast<float>(c * 4 + r);
    return m;
}

void expect_same(const Mat4& a, const Mat4& b)
{
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_EQ(a[c][r], b[c][r]) << "column " << c << " row " << r;
}

TEST(Vectors, DefaultIsZero)
{
    Vec2 a;
    Vec3 b;
    Vec4 c;
    Mat4 m;
    EXPECT_TRUE(a.x == 0 && a.y == 0);
    EXPECT_TRUE(b.x == 0 && b.y == 0 && b.z == 0);
    EXPECT_TRUE(c.x == 0 && c.y == 0 && c.z == 0 && c.w == 0);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m.data()[i], 0.0f);
}

TEST(Vectors, IndexReachesComponentsInOrder)
{
    Vec4 v{1, 2, 3, 4};
    EXPECT_EQ(v[0], 1);
    EXPECT_EQ(v[1], 2);
    EXPECT_EQ(v[2], 3);
    EXPECT_EQ(v[3], 4);
    v[2] = 9;
    EXPECT_EQ(v.z, 9);
    Vec3 u{5, 6, 7};
    u[0] = -1;
    EXPECT_EQ(u.x, -1);
    EXPECT_EQ(u[2], 7);
    Vec2 t{8, 9};
    EXPECT_EQ(t[1], 9);
}

TEST(Vectors, DifferenceAndDivision)
{
    Vec2 d2 = Vec2{5, 7} - Vec2{2, 10};
    EXPECT_EQ(d2.x, 3);
    EXPECT_EQ(d2.y, -3);
    Vec3 d3 = Vec3{1, 2, 3} - Vec3{0.5f, 4, -3};
    EXPECT_EQ(d3.x, 0.5f);
    EXPECT_EQ(d3.y, -2);
    EXPECT_EQ(d3.z, 6);
    Vec3 q = Vec3{3, 6, -9} / 3.0f;
    EXPECT_EQ(q.x, 1);
    EXPECT_EQ(q.y, 2);
    EXPECT_EQ(q.z, -3);
}

TEST(Vectors, LengthAndNormalise)
{
    EXPECT_EQ(length(Vec3{3, 4, 0}), 5.0f);
    Vec3 n = normalise(Vec3{3, 4, 0});
    EXPECT_FLOAT_EQ(n.x, 0.6f);
    EXPECT_FLOAT_EQ(n.y, 0.8f);
    EXPECT_EQ(n.z, 0.0f);
    EXPECT_FLOAT_EQ(length(normalise(Vec3{-2, 7, 0.25f})), 1.0f);
}

TEST(Matrices, RadiansInSinglePrecision)
{
    EXPECT_EQ(radians(180.0f), 180.0f * 0.017453292f);
    EXPECT_FLOAT_EQ(radians(25.0f), 0.4363323f);
}

TEST(Matrices, PerspectiveOfTheScene)
{
    Mat4 p = perspective(50.0f, 1.7777778f, 0.1f, 1000.0f);
    EXPECT_NEAR(p[1][1], 2.1445069f, 1e-6);
    EXPECT_NEAR(p[0][0], 1.2062851f, 1e-6);
    EXPECT_NEAR(p[2][2], -1.0002f, 1e-6);
    EXPECT_NEAR(p[3][2], -0.20002f, 1e-6);
    EXPECT_EQ(p[2][3], -1.0f);
    // Everything else is zero.
    int zeros = 0;
    for (int i = 0; i < 16; ++i)
        zeros += p.data()[i] == 0.0f;
    EXPECT_EQ(zeros, 11);
}

TEST(Matrices, TranslateFillsLastColumn)
{
    Mat4 t = translate(1.5f, -2, 3);
    expect_same(t, Mat4(Vec4{1, 0, 0, 0}, Vec4{0, 1, 0, 0}, Vec4{0, 0, 1, 0}, Vec4{1.5f, -2, 3, 1}));
}

TEST(Matrices, ProjectionTimesCameraTranslation)
{
    Mat4 pv = perspective(50.0f, 1.7777778f, 0.1f, 1000.0f) * translate(0, 0, -20);
    EXPECT_EQ(pv[3][0], 0.0f);
    EXPECT_EQ(pv[3][1], 0.0f);
    EXPECT_NEAR(pv[3][2], 19.803978f, 1e-4);
    EXPECT_EQ(pv[3][3], 20.0f);
}

TEST(Matrices, IdentityOnEitherSideChangesNothing)
{
    Mat4 m = counting_matrix(-3.25f);
    expect_same(Mat4::identity() * m, m);
    expect_same(m * Mat4::identity(), m);
}

// R(j, i) = sum over k of L(k, i) * M(j, k): the left operand's rows meet
// the right operand's columns, and neither operand changes.
TEST(Matrices, ProductIsColumnMajorLeftTimesRight)
{
    Mat4 l = counting_matrix(0.0f);
    Mat4 m = counting_matrix(16.0f);
    Mat4 l_before = l, m_before = m;
    Mat4 r = l * m;
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) {
            float expected = 0.0f;
            for (int k = 0; k < 4; ++k)
                expected += l[k][i] * m[j][k];
            EXPECT_EQ(r[j][i], expected);
        }
    }
    // One element by hand: column 0, row 0 = 0*16 + 4*17 + 8*18 + 12*19.
    EXPECT_EQ(r[0][0], 440.0f);
    expect_same(l, l_before);
    expect_same(m, m_before);
    // Applying translate after scale moves the scaled point, not the reverse.
    Mat4 scale(Vec4{2, 0, 0, 0}, Vec4{0, 2, 0, 0}, Vec4{0, 0, 2, 0}, Vec4{0, 0, 0, 1});
    EXPECT_EQ((translate(1, 0, 0) * scale)[3][0], 1.0f);
    EXPECT_EQ((scale * translate(1, 0, 0))[3][0], 2.0f);
}

TEST(Matrices, DataIsColumnAfterColumn)
{
    Mat4 m = counting_matrix(0.0f);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m.data()[i], static_cast<float>(i));
}

} // namespace
