// The main window's work-area rules: the drag clamp, the placement
// correction, the cursor position and the fade.
#include "app/window_rules.h"

#include <gtest/gtest.h>

static const WorkArea kArea = {0, 0, 1920, 1040};
static const WorkArea kShifted = {100, 40, 1380, 1024};  // taskbar on the left and top

TEST(WindowRules, DragRectangleStaysInsideTheWorkArea) {
    struct Case {
        WorkArea area;
        ScreenRect in, out;
    } cases[] = {
        {kArea, {10, 20, 874, 788}, {10, 20, 874, 788}},               // inside: unchanged
        {kArea, {-50, 20, 814, 788}, {0, 20, 864, 788}},                // off the left
        {kArea, {1500, 20, 2364, 788}, {1056, 20, 1920, 788}},          // off the right
        {kArea, {10, -5, 874, 763}, {10, 0, 874, 768}},                 // off the top
        {kArea, {10, 900, 874, 1668}, {10, 272, 874, 1040}},            // off the bottom
        {kArea, {-9, -9, 855, 759}, {0, 0, 864, 768}},                  // corner
        {kShifted, {0, 0, 864, 768}, {100, 40, 964, 808}},              // shifted area origin
        {kShifted, {1000, 500, 1864, 1268}, {516, 256, 1380, 1024}},
        // Wider than the area: the left fix comes first, the right one wins.
        {{0, 0, 800, 600}, {-100, -100, 764, 668}, {-64, -168, 800, 600}},
    };
    for (const Case& c : cases) {
        ScreenRect r = c.in;
        KeepInsideWorkArea(&r, c.area);
        EXPECT_EQ(r.left, c.out.left) << c.in.left << "," << c.in.top;
        EXPECT_EQ(r.top, c.out.top) << c.in.left << "," << c.in.top;
        EXPECT_EQ(r.right, c.out.right) << c.in.left << "," << c.in.top;
        EXPECT_EQ(r.bottom, c.out.bottom) << c.in.left << "," << c.in.top;
    }
}

TEST(WindowRules, PlacementCorrection) {
    struct Case {
        WorkArea area;
        int left, top, width, height;
        int x, y, moved;
    } cases[] = {
        {kArea, 0, 0, 864, 768, 0, 0, 0},
        {kArea, 300, 200, 864, 768, 300, 200, 0},
        {kArea, 1056, 272, 864, 768, 1056, 272, 0},       // exactly flush: no move
        {kArea, 1057, 272, 864, 768, 1056, 272, 1},
        {kArea, 1912, 1032, 864, 768, 1056, 272, 1},      // the settings clamp's far corner
        {kArea, -20, 10, 864, 768, 0, 10, 1},
        {kShifted, 0, 0, 864, 768, 100, 40, 0},           // workspace (0,0) is the area's corner
        {kShifted, 500, 300, 864, 768, 516, 256, 1},
        {kArea, 10, 10, 2000, 768, -80, 10, 1},           // wider than the area: flush right
    };
    for (const Case& c : cases) {
        int x = -1, y = -1;
        EXPECT_EQ(PlaceInWorkArea(c.left, c.top, c.width, c.height, c.area, &x, &y), c.moved)
            << c.left << "," << c.top;
        EXPECT_EQ(x, c.x) << c.left << "," << c.top;
        EXPECT_EQ(y, c.y) << c.left << "," << c.top;
    }
}
