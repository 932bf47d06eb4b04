#include "win/mapview/picture_gdi.h"

#include "engine/picture/panel_picture.h"
#include "win/app/panel_font.h"
#include "platform/wide_text.h"

static COLORREF Color(PanelColor c) { return RGB(c.r, c.g, c.b); }

// The GDI calls' results are not checked one by one: a pen, brush or font
// that cannot be made leaves the memory bitmap's current one in place, a
// failed drawing call leaves that shape out of this paint only, and every
// object made here is deleted again (the GdiObjects test holds that).
// Selects a pen and a brush (nullptr: none) for one drawing step.
template <typename Draw>
static void WithPenAndBrush(HDC dc, const PictureItem& item, bool brush, Draw draw) {
    HPEN pen = CreatePen(PS_SOLID, 1, Color(item.pen));
    HBRUSH fill = brush ? CreateSolidBrush(Color(item.fill)) : nullptr;
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = fill ? SelectObject(dc, fill) : nullptr;
    draw();
    SelectObject(dc, oldPen);
    if (fill) SelectObject(dc, oldBrush);
    DeleteObject(pen);
    if (fill) DeleteObject(fill);
}

static void PaintText(HDC dc, const PictureItem& item, const OverlayText& t) {
    const std::wstring wide = ToWide(t.text, item.encoding == TEXT_UTF8 ? CP_UTF8 : CODE_PAGE_SJIS);
    if (wide.empty()) return;
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    flags |= t.align == ALIGN_RIGHT ? DT_RIGHT : t.align == ALIGN_CENTER ? DT_CENTER : DT_LEFT;
    RECT box = {t.rect.left, t.rect.top, t.rect.right, t.rect.bottom};
    SetTextColor(dc, Color(t.color));
    DrawTextW(dc, wide.c_str(), -1, &box, flags);
}

static void PaintItem(HDC dc, const PanelPicture& picture, const PictureItem& item, bool withFont) {
    POINT points[kPicturePoints];
    for (int i = 0; i < item.pointCount; i++) {
        const OverlayPoint& p = picture.points[item.firstPoint + i];
        points[i] = POINT{p.x, p.y};
    }
    const PanelRect& r = item.rect;
    switch (item.shape) {
    case SHAPE_POLYGON:
        WithPenAndBrush(dc, item, true, [&] { Polygon(dc, points, item.pointCount); });
        break;
    case SHAPE_RECTANGLE:
        WithPenAndBrush(dc, item, true, [&] { Rectangle(dc, r.left, r.top, r.right, r.bottom); });
        break;
    case SHAPE_POLYLINE:
        WithPenAndBrush(dc, item, false, [&] { Polyline(dc, points, item.pointCount); });
        break;
    case SHAPE_FILL: {
        HBRUSH brush = CreateSolidBrush(Color(item.fill));
        RECT box = {r.left, r.top, r.right, r.bottom};
        FillRect(dc, &box, brush);
        DeleteObject(brush);
        break;
    }
    default:   // SHAPE_TEXT: none without the font
        if (withFont) PaintText(dc, item, picture.texts[item.text]);
        break;
    }
}

void PaintPicture(HDC dc, const PanelPicture& picture) {
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = GetTextColor(dc);
    HFONT font = picture.textCount > 0 ? CreatePanelFont() : nullptr;
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    for (int i = 0; i < picture.itemCount; i++) PaintItem(dc, picture, picture.items[i], font != nullptr);
    if (font) {
        SelectObject(dc, oldFont);
        DeleteObject(font);
    }
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}
