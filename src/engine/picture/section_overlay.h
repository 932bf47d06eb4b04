// The cross-section's line and the outline of its strip on the map, for the
// view's line buffer.
#pragma once

#include "engine/picture/markers.h"

enum { kSectionOverlayVertices = 10 };
// Five lines; all transparent when there is neither a line being drawn nor a section.
void BuildSectionOverlay(ColoredScreenVertex out[kSectionOverlayVertices]);
