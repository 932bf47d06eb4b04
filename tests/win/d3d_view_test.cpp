// The Direct3D map view on a real device under Wine: a frame drawn into a
// window at the screen origin, read back from the screen and checked
// pixel by pixel: the reset and re-creation that a lost device goes through
// keep the picture, and the set-up's result codes. The frames of the real
// program are checked end to end; this covers what it seldom shows.
#include "mapview/d3d_scene.h"
#include "mapview/d3d_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/alert.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "catalogue/loader.h"
#include "catalogue/model.h"
#include "platform/platform.h"
#include "windows/list_data.h"

// The main window module refers to the program's shutdown, which lives
// beside WinMain in startup.cpp and is not part of this executable. These
// tests never send CMD_EXIT to a main window, so it is never called.
int ShutdownApp() { return 0; }

namespace {

struct Rgb {
    int r, g, b;
};

// The test map: 64-pixel blocks, black where bx + by is even, else a colour
// that tells the block apart (so an upside-down map would show).
Rgb MapBlock(int bx, int by) {
    if ((bx + by) % 2 == 0) return Rgb{0, 0, 0};
    return Rgb{20 + 20 * bx, 20 + 20 * by, 100};
}

// A 24-bit bottom-up bitmap; `keepBytes` cuts the file short.
void WriteMap(const std::string& path, int size, size_t keepBytes = SIZE_MAX) {
    const int rowBytes = (size * 3 + 3) & ~3;
    std::vector<unsigned char> file(54 + size_t(rowBytes) * size, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; i++) file[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, uint32_t(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(size));
    put32(22, uint32_t(size));   // bottom-up rows
    file[26] = 1;
    file[28] = 24;
    for (int y = 0; y < size; y++) {
        unsigned char* row = &file[54 + size_t(size - 1 - y) * rowBytes];
        for (int x = 0; x < size; x++) {
            Rgb c = MapBlock(x / 64, y / 64);
            row[3 * x] = static_cast<unsigned char>(c.b);
            row[3 * x + 1] = static_cast<unsigned char>(c.g);
            row[3 * x + 2] = static_cast<unsigned char>(c.r);
        }
    }
    FILE* f = OpenFile(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fwrite(file.data(), 1, std::min(keepBytes, file.size()), f);
    fclose(f);
}

LRESULT CALLBACK PlainWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return DefWindowProcW(w, m, wp, lp);
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// Three on-map markers in the middle of black map blocks, and the newest
// record off the map (the selected one, so its pulsing marker stays hidden).
struct Placed {
    int mapX, mapY, depthKm;
    int px, py;      // expected centre pixel
};
const Placed kPlaced[] = {
    {367, 190, 100, 287, 288},
    {283, 274, 10, 159, 416},
    {452, 105, 180, 416, 159},
};

}  // namespace

class D3DView : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = PlainWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"wolt_d3d_test";
        RegisterClassW(&wc);
        // Layered and opaque, as the main window: the frame then reaches the
        // window's own surface, which GDI reads back.
        gMainWindow = CreateWindowExW(WS_EX_LAYERED, L"wolt_d3d_test", L"d3d test",
                                      WS_POPUP | WS_VISIBLE, 0, 0, 864, 768, nullptr, nullptr,
                                      wc.hInstance, nullptr);
        ASSERT_NE(gMainWindow, nullptr);
        SetLayeredWindowAttributes(gMainWindow, 0, 255, LWA_ALPHA);
        Pump();
        ASSERT_EQ(CreateMemoryHDC(), 0);
        ASSERT_EQ(AllocateCatalogue(), 0);
        std::memset(gpEQ, 0, sizeof(QuakeRecord) * kMaxRecords);

        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "wolt_d3d_test";
        CreateDirectoryA(folder.c_str(), nullptr);
        mapPath = folder + "/MAP01_512.bmp";
        WriteMap(mapPath, 512);
        SetDataFolder(folder.c_str());

        QuakeRecord* r = gpEQ;
        *r++ = Record(600, 100, 30, 0);   // off the map
        for (const Placed& p : kPlaced) *r++ = Record(p.mapX, p.mapY, p.depthKm, 1);
        std::memset(&AppSettings, 0, sizeof AppSettings);
        AppSettings.selCount = 3;
        AppSettings.selFirst = 0;
        AppSettings.selFirstIndex = 0;
        AppSettings.startYear = 2020;
        AppSettings.endYear = 2020;
        std::memset(AlertTable, 0, sizeof AlertTable);
        gMouseX = gMouseY = 600;   // outside the map: no hover panel
        gDataReady = 1;
    }

    void TearDown() override {
        D3DRelease(1);
        ReleaseMemoryHDC();
        FreeCatalogue();
        DestroyWindow(gMainWindow);
        gMainWindow = nullptr;
        Pump();
        SetDataFolder(nullptr);
        DeleteFileA(mapPath.c_str());
        RemoveDirectoryA(folder.c_str());
    }

    static QuakeRecord Record(int mapX, int mapY, int depthKm, int inFilter) {
        QuakeRecord r = {};
        r.year = 2020;
        r.month = r.day = 1;
        r.mapX = uint16_t(mapX);
        r.mapY = uint16_t(mapY);
        r.depthKm = uint16_t(depthKm);
        r.inFilter = uint8_t(inFilter);
        r.magnitude10 = 50;   // half-size 12
        return r;
    }

    // Uploads the panels, updates the buffers and draws two frames (the
    // second one with the alpha test that the first frame switched on),
    // then reads the window back from the screen once the second frame is
    // there: it carries a mark of its own in a corner of the control panel.
    void DrawFrames() {
        static int serial;
        for (int frame = 0; frame < 2; frame++) {
            mark = Rgb{50 + (37 * ++serial) % 200, 201, 77};
            PaintPanel(PANEL_CONTROL, 300, 500, 330, 530, mark);
            UploadPanelTextures();
            ASSERT_EQ(D3DMove(), 0);
            gDataReady = 0;
            ASSERT_EQ(D3DRender(), 0);
        }
        for (int wait = 0; wait < 100; wait++) {
            Pump();
            ReadScreen();
            Rgb seen = Pixel(825, 515);
            if (seen.r == mark.r && seen.g == mark.g && seen.b == mark.b) return;
            Sleep(50);
        }
        FAIL() << "the second frame did not reach the screen";
    }

    // What the screen shows where the window stands (at the origin), read
    // through GDI: the presented frame, after the layered-window step.
    void ReadScreen() {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = 864;
        info.bmiHeader.biHeight = -768;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC screenDC = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screenDC);
        HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(dib, nullptr);
        HGDIOBJ old = SelectObject(memory, dib);
        EXPECT_TRUE(BitBlt(memory, 0, 0, 864, 768, screenDC, 0, 0, SRCCOPY));
        GdiFlush();
        screen.assign(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + 864 * 768);
        SelectObject(memory, old);
        DeleteObject(dib);
        DeleteDC(memory);
        ReleaseDC(nullptr, screenDC);
    }

    Rgb Pixel(int x, int y) const {
        uint32_t v = screen[size_t(y) * 864 + x];
        return Rgb{int(v >> 16 & 0xFF), int(v >> 8 & 0xFF), int(v & 0xFF)};
    }

    void PaintPanel(int panel, int x0, int y0, int x1, int y1, Rgb c) {
        PanelBitmap& p = gPanels[panel];
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++) {
                unsigned char* q = p.pixels + (size_t(y) * p.width + x) * 3;
                q[0] = static_cast<unsigned char>(c.b);
                q[1] = static_cast<unsigned char>(c.g);
                q[2] = static_cast<unsigned char>(c.r);
            }
    }

    std::string folder, mapPath;
    std::vector<uint32_t> screen;
    Rgb mark;
};

static void ExpectColour(Rgb got, Rgb want, int tolerance, const char* what) {
    EXPECT_NEAR(got.r, want.r, tolerance) << what;
    EXPECT_NEAR(got.g, want.g, tolerance) << what;
    EXPECT_NEAR(got.b, want.b, tolerance) << what;
}

TEST_F(D3DView, ResetThenRecreationKeepsTheDeviceAndThePicture) {
    ASSERT_EQ(D3DCreate(), 0);
    DrawFrames();
    std::vector<uint32_t> before = screen;
    for (const Placed& p : kPlaced)
        EXPECT_GT(int(before[size_t(p.py) * 864 + p.px] & 0xFFFFFF), 0) << "a marker at " << p.px;
    IDirect3DDevice9* device = gScene.device;

    ASSERT_EQ(D3DRelease(0), 0);
    EXPECT_EQ(gScene.ready, 0);
    EXPECT_EQ(gScene.markerQuads, nullptr);
    EXPECT_EQ(gScene.panels[PANEL_RECENT].staging, nullptr);
    // Between the reset and the re-creation nothing touches the buffers.
    EXPECT_EQ(D3DMove(), 0);
    EXPECT_EQ(D3DRender(), 0);
    UploadPanelTextures();

    ASSERT_EQ(D3DCreate(), 0);
    EXPECT_EQ(gScene.device, device) << "the device is reused";
    gDataReady = 1;   // as the main window does after a re-creation
    DrawFrames();
    for (const Placed& p : kPlaced)
        ExpectColour(Pixel(p.px, p.py),
                     Rgb{int(before[size_t(p.py) * 864 + p.px] >> 16 & 0xFF),
                         int(before[size_t(p.py) * 864 + p.px] >> 8 & 0xFF),
                         int(before[size_t(p.py) * 864 + p.px] & 0xFF)},
                     3, "marker after the re-creation");
    ExpectColour(Pixel(512, 300), Rgb{255, 255, 255}, 3, "frame after the re-creation");
    ExpectColour(Pixel(96, 32), MapBlock(1, 0), 3, "map after the re-creation");
}

TEST_F(D3DView, SetUpFailuresGiveTheirCodes) {
    // A missing map file.
    DeleteFileA(mapPath.c_str());
    EXPECT_EQ(D3DCreate(), 3);
    D3DRelease(1);
    // A truncated one.
    WriteMap(mapPath, 512, 1000);
    EXPECT_EQ(D3DCreate(), 3);
    D3DRelease(1);
    // No marker sprite: nothing of Direct3D is created.
    ReleaseMemoryHDC();
    EXPECT_EQ(D3DCreate(), 99);
    EXPECT_EQ(gScene.d3d, nullptr);
    EXPECT_EQ(gScene.device, nullptr);
}
