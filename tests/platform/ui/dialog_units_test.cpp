#include "platform/ui/dialog_units.h"

#include <gtest/gtest.h>

namespace {

using namespace platform::ui;

struct mul_div_case {
    int a, b, c, expected;
};

TEST(DialogUnits, MulDivRoundsHalvesAwayFromZero) {
    const mul_div_case cases[] = {
        {3, 6, 4, 5},    // 4.5
        {1, 6, 4, 2},    // 1.5
        {-1, 6, 4, -2},  // -1.5
        {5, 13, 8, 8},   // 8.125
        {3, 13, 8, 5},   // 4.875
        {-3, 13, 8, -5}, // -4.875
        {4, 13, 8, 7},   // 6.5
        {10, 1, -4, -3}, // -2.5
        {0, 13, 8, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mul_div(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
}

struct unit_case {
    int units, horizontal, vertical;
};

TEST(DialogUnits, ConvertWithBaseUnitsSixByThirteen) {
    const unit_case cases[] = {
        {0, 0, 0},    {1, 2, 2},    {2, 3, 3},       {4, 6, 7},       {7, 11, 11},     {8, 12, 13},
        {14, 21, 23}, {54, 81, 88}, {118, 177, 192}, {205, 308, 333}, {273, 410, 444}, {-3, -5, -5},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(horizontal_dialog_units_to_pixels(c.units), c.horizontal) << c.units;
        EXPECT_EQ(vertical_dialog_units_to_pixels(c.units), c.vertical) << c.units;
    }
}

TEST(DialogUnits, RectangleConvertsPositionAndSizeEachOnItsOwn) {
    // Converted as edges, 1 + 1 units would end at 3 pixels; position and size give 2 + 2.
    EXPECT_EQ(dialog_units_to_pixels(1, 1, 1, 1), (rect{2, 2, 4, 4}));
    EXPECT_EQ(dialog_units_to_pixels(138, 118, 66, 14), (rect{207, 192, 306, 215}));
    EXPECT_EQ(dialog_units_to_pixels(1, 112, 272, 1), (rect{2, 182, 410, 184}));
    EXPECT_EQ(dialog_units_to_pixels(-3, 0, 67, 112), (rect{-5, 0, 96, 182}));
}

} // namespace
