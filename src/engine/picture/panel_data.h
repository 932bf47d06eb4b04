// What the hover panel, the selected-region panel and the bottom panel show,
// as plain numbers and strings: the map pick under the cursor and its region
// summary, the region box texts and the depth legend, the region data page
// (texts, graph curves, class-row pick) and the alert ranking page (rows,
// hover underline, row mark), from which the *_picture modules build the
// panels' pictures. All coordinates are panel pixels; texts are Shift-JIS,
// so that a fixed-pitch font lines up "%20s" columns of region names (two
// bytes, two columns).
#pragma once

#include "engine/controls/map_pick.h"

#include "engine/controls/layout.h"

struct OverlayText {
    PanelRect rect;
    int align;          // TextAlign
    PanelColor color;
    char text[192];     // Shift-JIS
};

struct OverlayPoint {
    int x, y;
};

// Fills a text: rectangle, alignment, colour and the printf of a Shift-JIS
// format (cut at the buffer's end).
void SetOverlayText(OverlayText* out, PanelRect rect, int align, PanelColor color, const char* format,
                    ...);

// --- Hover panel and map picking --------------------------------------------

// The panel's three lines: the region name (or "--- --- --- --- ---"), the
// count, the largest and mean magnitude. Returns 3.
int HoverPanelTexts(const HoverSummary& summary, OverlayText out[3]);

// --- Selected-region panel ---------------------------------------------------

enum { kDepthLegendBars = 15, kRegionPanelTexts = 11 };

// Bar k (top to bottom) of the depth legend: the filled rectangle and colour.
PanelRect DepthLegendBar(int k);
PanelColor DepthLegendColor(int k);
// The box texts of the current record's region (the region panel's summary,
// gRegionCount and friends, must have run), the legend labels, the site line
// (data server host, a blank, `appTitle`) and the credit line. Returns the count.
int RegionPanelTexts(const char* appTitle, OverlayText out[kRegionPanelTexts]);
// The site line and the credit line below the region box: they lie over the
// map, so a change of source or of the catalogue's kind clears them first.
extern const PanelRect kRegionSiteLine, kRegionCreditLine;

// --- Bottom panel ---------------------------------------------------------------

enum {
    kRegionGraphPoints = 253,   // x = 513, 511, ... 9
    kRegionPageTexts = 26,
    kAlertPageTexts = 3 + 9,
};

// The region graph of page 0: the current region's records in the matching
// window, newest first, one every 2 pixels leftward from x 513. The
// magnitude curve at y = 235 - magnitude10; the interval curve at y = 234 -
// days to the next older record of the region, at least 141. Points are in
// drawing order (newest first). Returns 0; both counts 0 without a current record.
struct RegionGraph {
    int magnitudeCount, intervalCount;
    OverlayPoint magnitude[kRegionGraphPoints];
    OverlayPoint interval[kRegionGraphPoints];
};
void BuildRegionGraph(RegionGraph* out);

// The texts of page 0 in drawing order: the tab titles, the period and
// counts, the class table, the graph legend and the recurrence rows. The
// region page summary must have run. Returns the count.
int RegionPageTexts(OverlayText out[kRegionPageTexts]);
// The texts of page 1: tab titles, header and the printed ranking rows
// (entries with an alert level of 0.1 or more, closed up). Returns the count.
int AlertPageTexts(OverlayText out[kAlertPageTexts]);


// The save (1) and close (2) buttons: rectangle, text rectangle, colours for
// the bottom panel's hover and pressed state.
struct BottomButton {
    PanelRect box, textBox;
    ButtonColors colors;
    const char* label;   // Shift-JIS
};
BottomButton BottomButtonAt(int button);
