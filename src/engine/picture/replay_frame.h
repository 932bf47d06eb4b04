// One frame of a replay as an RGB image, for wolt-cli: the map image as the
// view shows it, the replay's marker quads added to it the way the view
// blends them (the marker sprite's light, additive), and the replay clock
// and count written in a small digit font at the top left.
#pragma once

#include <vector>

#include "engine/picture/markers.h"

struct BmpImage;

enum { kFrameSide = 512 };

// Top-down rows of red, green, blue, kFrameSide x kFrameSide. `map` is the
// map image (at least kFrameSide square); `stamp` holds digits, '/', ':'
// and blanks (other characters are left blank).
void RenderReplayFrame(const BmpImage& map, const TexturedScreenVertex* quads, int quadCount, const char* stamp,
                       std::vector<unsigned char>* rgb);
