#include "core/view/PageGeometry.h"

#include <gtest/gtest.h>

namespace varnolt {
namespace {

struct GeometryCase {
    const char* name;
    GeometryInputs inputs;
    DrawingSize size;
    PageGeometry expected;
};

// Field order: ySign, glyphHeight, ruleWidth, pageHeight, leftMargin, topMargin, linePitch,
// cellWidth, rowPitch, labelX, dataX, timeX, idleX, columns, linesPerPage, firstPageCells,
// laterPageCells, controlRowPitch, cellsPerPage.
const GeometryCase kCases[] = {
    {"ScreenContinuous",
     {Surface::Screen, {DisplayMode::Continuous, 1, 1}, false, 1},
     {1000, 600},
     {1, 20, 1000, 600, 88, 0, 43, 23, 20, 48, 88, 88, 88, 39, 13, 0, 0, 12, 507}},
    {"ScreenContinuousControlLines",
     {Surface::Screen, {DisplayMode::Continuous, 0, 0}, true, 1},
     {1000, 600},
     {1, 20, 1000, 600, 88, 0, 116, 23, 20, 48, 88, 88, 88, 39, 5, 0, 0, 12, 195}},
    {"ScreenFrameIdleAndFullStamp",
     {Surface::Screen, {DisplayMode::Frame, 2, 1}, false, 1},
     {1000, 600},
     {1, 20, 1000, 600, 88, 0, 22, 23, 20, 48, 364, 157, 88, 27, 27, 0, 0, 12, 729}},
    {"ScreenFrameShortStampControlLines",
     {Surface::Screen, {DisplayMode::Frame, 0, 4}, true, 1},
     {1000, 600},
     {1, 20, 1000, 600, 88, 0, 96, 23, 20, 48, 180, 88, 88, 35, 6, 0, 0, 12, 210}},
    {"PaperContinuousFirstPage",
     {Surface::Paper, {DisplayMode::Continuous, 1, 1}, false, 1},
     {1900, 2770},
     {-1, 38, 1540, 2270, 290, 300, 100, 44, 44, 210, 291, 291, 291, 33, 22, 726, 759, 20, 726}},
    {"PaperFrameLaterPage",
     {Surface::Paper, {DisplayMode::Frame, 3, 5}, true, 2},
     {1900, 2770},
     {-1, 38, 1460, 2370, 290, 200, 186, 44, 44, 210, 687, 423, 291, 24, 12, 288, 288, 20, 288}},
    {"NarrowerThanOneCell",
     {Surface::Screen, {DisplayMode::Frame, 1, 1}, false, 1},
     {100, 10},
     {1, 20, 100, 10, 88, 0, 22, 23, 20, 48, 364, 157, 88, 0, 0, 0, 0, 12, 0}},
};

class PageGeometryTest : public testing::TestWithParam<GeometryCase> {};

TEST_P(PageGeometryTest, MatchesTheTable) {
    const GeometryCase& c = GetParam();
    EXPECT_EQ(ComputePageGeometry(c.inputs, c.size), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PageGeometryTest, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace varnolt
