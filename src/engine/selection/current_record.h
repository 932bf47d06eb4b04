// The current record and the two records the map pick selects, for reading.
// Their one writer is the selection module (engine/selection/selection.h):
// every change goes through SelectRecord and its siblings there.
#pragma once

#include <cstdint>

extern const int32_t& gCurrentRecord;
extern const int& gSelectedRecordA;   // the hovered region's newest match, -1 for none
extern const int& gSelectedRecordB;   // the first match of that region in the window, -1 for none
