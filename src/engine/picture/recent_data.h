// What the recent-events panel shows: the graph of the 192 newest matching
// earthquakes (time between consecutive events and magnitudes), the match
// counts, the strong-events tab and the card of the selected earthquake with
// its region's alert level. Plain numbers and Shift-JIS strings, which
// recent_picture turns into the panel's picture. Coordinates are panel pixels.
#pragma once

#include "engine/model/records.h"
#include "engine/picture/panel_data.h"

enum {
    kRecentEvents = 192,
    kRecentCurvePoints = 190,   // x 190 down to 1
    kRecentCardLines = 6,
};

// next(i): the first matching record after i up to selLastIndex, else
// selLastIndex.
int NextMatch(int record);

// Seconds from `older` to `newer`, each taken as local standard time (second
// 0): the same as difftime(mktime(newer), mktime(older)) in a zone without
// daylight saving time, with mktime's normalisation of out-of-range fields,
// but by calendar arithmetic, so it also holds before 1970 and beyond 2038.
double EventGapSeconds(const QuakeRecord& newer, const QuakeRecord& older);

// A polyline in drawing order (oldest point first, so each segment runs from
// the older event's point to the newer one's, as the panel draws them).
struct RecentCurve {
    int count;
    OverlayPoint points[kRecentCurvePoints];
};

struct RecentPanelData {
    RecentCurve interval;    // count 0: not drawn (selFirstIndex at the end of the store)
    RecentCurve magnitude;
    PanelColor strongFill;   // the strong-events tab
    PanelColor cardFill;     // the selected earthquake's card
    int cardLines;           // 0 when selFirst names no record
    OverlayText title;
    OverlayText counts[2];
    OverlayText strong[2];
    OverlayText card[kRecentCardLines];
};

// Everything the panel draws, from gpEQ and AppSettings as they stand.
void BuildRecentPanel(RecentPanelData* out);
