// Polygon edges: each side once, whichever polygons share it.
#include <gtest/gtest.h>

#include "formats/geometry.h"
#include "testdata.h"

namespace skyvane {
namespace {

using Edges = std::vector<Edge>;

TEST(UniqueEdges, eachSideOnceSortedWithTheSmallerIndexFirst) {
    struct Case {
        const char* name;
        std::vector<Polygon> polygons;
        Edges expected;
    };
    const Case cases[] = {
        {"triangle", {{2, 0, 1}}, {{0, 1}, {0, 2}, {1, 2}}},
        {"two triangles sharing a side",
         {{0, 1, 2}, {2, 1, 3}},
         {{0, 1}, {0, 2}, {1, 2}, {1, 3}, {2, 3}}},
        {"the same quad twice, once turned the other way",
         {{0, 1, 2, 3}, {3, 2, 1, 0}},
         {{0, 1}, {0, 3}, {1, 2}, {2, 3}}},
        {"two corners make one side", {{4, 7}}, {{4, 7}}},
        {"a repeated corner is no side", {{5, 5, 6}}, {{5, 6}}},
        {"one corner, and no corner at all", {{3}, {}}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(uniqueEdges(c.polygons), c.expected) << c.name;
}

} // namespace
} // namespace skyvane
