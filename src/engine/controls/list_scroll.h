// The two list windows as numbers: the layout of each window, the header,
// scroll bar, row and save button state kept between messages, and the
// arithmetic of scrolling, the thumb, row picking and the texts of the rows
// and the counter. The Win32 module (list_window.cpp) only paints these
// numbers and feeds messages in.
#pragma once

#include <cstddef>
#include <cstdint>

struct QuakeRecord;
struct RecordList;

struct ListRect {
    int left, top, right, bottom;
};

struct ListSpan {   // both ends inclusive
    int low, high;
};

enum {
    kMaxListColumns = 5,
    kMaxListPage = 38,
    kListFirstRowTop = 22,   // top of the first row's text and fill bands
    kListRowPitch = 18,
};

// Everything that differs between the condition list window and the second
// (region) list window. Rectangles are client pixels, left, top, right,
// bottom; outlined shapes pass through their corner points.
struct ListLayout {
    int regionList;            // 0 the condition list, 1 the region list
    int settingsSlot;          // element of AppSettings.winX / winY
    int refreshCommand;
    int width, height;         // outer window size
    int page;                  // rows drawn; keys and clamps stop at count - page
    int columns;
    ListRect headerCells[kMaxListColumns];
    ListRect headerTextRects[kMaxListColumns];
    ListSpan headerHitX[kMaxListColumns];   // y 1..19
    int sortColumns[kMaxListColumns];       // SortColumn of each header cell
    const char* headerTexts[kMaxListColumns];   // UTF-8
    ListRect rowFrame;
    ListRect rowMouse;         // inclusive: where the mouse counts as in the rows
    int rowTextRight;
    int rowFillRight;          // also the highlight's right edge
    int intensityLeft, intensityRight;   // the intensity label, right-aligned
    int hoverLineRight;
    ListRect counter;
    ListRect saveButton;       // also its hit area, inclusive
    ListRect upButton, downButton, upGlyph, downGlyph, track;
    int trackLength;
    int thumbLeft, thumbRight, thumbTop, pinnedBottom;
    ListSpan hoverX, hoverUpY, hoverDownY, hoverTrackY;   // scroll bar hover areas
    ListSpan stepX, stepDownY;                            // single-step release areas
    int stepUpMaxY;
};

extern const ListLayout kConditionListLayout;
extern const ListLayout kRegionListLayout;

// What one list window remembers between messages.
struct ListControls {
    int mouseX, mouseY;        // last client position of the mouse
    int mouseInRows;
    int hoverColumn, pressedColumn;   // header cells, 0 none
    int scrollHover;           // 0 none, 1 up arrow, 2 down arrow, 3 track (sticky while held)
    int scrollRepeat;          // 0, 1 up auto-repeat, 2 down auto-repeat
    int upTicks, downTicks, upStep, downStep;
    int saveHover, savePressed;
};

enum ScrollHover { SCROLL_NONE = 0, SCROLL_UP = 1, SCROLL_DOWN = 2, SCROLL_TRACK = 3 };
enum HeaderMode { HEADER_HOVER = 0, HEADER_PRESS = 1, HEADER_RELEASE = 2 };
enum ListKey { LIST_KEY_PAGE_UP, LIST_KEY_PAGE_DOWN, LIST_KEY_UP, LIST_KEY_DOWN };

// The list a layout shows (gConditionList or gRegionList).
RecordList* LayoutList(const ListLayout& layout);

// topRow kept between 0 and count - page (0 when the list is shorter than a page).
int ClampTopRow(int topRow, int count, int page);
// Keys and the wheel (a positive delta scrolls up one row, any other down one).
void ScrollByKey(const ListLayout& layout, RecordList* list, ListKey key);
void ScrollByWheel(const ListLayout& layout, RecordList* list, int wheelDelta);

// The scroll bar thumb. Its length shrinks with the number of pages; its
// offset is computed in single precision; at the end of the list (and so
// for an empty or short list) it is pinned to the bottom of the track.
int ThumbLength(const ListLayout& layout, int count);
int DragThumbLength(const ListLayout& layout, int count);
ListRect ThumbRect(const ListLayout& layout, int count, int topRow);

// A mouse move to client position (x, y).
void MoveMouse(ListControls* c, const ListLayout& layout, int x, int y);
// The header cell under the mouse (1..columns) or 0.
int HeaderCellAt(const ListLayout& layout, int x, int y);
// Hover, press or release on the header: a release on the cell where the
// press went down sorts the list by that column.
void TrackHeader(ListControls* c, const ListLayout& layout, RecordList* list, HeaderMode mode);
// The scroll bar on every tick and on button down: hover, arrow auto-repeat
// (every sixth call, growing steps up to 200 rows) and thumb dragging while
// `buttonDown`; counters reset when the button is up.
void ScrollBarStep(ListControls* c, const ListLayout& layout, RecordList* list, int buttonDown);
// Button up at (x, y) over the arrow that was hovered: one more row.
void StepScrollArrow(ListControls* c, const ListLayout& layout, RecordList* list, int x, int y);
// The record of the row under client y, or -1: below the last row, on an
// end marker, outside the list or on a record that does not match.
int RecordAtRow(const ListLayout& layout, const RecordList& list, int y);
// Button down on the rows (only while the mouse is in them and the window is
// active): the record becomes the list's highlight, gCurrentRecord and
// AppSettings.selFirst; the other list follows. Returns the record or -1.
int SelectRowAt(ListControls* c, const ListLayout& layout, RecordList* list, int active);
// 1 (saveHover set) while the mouse is on the save button; 0 clears both flags.
int TrackSaveButton(ListControls* c, const ListLayout& layout);

// ---- what the paint draws ----

// Clamps topRow as the paint does and collects the records of the rows
// drawn, from the top row on, never past the end of the list. Returns how
// many (at most page).
int RowsToDraw(const ListLayout& layout, RecordList* list, int records[kMaxListPage]);
void RowBands(const ListLayout& layout, int row, ListRect* text, ListRect* fill);
ListRect HighlightBand(const ListLayout& layout, int row);
// The y of the hover line under the mouse, at most the row frame's bottom.
int HoverLineY(const ListLayout& layout, int mouseY);
// 0x00BBGGRR: RGB((2m) mod 256, m div 2, m div 3), m = magnitude10.
uint32_t RowTint(int magnitude10);

struct ListCounter {
    int count, firstRow, lastRow;
};
ListCounter CounterValues(const ListLayout& layout, const RecordList& list);
// "該当件数:%4d [ %4d - %4d ]" (UTF-8); the region list leaves out the label.
void FormatCounter(const ListLayout& layout, const RecordList& list, char* out, size_t size);
// One row's text in Shift-JIS (the region name is Shift-JIS); the region
// list's rows have no region column.
void FormatListRow(const ListLayout& layout, const QuakeRecord& r, char* out, size_t size);
