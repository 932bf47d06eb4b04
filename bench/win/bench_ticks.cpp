// The per-tick GDI work under Wine on the 200,000-record benchmark catalogue:
// the whole UpdateMemoryHDC in the cases of the tick (cursor positions,
// report pages, a new current record every tick), and the list windows'
// header and row clicks through to the painted windows. Each case is timed
// with QueryPerformanceCounter over `--calls` calls after 20 warm-up calls.
// With --pictures DIR it also writes what each case leaves in the panels'
// bitmaps, and both list windows' and the graph's pictures, as PPM files:
// a change that must keep every screen as it was is compared on them.
// Usage: wolt-tickbench.exe [--calls N] [--pictures DIR]
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "bench_data.h"
#include "engine/analysis/alert.h"
#include "engine/analysis/region_stats.h"
#include "engine/controls/bottom_panel.h"
#include "engine/controls/list_scroll.h"
#include "engine/controls/panels.h"
#include "engine/controls/replay_controls.h"
#include "engine/picture/replay_picture.h"
#include "engine/model/geo.h"
#include "engine/model/records.h"
#include "engine/model/settings.h"
#include "engine/selection/lists.h"
#include "engine/selection/selection.h"
#include "win/app/main_window.h"
#include "win/app/shell.h"
#include "win/mapview/memory_hdc.h"
#include "win/windows/graph_window.h"
#include "win/windows/list_window.h"

enum { kRecords = 200000, kWarmUp = 20 };

static const char* sPictures;   // --pictures DIR, or nullptr
static int sPictureCount;

// The program's shutdown lives in its start-up module, which is not linked here;
// no main window exists to call it.
int ShutdownApp() { return 0; }

static double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    return double(to.QuadPart - from.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// Writes top-down BGR rows as a binary PPM named by the running count and `name`.
static void WritePicture(const char* name, int width, int height, const unsigned char* bgr, int stride) {
    if (!sPictures) return;
    char path[400];
    std::snprintf(path, sizeof path, "%s/%02d-%s.ppm", sPictures, ++sPictureCount, name);
    FILE* f = std::fopen(path, "wb");
    if (!f) {
        std::fprintf(stderr, "cannot write %s\n", path);
        std::exit(1);
    }
    std::fprintf(f, "P6\n%d %d\n255\n", width, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            const unsigned char* p = bgr + size_t(y) * stride + size_t(x) * 3;
            const unsigned char rgb[3] = {p[2], p[1], p[0]};
            std::fwrite(rgb, 1, 3, f);
        }
    std::fclose(f);
}

static void WritePanels(const char* caseName) {
    static const char* const kNames[] = {"recent", "control", "hover", "region", "bottom", "hatch"};
    for (int p = 0; p < PANEL_COUNT; p++) {
        char name[200];
        std::snprintf(name, sizeof name, "%s-%s", caseName, kNames[p]);
        const PanelSize size = kPanelSizes[p];
        WritePicture(name, size.width, size.height, gPanels[p].pixels, size.width * 3);
    }
}

// Paints `paint` into a fresh 24-bit DIB of width x height and writes it.
template <typename Paint>
static void WriteOffscreen(const char* name, int width, int height, Paint paint) {
    if (!sPictures) return;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SetBkMode(dc, TRANSPARENT);
    paint(dc);
    GdiFlush();
    WritePicture(name, width, height, static_cast<unsigned char*>(bits), (width * 3 + 3) & ~3);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

// Runs `step` kWarmUp + calls times and prints mean, median and p95 of the
// timed calls; `prepare` runs untimed before each call.
static void Time(const char* name, int calls, const std::function<void(int)>& step,
                 const std::function<void(int)>& prepare = [](int) {}) {
    for (int k = 0; k < kWarmUp; k++) prepare(k), step(k);
    std::vector<double> times;
    for (int k = 0; k < calls; k++) {
        prepare(kWarmUp + k);
        LARGE_INTEGER from, to;
        QueryPerformanceCounter(&from);
        step(kWarmUp + k);
        QueryPerformanceCounter(&to);
        times.push_back(Milliseconds(from, to));
    }
    double sum = 0;
    for (double t : times) sum += t;
    std::sort(times.begin(), times.end());
    char caseName[80];
    int n = 0;
    for (const char* c = name; *c && n < 79; c++)
        if (std::isalnum(static_cast<unsigned char>(*c))) caseName[n++] = *c;
    caseName[n] = 0;
    if (std::strncmp(name, "page", 4) == 0) WritePanels(caseName);
    std::printf("%-58s mean %6.2f ms  median %6.2f ms  p95 %6.2f ms\n", name, sum / calls,
                times[times.size() / 2], times[std::min(times.size() - 1, times.size() * 95 / 100)]);
}

static void Tick(int mouseX, int mouseY) {
    gMouseX = mouseX;
    gMouseY = mouseY;
    PanelsPick(mouseX, mouseY);
    if (UpdateMemoryHDC() != UPDATE_HDC_OK) {
        std::fprintf(stderr, "UpdateMemoryHDC failed\n");
        std::exit(1);
    }
}

// A case whose cursor misses what it is meant to be over measures nothing.
static void Expect(bool seen, const char* what) {
    if (seen) return;
    std::fprintf(stderr, "the cursor is not %s\n", what);
    std::exit(1);
}

static void TimePanels(int calls) {
    // The newest match: its marker is the one the map pick finds first.
    const QuakeRecord& newest = gpEQ[AppSettings.selFirstIndex];
    const int markerX = GridToPixelXi(newest.mapX) + 2, markerY = GridToPixelYi(newest.mapY) + 2;
    const int offX = 700, offY = 300;        // over the map, right of the markers' area
    const int classX = 600, classY = 600;    // over the class table of page 0
    const int rowsX = 400, rowsY = 600;      // over the ranking rows of page 1
    int mapX = 0, mapY = 0;                  // over the map, where no marker lies
    for (int k = 0; k < 64 * 64 && mapX == 0; k++) {
        Tick(8 + (k % 64) * 8, 8 + (k / 64) * 8);
        if (gSelectedRecordA < 0) mapX = gMouseX, mapY = gMouseY;
    }

    SetReportPage(0);
    Tick(markerX, markerY);
    Expect(gSelectedRecordA >= 0, "over a marker");
    Tick(mapX, mapY);
    Expect(gSelectedRecordA < 0, "off the markers");
    Tick(classX, classY);
    Expect(gBottomPanel.classPick == 1, "over the class table");
    Time("page 0, cursor off the panels", calls, [&](int) { Tick(offX, offY); });
    Time("page 0, cursor over the class table", calls, [&](int) { Tick(classX, classY); });
    Time("page 0, cursor over the map, no marker", calls, [&](int) { Tick(mapX, mapY); });
    Time("page 0, cursor over a marker", calls, [&](int) { Tick(markerX, markerY); });
    const int first = AppSettings.selFirstIndex;
    Time("page 0, a new current record every tick", calls, [&](int) { Tick(offX, offY); },
         [&](int k) { SelectRecord(first + (k % 50) * 997, SELECT_AFTER_FILTER); });
    SelectRecord(first, SELECT_AFTER_FILTER);
    SetReportPage(1);
    Tick(rowsX, rowsY);
    Expect(gBottomPanel.alertHover == 1, "over the ranking rows");
    Time("page 1, cursor over the rows", calls, [&](int) { Tick(rowsX, rowsY); });
    Time("page 1, cursor over a marker", calls, [&](int) { Tick(markerX, markerY); });
    SetReportPage(0);
}

// The replay's part of a tick: the clock moved by one tick, the markers of
// the new and flashing events written (the view copies the 4,000 vertices
// into its buffer), and, in the last case, every panel with the read-out.
static void TimeReplay(int calls) {
    static TexturedScreenVertex markers[kMarkerVertices];
    Time("replay: start (time line of every match)", calls, [](int) { StartReplay(); }, [](int) { StopReplay(); });
    for (int steps : {0, 4}) {   // one month a second, one year a second
        StartReplay();
        ChangeReplaySpeed(steps);
        BuildReplayQuads(markers);
        char name[80];
        std::snprintf(name, sizeof name, "replay: clock + markers, %s a second", steps ? "a year" : "a month");
        Time(name, calls, [](int) {
            AdvanceReplay(0.04);
            BuildReplayQuads(markers);
        });
    }
    Time("replay: clock + markers + every panel, a month a second", calls, [](int) {
        AdvanceReplay(0.04);
        BuildReplayQuads(markers);
        Tick(700, 300);
    }, [](int k) { if (k == 0) StartReplay(); });
    const ReplayReadout r = CurrentReplayReadout();
    std::printf("replay after the last case: %04d/%02d, %d of %d events\n", r.year, r.month, r.shown, r.total);
    StopReplay();
}

static LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

static void Paint(HWND window) {
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

static void TimeLists(int calls, HWND list, HWND list2) {
    static const char* const kColumns[] = {"date", "region", "depth", "magnitude", "intensity"};
    const ListLayout& layout = kConditionListLayout;
    for (int c = 0; c < layout.columns; c++) {
        const ListRect& cell = layout.headerCells[c];
        const LPARAM point = At((cell.left + cell.right) / 2, 10);
        char name[80];
        std::snprintf(name, sizeof name, "list: header click, %s column, to painted window",
                      kColumns[layout.sortColumns[c] - 1]);
        Time(name, calls, [&](int) {
            SendMessageW(list, WM_MOUSEMOVE, 0, point);
            SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
            SendMessageW(list, WM_LBUTTONUP, 0, point);
            Paint(list);
        });
    }
    const int rowX = (layout.rowMouse.left + layout.rowMouse.right) / 2;
    Time("list: row click, both lists painted", calls, [&](int k) {
        const LPARAM point = At(rowX, kListFirstRowTop + 4 + kListRowPitch * (k % 30));
        SendMessageW(list, WM_MOUSEMOVE, 0, point);
        SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
        SendMessageW(list, WM_LBUTTONUP, 0, point);
        Paint(list);
        Paint(list2);
    });
}

int main(int argc, char** argv) {
    int calls = 200;
    for (int i = 1; i + 1 < argc; i++) {
        if (std::strcmp(argv[i], "--calls") == 0) calls = std::max(1, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--pictures") == 0) sPictures = argv[i + 1];
    }
    gInstance = GetModuleHandleW(nullptr);
    PrepareFilteredCatalogue(kRecords, 1);
    std::printf("%d records, %d matching, %d calls per case after %d warm-up calls\n",
                AppSettings.recordCount, AppSettings.selCount, calls, kWarmUp);
    if (CreateMemoryHDC() != 0 || !gMemoryDC) {
        std::fprintf(stderr, "no memory bitmaps\n");
        return 1;
    }
    TimePanels(calls);
    TimeReplay(calls);
    ReleaseMemoryHDC();

    FreeList(&gConditionList);   // the list windows allocate their own lists
    FreeList(&gRegionList);
    HWND list = List_CreateWindow(), list2 = List2_CreateWindow();
    if (!list || !list2) {
        std::fprintf(stderr, "no list windows\n");
        return 1;
    }
    RefreshConditionList();
    TimeLists(calls, list, list2);
    const ListControls none = {};
    WriteOffscreen("condition-list", kConditionListLayout.width, kConditionListLayout.height,
                   [&](HDC dc) { PaintList(dc, kConditionListLayout, &gConditionList, none); });
    WriteOffscreen("region-list", kRegionListLayout.width, kRegionListLayout.height,
                   [&](HDC dc) { PaintList(dc, kRegionListLayout, &gRegionList, none); });
    WriteOffscreen("graph", 508, 256, [](HDC dc) { PaintGraph(dc); });
    DestroyWindow(list2);
    DestroyWindow(list);
    return 0;
}
