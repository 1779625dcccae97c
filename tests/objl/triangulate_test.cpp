// Ear clipping of single faces, as corner numbers.
#include "objl/model_reader.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace {

using Indices = std::vector<std::uint32_t>;

Indices triangulate(const std::vector<objl::Vertex>& corners)
{
    Indices triangles = {99, 99, 99};  // replaced, not appended to
    objl::ModelReader::triangulate_polygon(corners, &triangles);
    return triangles;
}

// A face in the plane z = 0 from (x, y) pairs.
std::vector<objl::Vertex> face(std::initializer_list<objl::Vector2> points)
{
    std::vector<objl::Vertex> corners;
    for (const objl::Vector2& p : points) {
        objl::Vertex v;
        v.position = objl::Vector3{p.x, p.y, 0.0f};
        corners.push_back(v);
    }
    return corners;
}

// Every triangle names three distinct corners of the face.
void expect_well_formed(const Indices& triangles, std::size_t corners)
{
    ASSERT_EQ(triangles.size() % 3, 0u);
    for (std::size_t t = 0; t < triangles.size(); t += 3) {
        for (std::size_t k = 0; k < 3; ++k)
            EXPECT_LT(triangles[t + k], corners);
        EXPECT_NE(triangles[t], triangles[t + 1]);
        EXPECT_NE(triangles[t], triangles[t + 2]);
        EXPECT_NE(triangles[t + 1], triangles[t + 2]);
    }
}

TEST(TriangulatePolygon, FewerThanThreeCornersGiveNothing)
{
    EXPECT_TRUE(triangulate(face({})).empty());
    EXPECT_TRUE(triangulate(face({{0, 0}, {1, 0}})).empty());
}

TEST(TriangulatePolygon, ThreeCornersGiveOneTriangleEvenWhenTheyCoincide)
{
    EXPECT_EQ(triangulate(face({{0, 0}, {1, 0}, {0, 1}})), (Indices{0, 1, 2}));
    EXPECT_EQ(triangulate(face({{2, 2}, {2, 2}, {2, 2}})), (Indices{0, 1, 2}));
}

TEST(TriangulatePolygon, QuadSplitsAlongLastToSecondDiagonal)
{
    EXPECT_EQ(triangulate(face({{0, 0}, {1, 0}, {1, 1}, {0, 1}})),
              (Indices{0, 1, 3, 1, 2, 3}));
}

TEST(TriangulatePolygon, ConvexPentagonFansFromLastCorner)
{
    EXPECT_EQ(triangulate(face({{0, 0}, {2, 0}, {3, 2}, {1, 3}, {-1, 2}})),
              (Indices{0, 1, 4, 1, 2, 4, 2, 3, 4}));
}

TEST(TriangulatePolygon, ConvexHexagonFansFromLastCorner)
{
    EXPECT_EQ(triangulate(face({{1, 0}, {2, 0}, {3, 1}, {2, 2}, {1, 2}, {0, 1}})),
              (Indices{0, 1, 5, 1, 2, 5, 2, 3, 5, 3, 4, 5}));
}

// Corners 0 and 1 are skipped because the reflex corner 3 lies in their ears.
TEST(TriangulatePolygon, ReflexPentagonCutsAroundTheReflexCorner)
{
    EXPECT_EQ(triangulate(face({{0, 0}, {4, 0}, {4, 4}, {2, 1}, {0, 4}})),
              (Indices{1, 2, 3, 0, 1, 4, 1, 3, 4}));
}

// Corner 0 sits on the straight edge from corner 4 to corner 1: its float32
// angle is just over 180 degrees, so it is never cut as an ear.
TEST(TriangulatePolygon, CornerOnStraightEdgeIsSkipped)
{
    EXPECT_EQ(triangulate(face({{1, 0}, {2, 0}, {2, 2}, {0, 2}, {0, 0}})),
              (Indices{0, 1, 2, 0, 2, 4, 2, 3, 4}));
}

TEST(TriangulatePolygon, KeepsTheWindingOfClockwiseFaces)
{
    EXPECT_EQ(triangulate(face({{-1, 2}, {1, 3}, {3, 2}, {2, 0}, {0, 0}})),
              (Indices{0, 1, 4, 1, 2, 4, 2, 3, 4}));
}

// The diagonal from the last to the second corner lies outside this concave
// quad; it is used all the same.
TEST(TriangulatePolygon, ConcaveQuadIsSplitWithoutConvexityTest)
{
    EXPECT_EQ(triangulate(face({{1, 1}, {2, 0}, {1, 3}, {0, 0}})),
              (Indices{0, 1, 3, 1, 2, 3}));
}

// All corners on one line: every angle is 0 or 180 degrees, so no ear.
TEST(TriangulatePolygon, CollinearFaceYieldsNoTriangle)
{
    EXPECT_TRUE(triangulate(face({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}})).empty());
}

// A simple concave face where corners already cut off block every later
// ear: after two cuts no sweep finds one. The triangulation stops there and
// keeps those two triangles instead of sweeping forever.
TEST(TriangulatePolygon, StopsWhenNoEarIsLeftAndKeepsTrianglesCutSoFar)
{
    EXPECT_EQ(triangulate(
                  face({{0, 0}, {1, 3}, {0, 2}, {0, 4}, {2, 3}, {1, 1}, {4, 0}})),
              (Indices{0, 1, 2, 4, 5, 6}));
}

// A position named twice: every triangle still holds three distinct corner
// numbers of this face.
TEST(TriangulatePolygon, RepeatedPositionStillGivesThreeCornersPerTriangle)
{
    const Indices triangles =
        triangulate(face({{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}}));
    expect_well_formed(triangles, 5);
    EXPECT_EQ(triangles, (Indices{0, 1, 4, 1, 2, 4, 2, 3, 4}));
}

TEST(TriangulatePolygon, ManyCopiesOfOnePositionStayWithinTheFace)
{
    const Indices triangles =
        triangulate(face({{1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}}));
    EXPECT_EQ(triangles.size(), 15u);
    expect_well_formed(triangles, 7);
}

} // namespace
