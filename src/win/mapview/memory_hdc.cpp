// The memory bitmaps: one memory device context through which every panel's
// picture is painted into its own bitmap, read back as 24-bit pixels for the
// texture upload.
#include "win/mapview/memory_hdc.h"

#include <cstdlib>

#include "engine/picture/bottom_picture.h"
#include "engine/picture/control_picture.h"
#include "engine/picture/hover_picture.h"
#include "engine/picture/map_note_picture.h"
#include "engine/picture/panel_picture.h"
#include "engine/picture/recent_picture.h"
#include "engine/picture/region_picture.h"
#include "platform/platform.h"
#include "win/app/shell.h"
#include "platform/wide_text.h"
#include "win/mapview/picture_gdi.h"

static HDC sMemoryDC;
const HDC& gMemoryDC = sMemoryDC;
static PanelBitmap sPanels[PANEL_COUNT];
static unsigned char* sCircleSpritePixels;
unsigned char* const& gCircleSpritePixels = sCircleSpritePixels;
const PanelBitmap (&gPanels)[PANEL_COUNT] = sPanels;

static HBITMAP sCircleBitmap;
static HGDIOBJ sCircleDisplaced;
static int sHatchDrawn;

enum {
    kGetDC = 1,
    kCreateDC = 2,
    kPanelBitmap = 20,
    kPanelSelect = 21,
    kPanelMalloc = 22,
    kPanelRead = 23,
    kCircleBitmap = 70,
    kCircleSelect = 71,
    kCircleMalloc = 72,
    kCircleRead = 73,
};

static const char* FailureText(int code) {
    switch (code) {
    case kGetDC: return "ERROR : GetDC";
    case kCreateDC: return "ERROR : CreateCompatibleDC";
    case kPanelBitmap: return "ERROR : InfoTexture CreateCompatibleBitmap ";
    case kPanelSelect: return "ERROR : InfoTexture SelectObject ";
    case kPanelMalloc: return "ERROR : InfoTexture malloc ";
    case kPanelRead: return "ERROR : InfoTexture GetDIBits ";
    case kCircleBitmap: return "ERROR : CircleTexture CreateCompatibleBitmap ";
    case kCircleSelect: return "ERROR : CircleTexture SelectObject ";
    case kCircleMalloc: return "ERROR : CircleTexture malloc ";
    default: return "ERROR : CircleTexture GetDIBits ";
    }
}

// Reads `bitmap` (not selected) into `pixels` as a top-down 24-bit image;
// returns the number of rows read.
static int ReadBack(HBITMAP bitmap, int width, int height, unsigned char* pixels) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return GetDIBits(sMemoryDC, bitmap, 0, height, pixels, &info, DIB_RGB_COLORS);
}

static bool AnyObjectExists() {
    if (sMemoryDC || sCircleBitmap || sCircleSpritePixels) return true;
    for (const PanelBitmap& panel : sPanels)
        if (panel.bitmap || panel.pixels) return true;
    return false;
}

static int CreatePanels(HDC windowDC) {
    for (int id = 0; id < PANEL_COUNT; id++) {
        PanelBitmap& panel = sPanels[id];
        const PanelSize size = kPanelSizes[id];
        panel.bitmap = CreateCompatibleBitmap(windowDC, size.width, size.height);
        if (!panel.bitmap) return kPanelBitmap;
        panel.displaced = SelectObject(sMemoryDC, panel.bitmap);
        if (!panel.displaced || panel.displaced == HGDI_ERROR) {
            panel.displaced = nullptr;
            return kPanelSelect;
        }
        size_t bytes = size_t(size.width) * size.height * 3;
        panel.pixels = static_cast<unsigned char*>(std::calloc(bytes, 1));
        int code = panel.pixels ? 0 : kPanelMalloc;
        SelectObject(sMemoryDC, panel.displaced);
        panel.displaced = nullptr;
        if (code) return code;
        if (ReadBack(panel.bitmap, size.width, size.height, panel.pixels) < size.height)
            return kPanelRead;
    }
    return 0;
}

// The marker sprite: 31 rings from grey 8 at the rim to 248 at the centre.
static void PaintCircle() {
    RECT square = {0, 0, kCircleSize, kCircleSize};
    FillRect(sMemoryDC, &square, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    for (int k = 0; k <= 30; k++) {
        int g = 8 * (k + 1);
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(g, g, g));
        HBRUSH brush = CreateSolidBrush(RGB(g, g, g));
        HGDIOBJ oldPen = SelectObject(sMemoryDC, pen);
        HGDIOBJ oldBrush = SelectObject(sMemoryDC, brush);
        Ellipse(sMemoryDC, 1 + k, 1 + k, kCircleSize - 1 - k, kCircleSize - 1 - k);
        SelectObject(sMemoryDC, oldPen);
        SelectObject(sMemoryDC, oldBrush);
        DeleteObject(pen);
        DeleteObject(brush);
    }
}

static int CreateCircle(HDC windowDC) {
    sCircleBitmap = CreateCompatibleBitmap(windowDC, kCircleSize, kCircleSize);
    if (!sCircleBitmap) return kCircleBitmap;
    sCircleDisplaced = SelectObject(sMemoryDC, sCircleBitmap);
    if (!sCircleDisplaced || sCircleDisplaced == HGDI_ERROR) {
        sCircleDisplaced = nullptr;
        return kCircleSelect;
    }
    PaintCircle();
    sCircleSpritePixels = static_cast<unsigned char*>(std::calloc(kCircleSize * kCircleSize * 3, 1));
    SelectObject(sMemoryDC, sCircleDisplaced);
    sCircleDisplaced = nullptr;
    if (!sCircleSpritePixels) return kCircleMalloc;
    if (ReadBack(sCircleBitmap, kCircleSize, kCircleSize, sCircleSpritePixels) < kCircleSize)
        return kCircleRead;
    return 0;
}

int CreateMemoryHDC() {
    if (AnyObjectExists()) return CREATE_HDC_EXISTS;
    int code = 0;
    HDC windowDC = GetDC(gMainWindow);
    if (!windowDC) {
        code = kGetDC;
    } else {
        sMemoryDC = CreateCompatibleDC(windowDC);
        if (!sMemoryDC) {
            code = kCreateDC;
        } else {
            SetBkMode(sMemoryDC, TRANSPARENT);
            SetTextColor(sMemoryDC, RGB(255, 255, 255));
            code = CreatePanels(windowDC);
            if (!code) code = CreateCircle(windowDC);
        }
        ReleaseDC(gMainWindow, windowDC);
    }
    if (!code) return CREATE_HDC_OK;
    ShowMessage(FailureText(code));
    ReleaseMemoryHDC();   // nothing half made stays
    return CREATE_HDC_FAILED;
}

// The drawing pattern of every panel: BeginPanelDraw selects the panel's
// bitmap into sMemoryDC (0; 1 when that fails: leave the panel as it was),
// the picture is painted through sMemoryDC, EndPanelDraw reads the bitmap
// back into the pixel buffer and puts the displaced object back.
static int BeginPanelDraw(PanelId panel) {
    PanelBitmap& p = sPanels[panel];
    HGDIOBJ displaced = SelectObject(sMemoryDC, p.bitmap);
    if (!displaced || displaced == HGDI_ERROR) return 1;
    p.displaced = displaced;
    return 0;
}

static void EndPanelDraw(PanelId panel) {
    PanelBitmap& p = sPanels[panel];
    // GetDIBits wants the bitmap deselected: put the displaced object back first.
    SelectObject(sMemoryDC, p.displaced);
    p.displaced = nullptr;
    ReadBack(p.bitmap, kPanelSizes[panel].width, kPanelSizes[panel].height, p.pixels);
}

// Red with white stripes 4 pixels wide every 16, slanting down to the left;
// the alert boxes tile it. Painted once.
static void DrawHatchPattern() {
    if (sHatchDrawn || BeginPanelDraw(PANEL_HATCH) != 0) return;
    sHatchDrawn = 1;
    const PanelSize size = kPanelSizes[PANEL_HATCH];
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT all = {0, 0, size.width, size.height};
    FillRect(sMemoryDC, &all, red);
    DeleteObject(red);

    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
    HGDIOBJ oldPen = SelectObject(sMemoryDC, pen);
    HGDIOBJ oldBrush = SelectObject(sMemoryDC, brush);
    for (int c = 196; c >= 4; c -= 16) {
        POINT corners[4] = {{c - 4, 0}, {c, 0}, {c - 128, 128}, {c - 132, 128}};
        Polygon(sMemoryDC, corners, 4);
    }
    SelectObject(sMemoryDC, oldPen);
    SelectObject(sMemoryDC, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    EndPanelDraw(PANEL_HATCH);
}

static void BuildRecent(PanelPicture* out) {
    const PanelSize size = kPanelSizes[PANEL_RECENT];
    if (!BuildMapNotePicture(size.width, size.height, out)) BuildRecentPicture(size.width, size.height, out);
}

static void BuildControl(PanelPicture* out) { BuildControlPicture(gUpdateStatus, out); }


static void BuildRegion(PanelPicture* out) {
    // The title is loaded once at start-up, before the first tick.
    static const std::string title = FromWide(gAppTitle, CODE_PAGE_SJIS);
    BuildRegionPicture(title.c_str(), out);
}


// The panels in painting order, each with the builder of its picture.
static const struct {
    PanelId panel;
    void (*build)(PanelPicture*);
} kPanelSteps[] = {
    {PANEL_RECENT, BuildRecent}, {PANEL_CONTROL, BuildControl}, {PANEL_HOVER, BuildHoverPicture},
    {PANEL_REGION, BuildRegion}, {PANEL_BOTTOM, BuildBottomPicture},
};

int UpdateMemoryHDC() {
    if (!sMemoryDC) return UPDATE_HDC_NO_DC;
    for (const PanelBitmap& panel : sPanels) {
        if (!panel.pixels) return UPDATE_HDC_NO_PIXELS;
        if (!panel.bitmap) return UPDATE_HDC_NO_BITMAP;
    }
    static PanelPicture picture;
    for (const auto& step : kPanelSteps) {
        step.build(&picture);
        if (!picture.paint || BeginPanelDraw(step.panel) != 0) continue;
        PaintPicture(sMemoryDC, picture);
        EndPanelDraw(step.panel);
    }
    DrawHatchPattern();
    return UPDATE_HDC_OK;
}

void ReleaseMemoryHDC() {
    for (PanelBitmap& panel : sPanels) {
        if (panel.displaced && sMemoryDC) SelectObject(sMemoryDC, panel.displaced);
        panel.displaced = nullptr;
        if (panel.bitmap) DeleteObject(panel.bitmap);
        panel.bitmap = nullptr;
        std::free(panel.pixels);
        panel.pixels = nullptr;
    }
    if (sCircleDisplaced && sMemoryDC) SelectObject(sMemoryDC, sCircleDisplaced);
    sCircleDisplaced = nullptr;
    if (sCircleBitmap) DeleteObject(sCircleBitmap);
    sCircleBitmap = nullptr;
    std::free(sCircleSpritePixels);
    sCircleSpritePixels = nullptr;
    if (sMemoryDC) DeleteDC(sMemoryDC);
    sMemoryDC = nullptr;
    sHatchDrawn = 0;
}
