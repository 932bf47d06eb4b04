// GDI steps shared by the overlay panels: filled polygons and rectangles,
// polylines and the panels' single-line texts, each pen and brush created
// for one step and deleted right after it. Win32 only.
#pragma once

#include <windows.h>

#include "engine/picture/panel_data.h"

// A polygon with an outline and a fill colour.
void OverlayPolygon(HDC dc, PanelColor outline, PanelColor fill, const POINT* points, int count);
// The closed rectangle polygon of `r`: outline on all four edges, both ends included.
void OverlayBox(HDC dc, PanelColor outline, PanelColor fill, const PanelRect& r);
// A filled rectangle without outline, right and bottom edges excluded.
void OverlayFill(HDC dc, PanelColor fill, const PanelRect& r);
// Lines through the points in order, 1 pixel wide.
void OverlayPolyline(HDC dc, PanelColor color, const OverlayPoint* points, int count);
// Shift-JIS texts drawn through the wide API: single line, vertically
// centred, aligned as given, an ellipsis at the end when too long.
void OverlayTexts(HDC dc, const OverlayText* texts, int count);
