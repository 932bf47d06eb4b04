// A panel's picture: the shapes and texts its bitmap is painted with, in
// painting order, as plain numbers and strings. The engine builds one per
// panel and tick (picking and state changes happen while it builds); the
// Windows side paints it with GDI and does nothing else. Coordinates are
// panel pixels.
#pragma once

#include "engine/picture/panel_data.h"

enum PictureShape {
    SHAPE_POLYGON = 0,   // outlined and filled polygon through the points
    SHAPE_RECTANGLE,     // outlined and filled rectangle, right and bottom edges outside
    SHAPE_FILL,          // filled rectangle without outline, right and bottom edges excluded
    SHAPE_POLYLINE,      // lines through the points in order, 1 pixel wide
    SHAPE_TEXT,          // single line, vertically centred, an ellipsis when too long
};

enum TextEncoding { TEXT_SJIS = 0, TEXT_UTF8 = 1 };

struct PictureItem {
    int shape;
    PanelColor pen, fill;        // outline / line colour and fill colour
    PanelRect rect;              // SHAPE_RECTANGLE, SHAPE_FILL
    int firstPoint, pointCount;  // SHAPE_POLYGON, SHAPE_POLYLINE
    int text, encoding;          // SHAPE_TEXT: index into texts, TextEncoding
};

enum { kPictureItems = 160, kPicturePoints = 1024, kPictureTexts = 64 };

struct PanelPicture {
    int paint;   // 0: the bitmap keeps what it shows
    int itemCount, pointCount, textCount;
    PictureItem items[kPictureItems];
    OverlayPoint points[kPicturePoints];
    OverlayText texts[kPictureTexts];
};

// An empty picture that paints (paint 1). An item that would not fit is left out.
void ClearPicture(PanelPicture* picture);
void AddPolygon(PanelPicture* picture, PanelColor outline, PanelColor fill, const OverlayPoint* points,
                int count);
// The closed polygon of the rectangle's four corners: outline on all four edges, both ends included.
void AddBox(PanelPicture* picture, PanelColor outline, PanelColor fill, const PanelRect& r);
void AddRectangle(PanelPicture* picture, PanelColor outline, PanelColor fill, const PanelRect& r);
void AddFill(PanelPicture* picture, PanelColor fill, const PanelRect& r);
// A polyline of fewer than two points draws nothing and is left out.
void AddPolyline(PanelPicture* picture, PanelColor color, const OverlayPoint* points, int count);
void AddLine(PanelPicture* picture, PanelColor color, OverlayPoint from, OverlayPoint to);
void AddTexts(PanelPicture* picture, const OverlayText* texts, int count);
// A UTF-8 text in the given colour.
void AddUtf8Text(PanelPicture* picture, const char* utf8, const PanelRect& r, int align, PanelColor color);
