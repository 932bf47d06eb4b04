#include "win/app/placement.h"

#include "engine/model/settings.h"
#include "engine/controls/placement.h"
#include "win/app/shell.h"

WorkArea DesktopWorkArea() {
    RECT r = {0, 0, 0, 0};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return WorkArea{r.left, r.top, r.right, r.bottom};
}

// The window's normal position, relative to the work area.
static POINT NormalCorner() {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(gMainWindow, &placement);
    return POINT{placement.rcNormalPosition.left, placement.rcNormalPosition.top};
}

void PlaceMainWindow() {
    static int lastPlaceMode = 0;
    const SettingsBlock& s = AppSettings;
    POINT corner = NormalCorner();
    int x, y;
    int moved = PlaceInWorkArea(corner.x, corner.y, s.winWidth, s.winHeight, DesktopWorkArea(), &x, &y);
    int needed = moved || s.placeMode != lastPlaceMode;
    lastPlaceMode = s.placeMode;
    if (needed) {
        if (s.placeMode)
            SetWindowPos(gMainWindow, HWND_TOP, x, y, s.winWidth, s.winHeight, SWP_SHOWWINDOW);
        else
            MoveWindow(gMainWindow, x, y, s.winWidth, s.winHeight, TRUE);
    }
    StoreWindowPlace(0, x, y);
}

void TrackCursor() {
    POINT cursor;
    if (!GetCursorPos(&cursor)) return;
    POINT corner = NormalCorner();
    CursorInWindow(cursor.x, cursor.y, corner.x, corner.y, DesktopWorkArea(), &gMouseX, &gMouseY);
}
