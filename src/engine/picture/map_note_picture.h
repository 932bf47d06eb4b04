// What the top-left panel over the map shows while the map is busy with
// something else than the newest earthquakes: the replay's read-out (state,
// clock, count, speed, progress and keys) or, while a cross-section's line
// is wanted, how to draw it.
#pragma once

struct PanelPicture;

// 1 with the note's picture in *out; 0 when the panel shows the recent
// events as always (*out untouched).
int BuildMapNotePicture(int width, int height, PanelPicture* out);
