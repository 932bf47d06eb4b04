#include "engine/picture/geometry.h"

static double ViewPixelX(int gridX) { return (gridX - kGridLeft) * static_cast<double>(kGridToPixel); }
static double ViewPixelY(int gridY) { return gridY * static_cast<double>(kGridToPixel); }

float GridToPixelX(int gridX) { return static_cast<float>(ViewPixelX(gridX)); }
float GridToPixelY(int gridY) { return static_cast<float>(ViewPixelY(gridY)); }
int GridToPixelXi(int gridX) { return static_cast<int>(ViewPixelX(gridX)); }
int GridToPixelYi(int gridY) { return static_cast<int>(ViewPixelY(gridY)); }
