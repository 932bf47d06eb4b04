#include "win/mapview/overlay_gdi.h"

static COLORREF Color(PanelColor c) { return RGB(c.r, c.g, c.b); }

void OverlayPolygon(HDC dc, PanelColor outline, PanelColor fill, const POINT* points, int count) {
    HPEN pen = CreatePen(PS_SOLID, 1, Color(outline));
    HBRUSH brush = CreateSolidBrush(Color(fill));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    Polygon(dc, points, count);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

void OverlayBox(HDC dc, PanelColor outline, PanelColor fill, const PanelRect& r) {
    const POINT corners[4] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    OverlayPolygon(dc, outline, fill, corners, 4);
}

void OverlayFill(HDC dc, PanelColor fill, const PanelRect& r) {
    HBRUSH brush = CreateSolidBrush(Color(fill));
    RECT box = {r.left, r.top, r.right, r.bottom};
    FillRect(dc, &box, brush);
    DeleteObject(brush);
}

void OverlayPolyline(HDC dc, PanelColor color, const OverlayPoint* points, int count) {
    POINT line[kRegionGraphPoints];   // the longest curve of the panels
    if (count > kRegionGraphPoints) count = kRegionGraphPoints;
    if (count < 2) return;
    for (int i = 0; i < count; i++) line[i] = POINT{points[i].x, points[i].y};
    HPEN pen = CreatePen(PS_SOLID, 1, Color(color));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Polyline(dc, line, count);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void OverlayTexts(HDC dc, const OverlayText* texts, int count) {
    const COLORREF oldColor = GetTextColor(dc);
    for (int i = 0; i < count; i++) {
        const OverlayText& t = texts[i];
        wchar_t wide[256];
        if (MultiByteToWideChar(932, 0, t.text, -1, wide, 256) == 0) continue;
        UINT flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
        flags |= t.align == ALIGN_RIGHT ? DT_RIGHT : t.align == ALIGN_CENTER ? DT_CENTER : DT_LEFT;
        RECT box = {t.rect.left, t.rect.top, t.rect.right, t.rect.bottom};
        SetTextColor(dc, Color(t.color));
        DrawTextW(dc, wide, -1, &box, flags);
    }
    SetTextColor(dc, oldColor);
}
