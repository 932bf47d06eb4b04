#include "engine/controls/list_scroll.h"

#include <algorithm>
#include <cstdio>

#include "engine/model/records.h"
#include "engine/model/commands.h"
#include "engine/model/settings.h"
#include "engine/selection/lists.h"
#include "engine/selection/selection.h"
#include "engine/selection/sorting.h"

enum {
    kMaxRepeatStep = 200,
    kRepeatTicks = 5,     // the step fires on the call after the fifth
    kDragOrigin = 16,     // thumb drag: index = (y - 16) / thumb length
    kHeaderHitTop = 1,
    kHeaderHitBottom = 19,
    kMinThumb = 10,
};

// Condition list window (class wolt_EQLIST), 508 x 520, 24 rows.
const ListLayout kConditionListLayout = {
    0, 1, CMD_LIST_REFRESH, 508, 520, 24, 5,
    {{0, 0, 131, 19}, {132, 0, 301, 20}, {301, 0, 348, 20}, {348, 0, 395, 20}, {395, 0, 463, 20}},
    {{0, 4, 132, 20}, {132, 4, 300, 20}, {301, 4, 348, 20}, {348, 4, 395, 20}, {395, 4, 463, 20}},
    {{1, 131}, {133, 300}, {302, 347}, {349, 394}, {396, 462}},
    {SORT_DATE, SORT_REGION, SORT_DEPTH, SORT_MAGNITUDE, SORT_INTENSITY},
    {"日時", "震源地", "深さ", "規模", "最大震度"},
    {0, 20, 464, 454},
    {2, 20, 464, 454},
    462, 463,
    395, 463,
    462,
    {4, 458, 386, 476},
    {394, 459, 484, 481},
    {464, 0, 484, 20}, {464, 434, 484, 454}, {465, 0, 485, 20}, {465, 434, 485, 454},
    {464, 21, 484, 433},
    410,
    465, 484, 21, 432,
    {465, 485}, {0, 20}, {434, 454}, {21, 433},
    {465, 484}, {434, 454},
    20,
};

// Second (region) list window (class wolt_EQLIST2), 320 x 772, 38
// rows, no region column. The row text ends one pixel left of the fill band,
// as in the first window.
const ListLayout kRegionListLayout = {
    1, 3, CMD_LIST2_REFRESH, 320, 772, 38, 4,
    {{0, 0, 131, 19}, {132, 0, 179, 20}, {180, 0, 227, 20}, {228, 0, 275, 20}},
    {{0, 4, 132, 20}, {132, 4, 180, 20}, {180, 4, 227, 20}, {227, 4, 274, 20}},
    {{1, 131}, {133, 178}, {180, 225}, {227, 272}},
    {SORT_DATE, SORT_DEPTH, SORT_MAGNITUDE, SORT_INTENSITY},
    {"日時", "深さ", "規模", "震度"},
    {0, 20, 276, 706},
    {2, 20, 276, 706},
    274, 275,
    227, 267,
    274,
    {4, 709, 386, 727},
    {206, 710, 296, 732},
    {276, 0, 296, 20}, {276, 686, 296, 706}, {277, 0, 295, 20}, {277, 686, 295, 706},
    {276, 21, 296, 685},
    665,
    277, 296, 21, 687,
    {277, 295}, {0, 20}, {686, 706}, {21, 685},
    {277, 295}, {686, 706},
    20,
};

static bool In(const ListSpan& span, int v) { return v >= span.low && v <= span.high; }

RecordList* LayoutList(const ListLayout& layout) {
    return layout.regionList ? &gRegionList : &gConditionList;
}

int ClampTopRow(int topRow, int count, int page) {
    return std::max(0, std::min(topRow, count - page));
}

void ScrollByKey(const ListLayout& layout, RecordList* list, ListKey key) {
    int delta = 0;
    switch (key) {
    case LIST_KEY_PAGE_UP: delta = -layout.page; break;
    case LIST_KEY_PAGE_DOWN: delta = layout.page; break;
    case LIST_KEY_UP: delta = -1; break;
    case LIST_KEY_DOWN: delta = 1; break;
    }
    list->topRow = ClampTopRow(list->topRow + delta, list->count, layout.page);
}

void ScrollByWheel(const ListLayout& layout, RecordList* list, int wheelDelta) {
    ScrollByKey(layout, list, wheelDelta > 0 ? LIST_KEY_UP : LIST_KEY_DOWN);
}

// Whole pages beyond the first, truncated (negative for a short list).
static int ExtraPages(const ListLayout& layout, int count) {
    return (count - layout.page) / layout.page;
}

int ThumbLength(const ListLayout& layout, int count) {
    int pages = ExtraPages(layout, count);
    return pages >= 1 ? std::max(int(kMinThumb), layout.trackLength / pages) : layout.trackLength;
}

int DragThumbLength(const ListLayout& layout, int count) {
    if (ExtraPages(layout, count) >= 1) return ThumbLength(layout, count);
    return count <= layout.page ? layout.trackLength : kMinThumb;
}

ListRect ThumbRect(const ListLayout& layout, int count, int topRow) {
    int length = ThumbLength(layout, count);
    // The pinned case is decided first: it covers the empty list, whose
    // offset would divide by a count of 0.
    if (topRow >= count - layout.page)
        return ListRect{layout.thumbLeft, layout.pinnedBottom - length, layout.thumbRight,
                        layout.pinnedBottom};
    // Here count > page + topRow > 0. The offset is 410 * topRow / count,
    // evaluated in single precision in this order.
    float total = float(count);
    float perPage = total / float(layout.page);
    float share = perPage * (float(topRow) / perPage) / total * float(layout.trackLength);
    int offset = std::min(int(share), layout.trackLength - length);
    return ListRect{layout.thumbLeft, layout.thumbTop + offset, layout.thumbRight,
                    layout.thumbTop + offset + length};
}

void MoveMouse(ListControls* c, const ListLayout& layout, int x, int y) {
    c->mouseX = x;
    c->mouseY = y;
    const ListRect& rows = layout.rowMouse;
    c->mouseInRows = x >= rows.left && x <= rows.right && y >= rows.top && y <= rows.bottom;
}

int HeaderCellAt(const ListLayout& layout, int x, int y) {
    if (y < kHeaderHitTop || y > kHeaderHitBottom) return 0;
    for (int i = 0; i < layout.columns; i++)
        if (In(layout.headerHitX[i], x)) return i + 1;
    return 0;
}

void TrackHeader(ListControls* c, const ListLayout& layout, RecordList* list, HeaderMode mode) {
    c->hoverColumn = HeaderCellAt(layout, c->mouseX, c->mouseY);
    if (mode == HEADER_PRESS && c->hoverColumn != 0) c->pressedColumn = c->hoverColumn;
    if (mode == HEADER_RELEASE) {
        if (c->pressedColumn != 0 && c->pressedColumn == c->hoverColumn)
            SortList(list, layout.sortColumns[c->hoverColumn - 1]);
        c->pressedColumn = 0;
    }
}

// One auto-repeat call of a held arrow: every sixth call scrolls by a step
// that grows by one row each time, up to 200.
static bool RepeatFires(int* ticks, int* step) {
    if (++*ticks <= kRepeatTicks) return false;
    *step = std::min(*step + 1, int(kMaxRepeatStep));
    *ticks = 0;
    return true;
}

static void DragThumb(const ListControls* c, const ListLayout& layout, RecordList* list) {
    int length = DragThumbLength(layout, list->count);
    int index = int(float(c->mouseY - kDragOrigin) / float(length));
    int positions = layout.trackLength / length;
    int step = positions > 0 ? list->count / positions : 0;
    list->topRow = ClampTopRow(index * step, list->count, layout.page);
}

void ScrollBarStep(ListControls* c, const ListLayout& layout, RecordList* list, int buttonDown) {
    if (c->scrollHover != SCROLL_TRACK) c->scrollHover = SCROLL_NONE;
    if (In(layout.hoverX, c->mouseX)) {
        if (In(layout.hoverUpY, c->mouseY))
            c->scrollHover = SCROLL_UP;
        else if (In(layout.hoverDownY, c->mouseY))
            c->scrollHover = SCROLL_DOWN;
        else if (In(layout.hoverTrackY, c->mouseY))
            c->scrollHover = SCROLL_TRACK;
    }
    c->scrollRepeat = 0;
    if (!buttonDown) {
        c->upTicks = c->downTicks = c->upStep = c->downStep = 0;
        if (c->scrollHover == SCROLL_TRACK) c->scrollHover = SCROLL_NONE;
        return;
    }
    switch (c->scrollHover) {
    case SCROLL_UP:
        if (RepeatFires(&c->upTicks, &c->upStep))
            list->topRow = ClampTopRow(list->topRow - c->upStep, list->count, layout.page);
        c->scrollRepeat = 1;
        break;
    case SCROLL_DOWN:
        if (RepeatFires(&c->downTicks, &c->downStep))
            list->topRow = ClampTopRow(list->topRow + c->downStep, list->count, layout.page);
        c->scrollRepeat = 2;
        break;
    case SCROLL_TRACK: DragThumb(c, layout, list); break;
    default: break;
    }
}

void StepScrollArrow(ListControls* c, const ListLayout& layout, RecordList* list, int x, int y) {
    if (!In(layout.stepX, x)) return;
    if (c->scrollHover == SCROLL_UP && y <= layout.stepUpMaxY)
        ScrollByKey(layout, list, LIST_KEY_UP);
    else if (c->scrollHover == SCROLL_DOWN && In(layout.stepDownY, y))
        ScrollByKey(layout, list, LIST_KEY_DOWN);
}

// The slice [first, end) of the list, inside the entries.
static void ListRange(const RecordList& list, int* first, int* end) {
    *first = std::max(0, std::min(list.first, int(kMaxRecords)));
    *end = std::max(*first, std::min(list.end, int(kMaxRecords)));
}

int RecordAtRow(const ListLayout& layout, const RecordList& list, int y) {
    if (!list.entries || !gpEQ || y < layout.rowFrame.top) return -1;
    int row = (y - layout.rowFrame.top) / kListRowPitch;
    // The bottom pixel lines of the last band would count as the next row,
    // which is not on screen.
    if (row >= layout.page) return -1;
    int first, end;
    ListRange(list, &first, &end);
    int position = first + ClampTopRow(list.topRow, list.count, layout.page) + row;
    if (position >= end) return -1;
    int index = list.entries[position].displayIndex;
    if (index < 0 || index >= kMaxRecords || gpEQ[index].inFilter != 1) return -1;
    return index;
}

int SelectRowAt(ListControls* c, const ListLayout& layout, RecordList* list, int active) {
    if (!c->mouseInRows || !active) return -1;
    int record = RecordAtRow(layout, *list, c->mouseY);
    if (record < 0) return -1;
    SelectRecord(record, layout.regionList ? SELECT_REGION_LIST_ROW : SELECT_LIST_ROW);
    return record;
}

int TrackSaveButton(ListControls* c, const ListLayout& layout) {
    const ListRect& b = layout.saveButton;
    if (c->mouseX >= b.left && c->mouseX <= b.right && c->mouseY >= b.top && c->mouseY <= b.bottom) {
        c->saveHover = 1;
        return 1;
    }
    c->saveHover = c->savePressed = 0;
    return 0;
}

int RowsToDraw(const ListLayout& layout, RecordList* list, int records[kMaxListPage]) {
    list->topRow = ClampTopRow(list->topRow, list->count, layout.page);
    if (!list->entries || !gpEQ) return 0;
    int first, end;
    ListRange(*list, &first, &end);
    int rows = 0;
    for (int p = first + list->topRow; p < end && rows < layout.page; p++) {
        int index = list->entries[p].displayIndex;
        if (index >= 0 && index < kMaxRecords && gpEQ[index].magnitude10 == 0) break;
        // A row stays empty for an end marker or a record that does not
        // match, so that rows and positions keep lining up for the clicks.
        bool shown = index >= 0 && index < kMaxRecords && gpEQ[index].inFilter == 1;
        records[rows++] = shown ? index : -1;
    }
    return rows;
}

void RowBands(const ListLayout& layout, int row, ListRect* text, ListRect* fill) {
    int top = kListFirstRowTop + row * kListRowPitch;
    *text = ListRect{4, top, layout.rowTextRight, top + 16};
    *fill = ListRect{2, top, layout.rowFillRight, top + 17};
}

ListRect HighlightBand(const ListLayout& layout, int row) {
    int top = kListFirstRowTop + row * kListRowPitch;
    return ListRect{2, top - 1, layout.rowFillRight, top + 16};
}

int HoverLineY(const ListLayout& layout, int mouseY) {
    return std::min((mouseY + 16) / kListRowPitch * kListRowPitch + 2, layout.rowFrame.bottom);
}

uint32_t RowTint(int m) {
    return uint32_t((2 * m) % 256) | uint32_t(m / 2) << 8 | uint32_t(m / 3) << 16;
}

ListCounter CounterValues(const ListLayout& layout, const RecordList& list) {
    int top = ClampTopRow(list.topRow, list.count, layout.page);
    return ListCounter{list.count, top + 1, top + layout.page};
}

void FormatCounter(const ListLayout& layout, const RecordList& list, char* out, size_t size) {
    ListCounter v = CounterValues(layout, list);
    std::snprintf(out, size, layout.regionList ? "%4d [ %4d - %4d ]" : "該当件数:%4d [ %4d - %4d ]",
                  v.count, v.firstRow, v.lastRow);
}

void FormatListRow(const ListLayout& layout, const QuakeRecord& r, char* out, size_t size) {
    if (layout.regionList)
        std::snprintf(out, size, "%04d/%02d/%02d %02d:%02d   %3d  %.01f", r.year, r.month, r.day,
                      r.hour, r.minute, r.depthKm, r.magnitude10 * 0.1);
    else
        std::snprintf(out, size, "%04d/%02d/%02d %02d:%02d %20s   %3d  %.01f", r.year, r.month,
                      r.day, r.hour, r.minute, RegionName(r.regionIndex), r.depthKm,
                      r.magnitude10 * 0.1);
}
