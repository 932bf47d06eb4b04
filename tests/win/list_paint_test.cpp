// The list and graph windows under Wine: their pictures drawn off screen and
// read back pixel by pixel (header cell states, row tint, highlight band,
// thumb, hover line, save button, the end of a short list, the graph's
// frame, series and mean line), and the real windows driven by messages
// (a row click retitles the second list, header clicks sort, Esc and close
// requests go to the main window).
#include "windows/graph_window.h"
#include "windows/list_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/month_series.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "catalogue/model.h"
#include "mapview/memory_hdc.h"
#include "platform/platform.h"
#include "windows/graph_data.h"
#include "windows/list_data.h"
#include "windows/list_scroll.h"

// The main window module (which the list windows use for the owner, the
// title and the error box) refers to the program's shutdown, which lives
// beside WinMain in startup.cpp and is not part of this executable. These
// tests never send CMD_EXIT to a main window, so it is never called.
int ShutdownApp() { return 0; }

namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

const Rgb kBlack = {0, 0, 0};

Rgb Grey(int v) { return Rgb{v, v, v}; }

// A 32-bit top-down bitmap selected into a memory DC.
class Canvas {
public:
    Canvas(int width, int height) : width_(width) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        // What the window's memory DC is set up with.
        SetBkMode(dc_, TRANSPARENT);
        SetTextColor(dc_, RGB(255, 255, 255));
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    Rgb At(int x, int y) const {
        GdiFlush();
        uint32_t p = pixels_[size_t(y) * width_ + x];
        return Rgb{int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF)};
    }
    // Pixels of the rectangle [left, right) x [top, bottom) that are not `background`.
    int CountOther(int left, int top, int right, int bottom, Rgb background) const {
        int n = 0;
        for (int y = top; y < bottom; y++)
            for (int x = left; x < right; x++) n += !(At(x, y) == background);
        return n;
    }

private:
    int width_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    uint32_t* pixels_ = nullptr;
};

QuakeRecord Quake(int day, int hour, int depthKm, int region, int magnitude10, int intensity) {
    QuakeRecord r{};
    r.year = 2024, r.month = 6, r.day = uint16_t(day), r.hour = uint16_t(hour), r.minute = 30;
    r.mapX = 300, r.mapY = 100;
    r.depthKm = uint16_t(depthKm);
    r.regionIndex = uint16_t(region);
    r.magnitude10 = uint8_t(magnitude10);
    r.intensity = uint8_t(intensity);
    return r;
}

void SetRegionName(int region, const char* utf8) {
    std::string sjis;
    ASSERT_EQ(Utf8ToSjis(utf8, &sjis), 0);
    RegionTable[region].code = 100 + region;
    std::memset(RegionTable[region].name, 0, sizeof RegionTable[region].name);
    std::memcpy(RegionTable[region].name, sjis.data(), sjis.size());
}

// `count` records newest first, every one matching; magnitudes from
// `magnitude10`, regions alternating 1, 2 unless `oneRegion`.
void LoadQuakes(int count, int magnitude10 = 60, bool oneRegion = false) {
    ASSERT_EQ(AllocateCatalogue(), 0);
    std::memset(gpEQ, 0, sizeof(QuakeRecord) * kMaxRecords);
    for (int i = 0; i < count; i++)
        gpEQ[i] = Quake(28 - i / 24 % 28, 23 - i % 24, 10 + i % 9 * 10, oneRegion ? 1 : 1 + i % 2, magnitude10, 1 + i % 9);
    SetDefaultSettings();
    AppSettings.recordCount = count;
    AppSettings.startYear = 1970;
    AppSettings.endYear = 2100;
    AppSettings.magMin = 0;
    AppSettings.magMax = 25;
    AppSettings.intMin = 0;
    AppSettings.depthMax = 999;
    SetRegionName(1, "能登半島沖");
    SetRegionName(2, "十勝地方南部");
    const char* labels[10] = {"0", "1", "2", "3", "4", "5弱", "5強", "6弱", "6強", "7"};   // as the loader sets them
    for (int i = 0; i < 10; i++) snprintf(IntensityLabels[i], sizeof IntensityLabels[i], "%s", SjisText(labels[i]));
    ASSERT_EQ(AllocateList(&gConditionList), 0);
    ASSERT_EQ(AllocateList(&gRegionList), 0);
    gCurrentRecord = 0;
    ApplyConditions();
    gCurrentRecord = AppSettings.selFirstIndex;
    LocateCurrent(&gConditionList);
    RefreshRegionList();
}

Rgb Paint(Canvas* canvas, const ListLayout& layout, const ListControls& controls, int x, int y) {
    PaintList(canvas->dc(), layout, LayoutList(layout), controls);
    return canvas->At(x, y);
}

// The columns line up only with a fixed-pitch font whose Latin glyphs are
// half as wide as its Japanese ones, and a font without Latin glyphs draws
// every digit as a box.
TEST(ListPaint, FontHasHalfWidthDigitsAndFullWidthKanji) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreatePanelFont();
    ASSERT_NE(font, nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    const wchar_t text[] = L"09A/能震";
    WORD glyphs[6];
    ASSERT_EQ(GetGlyphIndicesW(dc, text, 6, glyphs, GGI_MARK_NONEXISTING_GLYPHS), 6u);
    for (int i = 0; i < 6; i++) EXPECT_NE(glyphs[i], 0xFFFF) << "no glyph for character " << i;
    SIZE digit, kanji, line;
    GetTextExtentPoint32W(dc, L"0", 1, &digit);
    GetTextExtentPoint32W(dc, L"能", 1, &kanji);
    GetTextExtentPoint32W(dc, L"2024/06/28 23:30", 16, &line);
    EXPECT_EQ(kanji.cx, 2 * digit.cx);
    EXPECT_EQ(line.cx, 16 * digit.cx);
    EXPECT_EQ(digit.cy, 16);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
}

TEST(ListPaint, HeaderCellStates) {
    LoadQuakes(30);
    Canvas canvas(508, 520);
    struct Case {
        const char* what;
        int hover, pressed;
        Rgb fill3, pen3, fill4;
    } cases[] = {
        {"normal", 0, 0, Grey(32), Grey(96), Grey(32)},
        {"mouse on the depth cell", 3, 0, Grey(64), Grey(128), Grey(32)},
        {"pressed on the depth cell", 3, 3, {128, 96, 80}, {192, 160, 144}, Grey(32)},
        {"pressed on depth, mouse on magnitude", 4, 3, Grey(32), Grey(96), {128, 96, 80}},
    };
    for (const Case& c : cases) {
        ListControls controls{};
        controls.hoverColumn = c.hover;
        controls.pressedColumn = c.pressed;
        PaintList(canvas.dc(), kConditionListLayout, &gConditionList, controls);
        EXPECT_EQ(canvas.At(304, 2), c.fill3) << c.what;
        EXPECT_EQ(canvas.At(301, 10), c.pen3) << c.what << ": left edge";
        EXPECT_EQ(canvas.At(320, 0), c.pen3) << c.what << ": top edge";
        EXPECT_EQ(canvas.At(351, 2), c.fill4) << c.what;
        EXPECT_EQ(canvas.At(10, 2), Grey(32)) << c.what << ": date cell";
        EXPECT_GT(canvas.CountOther(302, 4, 348, 20, c.fill3), 20) << c.what << ": 深さ drawn";
    }
}

TEST(ListPaint, RowTintHighlightAndHoverLine) {
    LoadQuakes(30, 60);
    Canvas canvas(508, 520);
    ListControls controls{};
    gConditionList.highlight = gConditionList.entries[3].displayIndex;   // the fourth row
    PaintList(canvas.dc(), kConditionListLayout, &gConditionList, controls);
    const Rgb tint = {120, 30, 20};
    // Row 0: the band from x 2 to 462, y 22 to 38; text from x 4, y 22 to 37.
    EXPECT_EQ(canvas.At(2, 22), tint);
    EXPECT_EQ(canvas.At(3, 30), tint);
    EXPECT_EQ(canvas.At(462, 38), tint);
    EXPECT_EQ(canvas.At(463, 30), kBlack);
    EXPECT_EQ(canvas.At(464, 30), Grey(128)) << "the frame's right edge under the track's left edge";
    EXPECT_EQ(canvas.At(200, 454), Rgb({64, 164, 64})) << "the row frame's bottom edge";
    EXPECT_EQ(canvas.At(200, 39), kBlack) << "the gap between bands";
    EXPECT_GT(canvas.CountOther(4, 22, 395, 38, tint), 100) << "row text";
    EXPECT_GT(canvas.CountOther(430, 22, 462, 38, tint), 10) << "intensity label, right-aligned";
    EXPECT_EQ(canvas.CountOther(396, 22, 430, 38, tint), 0) << "nothing left of the short label";
    // Row 3 (top 76): the highlight band from (2, 75) to (463, 92).
    const Rgb pen = {64, 128, 255}, fill = {32, 64, 96};
    EXPECT_EQ(canvas.At(3, 80), fill);
    EXPECT_EQ(canvas.At(2, 80), pen);
    EXPECT_EQ(canvas.At(463, 80), pen);
    EXPECT_EQ(canvas.At(200, 75), pen);
    EXPECT_EQ(canvas.At(200, 92), pen);
    EXPECT_EQ(canvas.At(200, 93), kBlack);
    EXPECT_EQ(canvas.At(3, 100), tint) << "the next row is tinted again";

    // The hover line lies on the last pixel line of the row under the mouse.
    MoveMouse(&controls, kConditionListLayout, 100, 100);
    ASSERT_EQ(controls.mouseInRows, 1);
    PaintList(canvas.dc(), kConditionListLayout, &gConditionList, controls);
    EXPECT_EQ(canvas.At(2, 110), Rgb({255, 160, 96}));
    EXPECT_EQ(canvas.At(462, 110), Rgb({255, 160, 96}));
    EXPECT_EQ(canvas.At(463, 110), kBlack);
    EXPECT_EQ(canvas.At(3, 109), tint);
}

TEST(ListPaint, TintsFollowTheMagnitude) {
    struct Case {
        int magnitude10;
        Rgb tint;
    } cases[] = {{60, {120, 30, 20}}, {35, {70, 17, 11}}, {128, {0, 64, 42}}, {73, {146, 36, 24}}};
    Canvas canvas(320, 772);
    for (const Case& c : cases) {
        LoadQuakes(3, c.magnitude10);
        EXPECT_EQ(Paint(&canvas, kRegionListLayout, ListControls{}, 3, 40), c.tint) << c.magnitude10;
        EXPECT_EQ(canvas.At(274, 40), c.tint) << c.magnitude10;
        EXPECT_EQ(canvas.At(275, 40), kBlack) << c.magnitude10;
        EXPECT_EQ(canvas.At(0, 40), Rgb({64, 164, 64})) << c.magnitude10;
    }
}

TEST(ListPaint, ThumbPositionForCounts) {
    struct Case {
        const char* what;
        const ListLayout* layout;
        int count, topRow;
        int top, bottom;   // thumb rows, bottom exclusive
        int x;
    } cases[] = {
        {"empty list: pinned over the whole track", &kConditionListLayout, 0, 0, 22, 432, 470},
        {"30 entries at the top", &kConditionListLayout, 30, 0, 21, 431, 470},
        {"72 entries, row 24", &kConditionListLayout, 72, 24, 157, 362, 470},
        {"1000 entries, row 500", &kConditionListLayout, 1000, 500, 226, 236, 470},
        {"1000 entries at the end", &kConditionListLayout, 1000, 976, 422, 432, 470},
        {"second list, 500 entries, row 123", &kRegionListLayout, 500, 123, 184, 239, 280},
    };
    for (const Case& c : cases) {
        LoadQuakes(c.count, 50, true);
        RecordList* list = LayoutList(*c.layout);
        ASSERT_EQ(list->count, c.count) << c.what;
        list->topRow = c.topRow;
        Canvas canvas(c.layout->width, c.layout->height);
        PaintList(canvas.dc(), *c.layout, list, ListControls{});
        EXPECT_EQ(canvas.At(c.x, c.top), Grey(64)) << c.what;
        EXPECT_EQ(canvas.At(c.x, c.bottom - 1), Grey(64)) << c.what;
        EXPECT_NE(canvas.At(c.x, c.top - 1), Grey(64)) << c.what;
        EXPECT_NE(canvas.At(c.x, c.bottom), Grey(64)) << c.what;
        EXPECT_EQ(canvas.At(c.x, 21), c.top == 21 ? Grey(64) : Grey(128)) << c.what << ": track outline";
    }
    // While the thumb is dragged: a lighter track and thumb.
    LoadQuakes(1000, 50);
    gConditionList.topRow = 500;
    ListControls controls{};
    controls.scrollHover = SCROLL_TRACK;
    Canvas canvas(508, 520);
    EXPECT_EQ(Paint(&canvas, kConditionListLayout, controls, 470, 230), Grey(96));
    EXPECT_EQ(canvas.At(470, 100), Grey(48));
    EXPECT_EQ(canvas.At(464, 100), Grey(144));
}

TEST(ListPaint, ScrollButtonsAndSaveButton) {
    LoadQuakes(100);
    Canvas canvas(508, 520);
    struct Case {
        const char* what;
        int scrollHover, scrollRepeat, saveHover, savePressed;
        Rgb up, down, saveFill, savePen;
    } cases[] = {
        {"normal", 0, 0, 0, 0, Grey(32), Grey(32), Grey(64), Grey(160)},
        {"on the up arrow", 1, 0, 0, 0, Grey(96), Grey(32), Grey(64), Grey(160)},
        {"holding the down arrow", 2, 2, 0, 0, Grey(32), {128, 64, 64}, Grey(64), Grey(160)},
        {"on the save button", 0, 0, 1, 0, Grey(32), Grey(32), {160, 96, 64}, {255, 255, 255}},
        {"pressing the save button", 0, 0, 1, 1, Grey(32), Grey(32), {128, 64, 32}, {255, 192, 128}},
    };
    for (const Case& c : cases) {
        ListControls controls{};
        controls.scrollHover = c.scrollHover;
        controls.scrollRepeat = c.scrollRepeat;
        controls.saveHover = c.saveHover;
        controls.savePressed = c.savePressed;
        PaintList(canvas.dc(), kConditionListLayout, &gConditionList, controls);
        EXPECT_EQ(canvas.At(466, 2), c.up) << c.what;
        EXPECT_EQ(canvas.At(466, 452), c.down) << c.what;
        EXPECT_EQ(canvas.At(396, 461), c.saveFill) << c.what;
        EXPECT_EQ(canvas.At(394, 470), c.savePen) << c.what;
        EXPECT_GT(canvas.CountOther(420, 461, 460, 480, c.saveFill), 20) << c.what << ": 保存 drawn";
    }
}

TEST(ListPaint, AShortListEndsAtItsLastRow) {
    LoadQuakes(30);
    // A narrower filter refills the first five entries; the entries behind
    // the end marker still hold older records.
    AppSettings.depthMin = AppSettings.depthMax = 20;
    ApplyConditions();
    ASSERT_EQ(gConditionList.count, 4);
    gConditionList.highlight = -1;
    Canvas canvas(508, 520);
    PaintList(canvas.dc(), kConditionListLayout, &gConditionList, ListControls{});
    for (int row = 0; row < 6; row++) {
        int y = 22 + 18 * row + 16;
        EXPECT_EQ(canvas.At(3, y), row < 4 ? Rgb({120, 30, 20}) : kBlack) << "row " << row;
    }
    EXPECT_EQ(canvas.CountOther(2, 22 + 18 * 4, 463, 453, kBlack), 0);
    EXPECT_GT(canvas.CountOther(4, 458, 386, 476, kBlack), 50) << "counter";
}

TEST(GraphPaint, FrameSeriesAndMeanLine) {
    ASSERT_EQ(AllocateCatalogue(), 0);
    std::memset(gpEQ, 0, sizeof(QuakeRecord) * kMaxRecords);
    gpEQ[0] = Quake(5, 12, 10, 1, 40, 1);
    gGraphMonthRecord = 0;
    std::memset(MonthDayTable, 0, sizeof MonthDayTable);
    MonthDayTable[0] = DayTotals{300, 0, 0.0f};   // clamped to y 29
    MonthDayTable[1] = DayTotals{0, 0, 50.0f};
    MonthDayTable[2] = DayTotals{0, 1, 0.0f};
    gM6DaysBeforeMonth = 100;
    gM6MeanDayGap = 150;
    gM6DuePercent = 70.0f;
    Canvas canvas(508, 256);
    PaintGraph(canvas.dc());
    EXPECT_EQ(canvas.At(0, 100), Grey(128));
    EXPECT_EQ(canvas.At(497, 100), Grey(128));
    EXPECT_EQ(canvas.At(250, 222), Grey(128));
    EXPECT_EQ(canvas.At(250, 223), kBlack);
    EXPECT_EQ(canvas.At(498, 100), kBlack);
    // Counts: from (1, 29) down to (17, 221), then along the base line
    // (where the magnitude sums, 0 50 0 0 0, leave it visible from 17 to 32).
    EXPECT_EQ(canvas.At(1, 29), Rgb({255, 255, 255}));
    EXPECT_EQ(canvas.At(20, 221), Rgb({255, 255, 255}));
    EXPECT_EQ(canvas.At(17, 171), Rgb({255, 255, 128}));
    EXPECT_EQ(canvas.At(40, 221), Rgb({255, 255, 128}));
    // Interval: 100, 100, 101, then 0 after the M6+ day 3, then 1.
    const Rgb cyan = {128, 255, 255};
    EXPECT_EQ(canvas.At(17, 121), cyan);
    EXPECT_EQ(canvas.At(49, 221), cyan);
    // Mean line at 221 - 150 from x 1 to 480, drawn over nothing else there.
    EXPECT_EQ(canvas.At(1, 71), Rgb({128, 255, 128}));
    EXPECT_EQ(canvas.At(480, 71), Rgb({128, 255, 128}));
    EXPECT_EQ(canvas.At(481, 71), kBlack);
    EXPECT_EQ(canvas.CountOther(66, 100, 480, 221, kBlack), 0) << "no series after the newest day";
    EXPECT_GT(canvas.CountOther(1, 4, 468, 100, kBlack), 500) << "the text lines";
}

// ---- the real windows, driven by messages ----

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

std::wstring Title(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

void Click(HWND window, int x, int y) {
    SendMessageW(window, WM_MOUSEMOVE, 0, At(x, y));
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    SendMessageW(window, WM_LBUTTONUP, 0, At(x, y));
}

bool TakeThreadExit() {
    MSG message;
    bool found = false;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!message.hwnd && message.message == WM_COMMAND && LOWORD(message.wParam) == CMD_EXIT)
            found = true;
        else
            DispatchMessageW(&message);   // paints validate their windows
    }
    return found;
}

// The windows' owner and title as the program sets them; the main window's
// commands become thread messages without a main window.
class ListWindows : public ::testing::Test {
protected:
    void SetUp() override {
        savedMain_ = gMainWindow;
        gMainWindow = nullptr;
        gInstance = GetModuleHandleW(nullptr);
        wcscpy(gAppTitle, L"wolt 1.45");
    }
    void TearDown() override {
        gMainWindow = savedMain_;
        gRegionListTitleHook = nullptr;
    }
    HWND savedMain_;
};

TEST_F(ListWindows, RowClickRetitlesTheSecondListAndHeadersSort) {
    LoadQuakes(40);
    AppSettings.winX[1] = 10, AppSettings.winY[1] = 20;
    AppSettings.winX[3] = 600, AppSettings.winY[3] = 20;
    HWND list = List_CreateWindow();
    HWND list2 = List2_CreateWindow();
    ASSERT_NE(list, nullptr);
    ASSERT_NE(list2, nullptr);
    EXPECT_EQ(Title(list), L"wolt 1.45 設定条件地震一覧");
    EXPECT_EQ(Title(list2), L"能登半島沖 設定条件地震一覧");
    RECT r;
    GetWindowRect(list, &r);
    EXPECT_EQ(r.right - r.left, 508);
    EXPECT_EQ(r.bottom - r.top, 520);
    GetWindowRect(list2, &r);
    EXPECT_EQ(r.right - r.left, 320);
    EXPECT_EQ(r.bottom - r.top, 772);

    // The second row holds record 1, of region 2.
    Click(list, 100, 20 + 18 + 5);
    EXPECT_EQ(gCurrentRecord, 1);
    EXPECT_EQ(AppSettings.selFirst, 1);
    EXPECT_EQ(Title(list2), L"十勝地方南部 設定条件地震一覧");
    EXPECT_EQ(gRegionList.count, 20);
    EXPECT_EQ(gRegionList.highlight, 1);

    // A row click in the second list finds the record in the first.
    Click(list2, 100, 20 + 3 * 18 + 5);   // the fourth of region 2: record 7
    EXPECT_EQ(gCurrentRecord, 7);
    EXPECT_EQ(gConditionList.highlight, 7);
    EXPECT_EQ(gConditionList.topRow, 7);

    // Depth header: deepest first; then the magnitude header pressed and
    // released on the depth header sorts nothing.
    Click(list, 320, 10);
    EXPECT_EQ(gConditionList.depthOrder, 1);
    EXPECT_EQ(gpEQ[gConditionList.entries[0].displayIndex].depthKm, 90);
    SendMessageW(list, WM_MOUSEMOVE, 0, At(370, 10));
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, At(370, 10));
    SendMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, At(320, 10));
    SendMessageW(list, WM_LBUTTONUP, 0, At(320, 10));
    EXPECT_EQ(gConditionList.depthOrder, 1);
    EXPECT_EQ(gConditionList.magOrder, 0);

    // Keys scroll; Esc (as the accelerator's command) and a close request
    // ask the main window to end the program and leave the window alone.
    gConditionList.topRow = 0;
    SendMessageW(list, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(gConditionList.topRow, 16);
    TakeThreadExit();
    SendMessageW(list, WM_COMMAND, CMD_EXIT, 0);
    EXPECT_TRUE(TakeThreadExit());
    SendMessageW(list2, WM_CLOSE, 0, 0);
    EXPECT_TRUE(TakeThreadExit());
    EXPECT_TRUE(IsWindow(list));
    EXPECT_TRUE(IsWindow(list2));

    // The refresh tick stores the position.
    SetWindowPos(list2, nullptr, 650, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(list2, WM_COMMAND, CMD_LIST2_REFRESH, 0);
    EXPECT_EQ(AppSettings.winX[3], 650);
    EXPECT_EQ(AppSettings.winY[3], 40);

    DestroyWindow(list2);
    DestroyWindow(list);
    EXPECT_EQ(gRegionList.entries, nullptr);
    EXPECT_EQ(spSD, nullptr);
}

TEST_F(ListWindows, GraphWindowStoresItsPosition) {
    LoadQuakes(10);
    BuildMonthSeries();
    AppSettings.winX[2] = 30, AppSettings.winY[2] = 500;
    HWND graph = CreateMGVWindow();
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(Title(graph), L"wolt 1.45 地震回数・合計規模グラフ");
    SetWindowPos(graph, nullptr, 70, 450, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(graph, WM_COMMAND, CMD_GRAPH_REFRESH, 0);
    EXPECT_EQ(AppSettings.winX[2], 70);
    EXPECT_EQ(AppSettings.winY[2], 450);
    TakeThreadExit();
    SendMessageW(graph, WM_COMMAND, CMD_EXIT, 0);
    EXPECT_TRUE(TakeThreadExit());
    EXPECT_TRUE(IsWindow(graph));
    DestroyWindow(graph);
}

}  // namespace
