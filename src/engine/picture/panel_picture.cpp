#include "engine/picture/panel_picture.h"

#include <cstdio>

void ClearPicture(PanelPicture* picture) {
    picture->paint = 1;
    picture->itemCount = picture->pointCount = picture->textCount = 0;
}

static PictureItem* NewItem(PanelPicture* picture, int shape) {
    if (picture->itemCount >= kPictureItems) return nullptr;
    PictureItem* item = &picture->items[picture->itemCount++];
    *item = PictureItem{shape, {0, 0, 0}, {0, 0, 0}, {0, 0, 0, 0}, 0, 0, 0, TEXT_SJIS};
    return item;
}

static void AddPointShape(PanelPicture* picture, int shape, PanelColor pen, PanelColor fill,
                          const OverlayPoint* points, int count) {
    if (count < 1 || picture->pointCount + count > kPicturePoints) return;
    PictureItem* item = NewItem(picture, shape);
    if (!item) return;
    item->pen = pen;
    item->fill = fill;
    item->firstPoint = picture->pointCount;
    item->pointCount = count;
    for (int i = 0; i < count; i++) picture->points[picture->pointCount++] = points[i];
}

void AddPolygon(PanelPicture* picture, PanelColor outline, PanelColor fill, const OverlayPoint* points,
                int count) {
    AddPointShape(picture, SHAPE_POLYGON, outline, fill, points, count);
}

void AddBox(PanelPicture* picture, PanelColor outline, PanelColor fill, const PanelRect& r) {
    const OverlayPoint corners[4] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    AddPolygon(picture, outline, fill, corners, 4);
}

static void AddRectShape(PanelPicture* picture, int shape, PanelColor pen, PanelColor fill, const PanelRect& r) {
    PictureItem* item = NewItem(picture, shape);
    if (!item) return;
    item->pen = pen;
    item->fill = fill;
    item->rect = r;
}

void AddRectangle(PanelPicture* picture, PanelColor outline, PanelColor fill, const PanelRect& r) {
    AddRectShape(picture, SHAPE_RECTANGLE, outline, fill, r);
}

void AddFill(PanelPicture* picture, PanelColor fill, const PanelRect& r) {
    AddRectShape(picture, SHAPE_FILL, fill, fill, r);
}

void AddPolyline(PanelPicture* picture, PanelColor color, const OverlayPoint* points, int count) {
    if (count >= 2) AddPointShape(picture, SHAPE_POLYLINE, color, color, points, count);
}

void AddLine(PanelPicture* picture, PanelColor color, OverlayPoint from, OverlayPoint to) {
    const OverlayPoint points[2] = {from, to};
    AddPolyline(picture, color, points, 2);
}

static OverlayText* NewText(PanelPicture* picture, int encoding) {
    if (picture->textCount >= kPictureTexts) return nullptr;
    PictureItem* item = NewItem(picture, SHAPE_TEXT);
    if (!item) return nullptr;
    item->text = picture->textCount;
    item->encoding = encoding;
    return &picture->texts[picture->textCount++];
}

void AddTexts(PanelPicture* picture, const OverlayText* texts, int count) {
    for (int i = 0; i < count; i++)
        if (OverlayText* t = NewText(picture, TEXT_SJIS)) *t = texts[i];
}

void AddUtf8Text(PanelPicture* picture, const char* utf8, const PanelRect& r, int align, PanelColor color) {
    if (OverlayText* t = NewText(picture, TEXT_UTF8)) SetOverlayText(t, r, align, color, "%s", utf8);
}
