// The bottom panel drawn off screen under Wine: the two pages with their tab
// states, the region graph and legend, the buttons in every state, the hover
// underline erased and redrawn over a page that otherwise persists, the row
// mark and the ranking's columns lined up for names of any width.
#include "mapview/bottom_panel.h"

#include "analysis/region_stats.h"
#include "overlay_fixture.h"

namespace {

const Rgb kBody = {32, 64, 96}, kInactiveTab = {16, 32, 48}, kUnderline = {255, 168, 128};
const Rgb kButtonFill = {64, 64, 64}, kButtonOutline = {160, 160, 160};

class BottomPanel : public OverlayTest {
protected:
    void SetUp() override {
        OverlayTest::SetUp();
        std::snprintf(RegionTable[5].name, kRegionNameBytes, "%s", SjisText("千葉県東方沖"));
        // Region 3: 20 records a day apart, M2.0 .. M5.9; regions 5 and 6
        // with two M6+ each, so that the ranking prints two rows.
        std::vector<QuakeRecord> r;
        for (int i = 0; i < 60; i++)
            r.push_back(OverlayRecord(2024, 6 - i / 28, 28 - i % 28, 12, 0, 300, 200, 30, 3 + i % 3, 20 + i % 40, 2));
        r[10].regionIndex = 5, r[10].magnitude10 = 64;
        r[40].regionIndex = 5, r[40].magnitude10 = 61;
        r[5].regionIndex = 6, r[5].magnitude10 = 66;
        r[31].regionIndex = 6, r[31].magnitude10 = 60;
        Load(r);
        gCurrentRecord = 0;   // region 3
    }

    // The ink of one text row (panel rows top+4 .. top+20) between two x.
    static std::vector<Rgb> RowInk(int top, int left, int right) {
        std::vector<Rgb> ink;
        for (int y = top + 4; y < top + 20; y++)
            for (int x = left; x < right; x++) ink.push_back(At(PANEL_BOTTOM, x, y));
        return ink;
    }
};

struct Probe {
    int x, y;
    Rgb color;
    const char* what;
};

void ExpectProbes(const std::vector<Probe>& probes, const char* page) {
    for (const Probe& p : probes)
        EXPECT_EQ(At(PANEL_BOTTOM, p.x, p.y), p.color) << page << ": " << p.what;
}

TEST_F(BottomPanel, RegionPageShapesGraphAndButtons) {
    DrawBottomPanel();
    const int newest = 235 - gpEQ[0].magnitude10;
    ExpectProbes({{3, 100, kBody, "body"},
                  {0, 100, kWhite, "body, left edge"},
                  {100, 0, kWhite, "active tab, top edge"},
                  {846, 100, kWhite, "body, right edge"},
                  {500, 23, kWhite, "body, top edge beside the tabs"},
                  {290, 20, kInactiveTab, "inactive tab"},
                  {600, 10, kBlack, "right of the tabs"},
                  {850, 100, kBlack, "right of the body"},
                  {740, 240, kBlack, "the corner cut at the bottom right"},
                  {760, 215, kBlack, "above the close button"},
                  {8, 200, {128, 128, 128}, "graph frame"},
                  {20, 230, {32, 32, 64}, "graph"},
                  {513, newest, {0, 255, 0}, "magnitude curve, newest point"},
                  {625, 230, kButtonFill, "save button"},
                  {621, 230, kButtonOutline, "save button, left edge"},
                  {711, 230, kButtonOutline, "save button, right edge"},
                  {760, 238, kButtonFill, "close button"},
                  {846, 230, kButtonOutline, "close button, right edge"}},
                 "page 0");
    EXPECT_GT(Count(PANEL_BOTTOM, 12, 143, 64, 161, Rgb{0, 255, 0}), 10) << "legend 規模";
    EXPECT_GT(Count(PANEL_BOTTOM, 12, 161, 64, 179, Rgb{0, 255, 255}), 10) << "legend 間隔";
    EXPECT_GT(Count(PANEL_BOTTOM, 400, 141, 514, 236, Rgb{0, 255, 255}), 20) << "interval curve";
    for (int line = 0; line < 6; line++)
        EXPECT_GT(Inked(PANEL_BOTTOM, 6, 30 + 18 * line, 326, 46 + 18 * line, kBody), 60) << "line " << line;
    // Classes M1 and M2 (both without records) differ in their digit: glyphs, not boxes.
    EXPECT_NE(RowInk(26 + 18, 530, 560), RowInk(26 + 36, 530, 560));
}

TEST_F(BottomPanel, ButtonStates) {
    struct Case {
        int hover, pressed;
        Rgb saveOutline, saveFill, closeOutline, closeFill;
    } cases[] = {
        {0, 0, kButtonOutline, kButtonFill, kButtonOutline, kButtonFill},
        {1, 0, kWhite, {160, 96, 64}, kButtonOutline, kButtonFill},
        {1, 1, {255, 192, 128}, {128, 64, 32}, kButtonOutline, kButtonFill},
        {2, 0, kButtonOutline, kButtonFill, kWhite, {160, 96, 64}},
        {2, 2, kButtonOutline, kButtonFill, {255, 192, 128}, {128, 64, 32}},
    };
    for (int page = 0; page < 2; page++) {
        gReportPage = page;
        for (const Case& c : cases) {
            gBottomButton = c.hover;
            gBottomPressed = c.pressed;
            DrawBottomPanel();
            SCOPED_TRACE(testing::Message() << "page " << page << ", hover " << c.hover << ", pressed " << c.pressed);
            EXPECT_EQ(At(PANEL_BOTTOM, 621, 225), c.saveOutline);
            EXPECT_EQ(At(PANEL_BOTTOM, 625, 225), c.saveFill);
            EXPECT_EQ(At(PANEL_BOTTOM, 846, 225), c.closeOutline);
            EXPECT_EQ(At(PANEL_BOTTOM, 760, 225), c.closeFill);
            EXPECT_GT(Inked(PANEL_BOTTOM, 640, 220, 690, 236, c.saveFill), 30) << "保存";
            EXPECT_GT(Inked(PANEL_BOTTOM, 775, 222, 826, 238, c.closeFill), 30) << "終了";
        }
    }
}

TEST_F(BottomPanel, RegionPagePersistsOnlyItsUnderlineIsRedrawn) {
    gMouseX = 700, gMouseY = 620;   // class row M4, underline at 116
    DrawBottomPanel();
    EXPECT_EQ(At(PANEL_BOTTOM, 535, 116), kUnderline);
    EXPECT_EQ(At(PANEL_BOTTOM, 843, 116), kUnderline);
    EXPECT_EQ(At(PANEL_BOTTOM, 844, 116), kBody);
    EXPECT_EQ(gClassPick, 1);
    int count, since, mean, latest;
    ClassStatsByMagnitude(gCurrentRecord, 4, &count, &since, &mean, &latest);
    EXPECT_EQ(gClassPickRecord, latest);

    // The page is not repainted for the same record: a mark on it stays,
    // while the underline moves to M5 and the old one is painted over.
    MarkBitmap(PANEL_BOTTOM, 3, 100, RGB(1, 2, 3));
    gMouseY = 640;
    DrawBottomPanel();
    EXPECT_EQ(At(PANEL_BOTTOM, 3, 100), (Rgb{1, 2, 3}));
    EXPECT_EQ(At(PANEL_BOTTOM, 535, 116), kBody);
    EXPECT_EQ(At(PANEL_BOTTOM, 535, 134), kUnderline);
    // Off the table: no underline, no pick.
    gMouseY = 500;
    DrawBottomPanel();
    EXPECT_EQ(At(PANEL_BOTTOM, 535, 134), kBody);
    EXPECT_EQ(gClassPick, 0);

    // A new current record repaints the page.
    gCurrentRecord = 1;
    DrawBottomPanel();
    EXPECT_EQ(At(PANEL_BOTTOM, 3, 100), kBody);

    // Page 1 and back repaints it too.
    MarkBitmap(PANEL_BOTTOM, 3, 100, RGB(1, 2, 3));
    gReportPage = 1;
    DrawBottomPanel();
    EXPECT_EQ(gRegionSummaryKey2, int(kSummaryKeyReset));
    gReportPage = 0;
    MarkBitmap(PANEL_BOTTOM, 3, 100, RGB(1, 2, 3));
    DrawBottomPanel();
    EXPECT_EQ(At(PANEL_BOTTOM, 3, 100), kBody);

    // Without a current record page 0 is neither drawn nor refreshed.
    MarkBitmap(PANEL_BOTTOM, 625, 225, RGB(1, 2, 3));
    gCurrentRecord = -1;
    gBottomButton = 1;
    DrawBottomPanel();
    EXPECT_EQ(At(PANEL_BOTTOM, 625, 225), (Rgb{1, 2, 3}));
}

TEST_F(BottomPanel, RankingPageTabsRowMarkAndHover) {
    gReportPage = 1;
    gAlertRow = 0;
    gMouseX = 400, gMouseY = 600;   // underline at 98 (under printed row 2, which is empty)
    gClassPick = 1;                 // a pick of the other page
    DrawBottomPanel();
    const Rgb markFill = {48, 80, 112}, markOutline = {64, 128, 255};
    ExpectProbes({{3, 15, kInactiveTab, "inactive left tab"},
                  {290, 20, kBody, "active right tab"},
                  {275, 5, kBlack, "between the tabs"},
                  {600, 10, kBlack, "right of the tabs"},
                  {3, 150, kBody, "body"},
                  {5, 50, markFill, "row mark"},
                  {4, 50, markOutline, "row mark, left edge"},
                  {5, 46, markOutline, "row mark, top edge"},
                  {842, 55, markOutline, "row mark, right edge"},
                  {5, 98, kUnderline, "hover underline"},
                  {841, 98, kUnderline, "hover underline, end"}},
                 "page 1");
    EXPECT_EQ(gAlertHover, 1);
    EXPECT_EQ(gClassPick, 0);
    EXPECT_GT(Inked(PANEL_BOTTOM, 6, 29, 842, 45, kBody), 200) << "header";
    EXPECT_GT(Inked(PANEL_BOTTOM, 6, 47, 842, 63, markFill), 400) << "row 0";
    EXPECT_GT(Inked(PANEL_BOTTOM, 6, 65, 842, 81, kBody), 400) << "row 1";
    EXPECT_EQ(Inked(PANEL_BOTTOM, 6, 83, 842, 97, kBody), 0) << "row 2: nothing printed";

    // Redrawn in full every tick: the hover follows, a mark is painted over.
    MarkBitmap(PANEL_BOTTOM, 3, 150, RGB(1, 2, 3));
    gMouseY = 540;
    DrawBottomPanel();
    EXPECT_EQ(At(PANEL_BOTTOM, 3, 150), kBody);
    EXPECT_EQ(At(PANEL_BOTTOM, 5, 98), kBody);
    EXPECT_EQ(gAlertHover, 0);

    // Page 0 clears the ranking hover.
    gAlertHover = 1;
    gReportPage = 0;
    DrawBottomPanel();
    EXPECT_EQ(gAlertHover, 0);
}

TEST_F(BottomPanel, RankingColumnsLineUpForNamesOfAnyWidth) {
    // The panel font: Latin glyphs half as wide as Japanese ones, both present.
    HFONT font = CreatePanelFont();
    ASSERT_NE(font, nullptr);
    HGDIOBJ old = SelectObject(gMemoryDC, font);
    const wchar_t* text = L"0129M:%/要警";
    WORD glyphs[10];
    ASSERT_EQ(GetGlyphIndicesW(gMemoryDC, text, 10, glyphs, GGI_MARK_NONEXISTING_GLYPHS), 10u);
    for (int i = 0; i < 10; i++) EXPECT_NE(glyphs[i], 0xFFFF) << "no glyph for character " << i;
    SIZE latin, japanese;
    GetTextExtentPoint32W(gMemoryDC, L"M0M0", 4, &latin);
    GetTextExtentPoint32W(gMemoryDC, L"要警", 2, &japanese);
    EXPECT_EQ(latin.cx, japanese.cx);
    SelectObject(gMemoryDC, old);
    DeleteObject(font);

    // Two rows with equal numbers, one named in kanji, one in Latin letters.
    AlertEntry e{};
    e.eventCount = e.m6Count = 2;
    e.latestIndex = 10;
    e.elapsed = 10, e.meanInterval = 30;
    e.dueRatio = 33.33f, e.shareRatio = 3.33f, e.alertLevel = 111.0f;
    std::memset(AlertTable, 0, sizeof AlertTable);
    AlertTable[0] = e, AlertTable[0].regionIndex = 5;   // 千葉県東方沖: 12 bytes, 12 columns
    AlertTable[1] = e, AlertTable[1].regionIndex = 6;   // Region 6: 8 columns
    gReportPage = 1;
    gAlertRow = -1;
    gMouseY = 0;
    DrawBottomPanel();
    // Everything right of the name column is the same picture in both rows,
    // and both names end at the same column.
    const int numbers = 842 - 8 * 76;   // the 76 columns after "%20s"
    EXPECT_EQ(RowInk(43, numbers, 842), RowInk(61, numbers, 842));
    auto rightmostInk = [](int top) {
        for (int x = numbers - 1; x > 6; x--)
            for (int y = top + 4; y < top + 20; y++)
                if (At(PANEL_BOTTOM, x, y) != kBody) return x;
        return -1;
    };
    EXPECT_GE(rightmostInk(43), numbers - 8);
    EXPECT_GE(rightmostInk(61), numbers - 8);
}

}  // namespace
