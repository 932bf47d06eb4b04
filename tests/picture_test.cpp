// The panels' pictures: what is painted on which tick; every one fits.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "engine/pipeline/pipeline.h"
#include "engine/picture/bottom_picture.h"
#include "engine/picture/control_picture.h"
#include "engine/picture/hover_picture.h"
#include "engine/picture/panel_picture.h"
#include "engine/picture/recent_picture.h"
#include "engine/picture/region_picture.h"
#include "engine/controls/bottom_panel.h"
#include "engine/controls/control_panel.h"
#include "engine/controls/panels.h"
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
        RunConditionChange();
        SelectRecord(AppSettings.selFirstIndex, SELECT_AFTER_FILTER);
        ResetBottomPanel();
    }
    void TearDown() override { FreeList(&gConditionList), FreeList(&gRegionList); }
    // The bottom panel with the cursor at window (x, y).
    static void BottomAt(int x, int y) {
        PanelsPick(x, y);
        BuildBottomPicture(&sPicture);
    }
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
    BottomAt(kClassRowX, kClassRowY);
    ASSERT_TRUE(sPicture.paint);
    const int fullItems = sPicture.itemCount;
    EXPECT_EQ(LinesAt(underline, kClassRowLine), 1);
    EXPECT_EQ(gBottomPanel.classPick, 1);

    // The same record, the cursor gone: only the erased underline and the buttons.
    BottomAt(10, 10);
    EXPECT_LT(sPicture.itemCount, fullItems / 4);
    EXPECT_EQ(LinesAt(body, kClassRowLine), 1);
    EXPECT_EQ(LinesAt(underline, kClassRowLine), 0);
    EXPECT_EQ(gBottomPanel.classPick, 0);

    // A new current record repaints the page.
    SelectRecord(AppSettings.selFirstIndex + 1, SELECT_PICK);
    BottomAt(10, 10);
    EXPECT_GE(sPicture.itemCount, fullItems - 1);

    // Showing the ranking page forces a full region page on the way back.
    SetReportPage(1);
    BottomAt(10, 10);
    SetReportPage(0);
    BottomAt(10, 10);
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
    PanelsHoverTick(600, 90, 0);
    ASSERT_EQ(gControlPanel.hoverControl, CONTROL_MAG_MIN);
    const struct {
        const char* what;
        void (*build)();
    } pictures[] = {
        {"control", [] { PanelsPick(600, 300), BuildControlPicture(9, &sPicture); }},
        {"recent", [] { BuildRecentPicture(192, 268, &sPicture); }},
        {"hover", [] { PanelsPick(300, 300), BuildHoverPicture(&sPicture); }},
        {"region", [] { BuildRegionPicture("wolt", &sPicture); }},
        {"bottom, region page", [] { BottomAt(kClassRowX, kClassRowY); }},
        {"bottom, ranking page", [] { SetReportPage(1), BottomAt(400, 600); }},
    };
    for (const auto& p : pictures) {
        p.build();
        EXPECT_TRUE(sPicture.itemCount < kPictureItems && sPicture.pointCount < kPicturePoints &&
                    sPicture.textCount < kPictureTexts) << p.what;
    }
}
