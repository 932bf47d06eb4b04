#include "engine/picture/replay_picture.h"

#include "engine/controls/replay_controls.h"
#include "engine/model/geo.h"
#include "engine/model/records.h"

void ResetReplayMarkers(ReplayMarkers* markers, TexturedScreenVertex out[kMarkerVertices]) {
    markers->placed = markers->onMap = markers->flashFrom = 0;
    for (int& e : markers->slotEvent) e = -1;
    InitMarkerQuads(out, kMarkerQuads);
}

static int OnMap(const QuakeRecord& r) { return PixelOnMap(GridToPixelXi(r.mapX), GridToPixelYi(r.mapY)); }

// An event's marker; `flash` from 1 (just happened) to 0 (a plain marker)
// doubles its size and turns it towards white.
static void DrawEvent(const QuakeRecord& r, double flash, TexturedScreenVertex q[4]) {
    const uint32_t depth = DepthColor(r.depthKm);
    const double towardsWhite = 0.6 * flash;
    uint32_t color = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int c = int((depth >> shift) & 0xFF);
        color |= uint32_t(c + int((255 - c) * towardsWhite)) << shift;
    }
    const int size = MarkerHalfSize(r.magnitude10, 0);
    SetMarkerQuad(q, GridToPixelXi(r.mapX), GridToPixelYi(r.mapY), int(size * (1 + flash)), color);
}

static double FlashOf(double eventMinute, double clockMinute, double flashMinutes) {
    if (flashMinutes <= 0) return 0;
    const double f = 1 - (clockMinute - eventMinute) / flashMinutes;
    return f < 0 ? 0 : f > 1 ? 1 : f;
}

int StepReplayMarkers(const ReplayTimeline& timeline, const QuakeRecord* records, double clockMinute,
                      double flashMinutes, ReplayMarkers* markers, TexturedScreenVertex out[kMarkerVertices]) {
    const int visible = ReplayVisibleCount(timeline, clockMinute);
    // Only the newest kMarkerQuads on-map events stay in the ring: a long
    // step starts where they start.
    int from = visible;
    for (int kept = 0; from > markers->placed && kept < kMarkerQuads;)
        if (OnMap(records[timeline.records[--from]])) kept++;
    for (int e = from; e < visible; e++) {
        const QuakeRecord& r = records[timeline.records[e]];
        if (!OnMap(r)) continue;
        const int slot = markers->onMap++ % kMarkerQuads;
        markers->slotEvent[slot] = e;
        DrawEvent(r, FlashOf(timeline.minutes[e], clockMinute, flashMinutes), out + 4 * slot);
    }
    if (visible > markers->placed) markers->placed = visible;

    // The flashing events, and those that flashed at the last step, are the
    // newest slots: redrawn newest first down to the older of the two starts.
    const int flashFrom = ReplayVisibleCount(timeline, clockMinute - flashMinutes);
    const int redrawFrom = flashFrom < markers->flashFrom ? flashFrom : markers->flashFrom;
    const int used = markers->onMap < kMarkerQuads ? markers->onMap : kMarkerQuads;
    for (int k = 1; k <= used; k++) {
        const int slot = (markers->onMap - k) % kMarkerQuads;
        const int e = markers->slotEvent[slot];
        if (e < redrawFrom) break;
        DrawEvent(records[timeline.records[e]], FlashOf(timeline.minutes[e], clockMinute, flashMinutes),
                  out + 4 * slot);
    }
    markers->flashFrom = flashFrom;
    return used;
}

int BuildReplayQuads(TexturedScreenVertex out[kMarkerVertices]) {
    static ReplayMarkers ring;
    static int ringGeneration = -1;
    if (ringGeneration != ReplayTimelineGeneration()) {
        ResetReplayMarkers(&ring, out);
        ringGeneration = ReplayTimelineGeneration();
    }
    const double flash = ReplayMinutes(CurrentReplayDaysPerSecond(), kReplayFlashMs / 1000.0);
    return StepReplayMarkers(CurrentReplayTimeline(), gpEQ, CurrentReplayClock(), flash, &ring, out);
}
