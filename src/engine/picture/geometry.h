// The map view's projection of grid positions to its pixels. The projection
// from latitude/longitude to the grid and the data kit's grid -> pixel
// mapping live in engine/catalogue/geo.h, which this header passes on.
#pragma once

#include "engine/catalogue/geo.h"

// The program's projection of a record's grid position to a pixel of the map
// view, with the scale in single precision (1.52f = 1.5199999809...) and the
// product formed in double precision: untruncated as a float, or truncated
// toward zero. Truncating gives 37 for 25 grid units where a float product
// would round up to 38.
constexpr float kGridToPixel = 1.52f;
float GridToPixelX(int gridX);
float GridToPixelY(int gridY);
int GridToPixelXi(int gridX);
int GridToPixelYi(int gridY);
