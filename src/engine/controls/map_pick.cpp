#include "engine/controls/map_pick.h"

#include <algorithm>

#include "engine/model/geo.h"
#include "engine/model/records.h"
#include "engine/model/settings.h"
#include "engine/selection/conditions.h"
#include "engine/selection/current_record.h"
#include "engine/selection/selection.h"

static HoverSummary sSummary;

const HoverSummary& MapHoverSummary() { return sSummary; }

// The grid coordinates whose truncated pixel lies in [low, high]: pixels
// grow with the grid coordinate, so they form one range, found by bisection
// over the 16-bit grid. Empty when *first > *last.
static void GridRange(int (*toPixel)(int), int low, int high, int* first, int* last) {
    auto firstWith = [toPixel](int pixel) {   // the smallest grid value reaching `pixel`
        int lo = 0, hi = 65536;
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (toPixel(mid) >= pixel) hi = mid;
            else lo = mid + 1;
        }
        return lo;
    };
    *first = firstWith(low);
    *last = firstWith(high + 1) - 1;
}

void MapPick(int mouseX, int mouseY) {
    HoverSummary* out = &sSummary;
    *out = HoverSummary{0, 0, 0, 0, 0};
    SetHoverPicks(-1, -1);
    const SettingsBlock& s = AppSettings;
    if (!gpEQ || mouseX < 3 || mouseX > 513 || mouseY < 3 || mouseY > 513 || s.selFirstIndex > s.selLastIndex)
        return;
    // The marker pixel within 5 left of / above and 1 right of / below the
    // cursor, as grid ranges: the walk compares integers only.
    int xFirst, xLast, yFirst, yLast;
    GridRange(GridToPixelXi, mouseX - 5, mouseX + 1, &xFirst, &xLast);
    GridRange(GridToPixelYi, mouseY - 5, mouseY + 1, &yFirst, &yLast);
    int hovered = -1;
    for (int i = MatchWindowStart(); InMatchWindow(i); i++) {
        const QuakeRecord& r = gpEQ[i];
        if (r.inFilter == 1 && r.mapX >= xFirst && r.mapX <= xLast && r.mapY >= yFirst && r.mapY <= yLast) {
            hovered = i;
            break;
        }
    }
    if (hovered < 0) return;
    const int regionNewest = FirstInRegion(hovered);
    SetHoverPicks(regionNewest, -1);
    if (regionNewest < 0) return;

    const int region = gpEQ[regionNewest].regionIndex;
    long long sum = 0;
    for (int i = MatchWindowStart(); InMatchWindow(i); i++) {
        const QuakeRecord& r = gpEQ[i];
        if (r.inFilter != 1 || r.regionIndex != region) continue;
        if (out->count == 0) SetHoverPicks(regionNewest, i);
        out->count++;
        out->maxMag10 = std::max(out->maxMag10, int(r.magnitude10));
        sum += r.magnitude10;
    }
    out->hovered = 1;
    out->region = region;
    out->meanMag10 = out->count > 0 ? int(sum / out->count) : 0;
}

void MapRelease() {
    if (gSelectedRecordA >= 0) SelectRecord(gSelectedRecordA, SELECT_MAP);
}
