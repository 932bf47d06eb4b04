#include "engine/controls/bottom_panel.h"

#include "engine/analysis/alert.h"
#include "engine/analysis/region_stats.h"
#include "engine/analysis/reports.h"
#include "engine/controls/control_panel.h"
#include "engine/model/records.h"
#include "engine/pipeline/pipeline.h"
#include "engine/selection/current_record.h"
#include "engine/selection/selection.h"
#include "platform/platform.h"

static const BottomPanelState kInitialBottom = {0, 0, 0, 0, -1, 0, -1, 0, -1, -1};
static BottomPanelState sBottom = kInitialBottom;
const BottomPanelState& gBottomPanel = sBottom;
// The catalogues the ranking row was clicked in and the class row picked in:
// after a reload their indices name other records.
static int sAlertRowGeneration, sPickGeneration;

// By design the buttons take the mouse a little apart from their boxes (the
// panel's top is window y 517): "保存" over its box and 2 pixels below,
// "終了" 2 pixels right of its box and 1 above.
const PanelButton kBottomButtons[2] = {
    {{621, 216, 711, 238}, {621, 219, 711, 237}, {621, 711, 733, 757}},
    {{756, 219, 846, 241}, {756, 221, 846, 239}, {758, 848, 735, 759}},
};

void ResetBottomPanel() { sBottom = kInitialBottom; }

void SetReportPage(int page) { sBottom.reportPage = page; }

void CancelBottomPress() { sBottom.pressed = 0; }

void ForgetBottomHover() {
    sBottom.button = 0;
    sBottom.pressed = 0;
}

int AlertRowAtY(int pointerY) {
    if (pointerY < 562) return -1;
    const int row = (pointerY - 562) / 18;
    return row < kAlertPageRows ? row : -1;
}

static int AlertRow() { return sAlertRowGeneration == CatalogueGeneration() ? sBottom.alertRow : -1; }

int AlertRowMark(PanelRect* out) {
    const int row = AlertRow();
    if (row < 0 || row >= kAlertPageRows) return 1;
    *out = PanelRect{4, 46 + 18 * row, 842, 62 + 18 * row};
    return 0;
}

int BottomPanelTick(int x, int y, int leftButtonDown) {
    // The close button acts while it is still held.
    const int requests = leftButtonDown && sBottom.button == 2 ? PANEL_REQUEST_CLOSE : 0;
    BottomPanelState& b = sBottom;
    b.tabHover = 0;
    if (y >= 518 && y < 541) {
        if (x >= 3 && x < 268) b.tabHover = 1;
        if (x >= 299 && x < 444) b.tabHover = 2;
    }
    b.button = 0;
    for (int i = 0; i < 2; i++)
        if (InsideButton(kBottomButtons[i], x, y)) b.button = i + 1;
    if (b.button == 0) b.pressed = 0;
    return requests;
}

void BottomPanelPick(int x, int y) {
    BottomPanelState& b = sBottom;
    b.alertRow = AlertRow();
    b.alertHover = b.classPick = 0;
    b.alertUnderlineY = b.classUnderlineY = -1;
    if (b.reportPage == 1) {
        if (x < 4 || x >= 848 || y < 567 || y >= 724) return;
        b.alertHover = 1;
        b.alertUnderlineY = 18 * ((y - 544) / 18) + 44;
        return;
    }
    if (gCurrentRecord < 0 || x < 521 || x >= 848 || y < 567 || y >= 724) return;
    const int r = (y - 544) / 18;
    int count, since, mean, latest;
    ClassStatsByMagnitude(gCurrentRecord, r, &count, &since, &mean, &latest);
    b.classPick = 1;
    b.classPickRecord = latest >= 0 ? latest : -1;
    sPickGeneration = CatalogueGeneration();
    b.classUnderlineY = 18 * r + 44;
}

// A press on the ranking page: the clicked printed row's region, its newest M6+ earthquake.
static void PickAlertRow(int pointerY) {
    const int row = AlertRowAtY(pointerY);
    const int entry = PrintedAlertEntry(row);
    if (entry < 0 || !IsDataRecord(AlertTable[entry].latestIndex)) return;
    sBottom.alertRow = row;
    sAlertRowGeneration = CatalogueGeneration();
    AlertEntry region;
    RegionAlertFor(AlertTable[entry].latestIndex, &region);
    SelectRecord(region.latestIndex, SELECT_PICK);
}

void BottomPanelPress(int pointerY) {
    BottomPanelState& b = sBottom;
    b.pressed = b.button;
    if (b.tabHover == 1) b.reportPage = 0;
    if (b.tabHover == 2) b.reportPage = 1;
    if (b.alertHover == 1) PickAlertRow(pointerY);
    if (b.classPick && sPickGeneration == CatalogueGeneration() && IsDataRecord(b.classPickRecord))
        SelectRecord(b.classPickRecord, SELECT_PICK);
}

int BottomPanelRelease(int windowActive) {
    int requests = 0;
    // The buttons act on the button under the cursor, wherever the press was.
    if (windowActive && sBottom.button == 1) {
        if ((sBottom.reportPage == 0 ? WriteRegionReport(gCurrentRecord) : WriteAlertReport()) != 0) ShowMessage(kSaveFailedText);
    }
    if (windowActive && sBottom.button == 2) requests |= PANEL_REQUEST_CLOSE;
    sBottom.pressed = 0;
    return requests;
}
