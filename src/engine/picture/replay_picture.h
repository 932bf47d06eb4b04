// The replay's markers: the newest kMarkerQuads on-map events of the time
// line up to the replay clock, drawn as the map's markers (depth colour,
// magnitude size) in a ring of quad slots, each new one flashing (larger,
// towards white) for its first kReplayFlashMs of replay. A step writes only
// the slots of new and flashing events, so its work grows with them and not
// with the catalogue.
#pragma once

#include "engine/analysis/replay.h"
#include "engine/picture/markers.h"

struct QuakeRecord;

struct ReplayMarkers {
    int placed;                     // events of the time line placed so far
    int onMap;                      // on-map events placed so far (the ring's next slot is onMap mod kMarkerQuads)
    int flashFrom;                  // the first event that flashed at the last step
    int slotEvent[kMarkerQuads];    // the time line event each slot shows, -1 for none
};

// Empty ring, every quad transparent.
void ResetReplayMarkers(ReplayMarkers* markers, TexturedScreenVertex out[kMarkerVertices]);

// Brings the ring to `clockMinute` (never backwards: after a rebuilt time
// line, reset first). Events flash while their minute lies within
// `flashMinutes` before the clock. Returns the slots in use.
int StepReplayMarkers(const ReplayTimeline& timeline, const QuakeRecord* records, double clockMinute,
                      double flashMinutes, ReplayMarkers* markers, TexturedScreenVertex out[kMarkerVertices]);

// The running replay's markers at its clock (only new and flashing slots
// change); the slots in use.
int BuildReplayQuads(TexturedScreenVertex out[kMarkerVertices]);
