// The panels' pictures: what is painted on which tick, and that every picture
// fits its arrays.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "engine/picture/bottom_picture.h"
#include "engine/picture/control_picture.h"
#include "engine/picture/hover_picture.h"
#include "engine/picture/panel_picture.h"
#include "engine/picture/recent_picture.h"
#include "engine/picture/region_picture.h"
#include "engine/rules/hit_test.h"
#include "engine/selection/conditions.h"
#include "engine/selection/lists.h"
#include "engine/selection/selection.h"
#include "test_util.h"

static PanelPicture sPicture;

class Pictures : public testing::Test {
protected:
    void SetUp() override {
        std::vector<QuakeRecord> records;
        for (int i = 0; i < 400; i++) records.push_back(DayRec(i, i % 7, 20 + i % 50, 10 + i % 90, 1 + i % 5));
        LoadCatalogue(records);
        OpenConditions();
        ASSERT_EQ(AllocateList(&gConditionList) + AllocateList(&gRegionList), 0);
        ApplyConditions();
        SelectRecord(AppSettings.selFirstIndex, SELECT_AFTER_FILTER);
        gReportPage = 0;
    }
    void TearDown() override { FreeList(&gConditionList), FreeList(&gRegionList); }
    // The lines of the picture drawn in `color` at panel y `y`.
    static int LinesAt(PanelColor color, int y) {
        int n = 0;
        for (int i = 0; i < sPicture.itemCount; i++) {
            const PictureItem& item = sPicture.items[i];
            const OverlayPoint& p = sPicture.points[item.firstPoint];
            n += item.shape == SHAPE_POLYLINE && item.pointCount == 2 && p.y == y &&
                 std::tie(item.pen.r, item.pen.g, item.pen.b) == std::tie(color.r, color.g, color.b);
        }
        return n;
    }
};

// Window y of class row 3 of the bottom panel's region page, and its panel y.
enum { kClassRowX = 600, kClassRowY = 600, kClassRowLine = 98 };

TEST_F(Pictures, RegionPageRepaintsInFullOnlyForANewRecordAndErasesTheOldUnderline) {
    const PanelColor underline = {255, 168, 128}, body = {32, 64, 96};
    BuildBottomPicture(kClassRowX, kClassRowY, &sPicture);
    ASSERT_TRUE(sPicture.paint);
    const int fullItems = sPicture.itemCount;
    EXPECT_EQ(LinesAt(underline, kClassRowLine), 1);
    EXPECT_EQ(gClassPick, 1);

    // The same record, the cursor gone: only the erased underline and the buttons.
    BuildBottomPicture(10, 10, &sPicture);
    EXPECT_LT(sPicture.itemCount, fullItems / 4);
    EXPECT_EQ(LinesAt(body, kClassRowLine), 1);
    EXPECT_EQ(LinesAt(underline, kClassRowLine), 0);
    EXPECT_EQ(gClassPick, 0);

    // A new current record repaints the page.
    SelectRecord(AppSettings.selFirstIndex + 1, SELECT_PICK);
    BuildBottomPicture(10, 10, &sPicture);
    EXPECT_GE(sPicture.itemCount, fullItems - 1);

    // Showing the ranking page forces a full region page on the way back.
    gReportPage = 1;
    BuildBottomPicture(10, 10, &sPicture);
    gReportPage = 0;
    BuildBottomPicture(10, 10, &sPicture);
    EXPECT_GE(sPicture.itemCount, fullItems - 1);
}

TEST_F(Pictures, RegionPanelPaintsOncePerCurrentRecord) {
    const int paints[] = {
        (BuildRegionPicture("wolt", &sPicture), sPicture.paint),
        (BuildRegionPicture("wolt", &sPicture), sPicture.paint),
        (SelectRecord(AppSettings.selFirstIndex + 2, SELECT_PICK), BuildRegionPicture("wolt", &sPicture),
         sPicture.paint),
    };
    EXPECT_EQ(std::vector<int>(paints, paints + 3), std::vector<int>({1, 0, 1}));
}

TEST_F(Pictures, EveryPictureFitsItsArrays) {
    auto fits = [] {
        return sPicture.itemCount < kPictureItems && sPicture.pointCount < kPicturePoints &&
               sPicture.textCount < kPictureTexts;
    };
    gHoverControl = CONTROL_MAG_MIN;
    BuildControlPicture(600, 300, 9, &sPicture);
    EXPECT_TRUE(fits()) << "control";
    BuildRecentPicture(192, 268, &sPicture);
    EXPECT_TRUE(fits()) << "recent";
    BuildHoverPicture(300, 300, &sPicture);
    EXPECT_TRUE(fits()) << "hover";
    BuildRegionPicture("wolt", &sPicture);
    EXPECT_TRUE(fits()) << "region";
    BuildBottomPicture(kClassRowX, kClassRowY, &sPicture);
    EXPECT_TRUE(fits()) << "bottom, region page";
    gReportPage = 1;
    BuildBottomPicture(400, 600, &sPicture);
    EXPECT_TRUE(fits()) << "bottom, ranking page";
}
