#include "engine/picture/markers.h"

#include <cmath>

#include "engine/analysis/alert.h"
#include "engine/model/records.h"
#include "engine/model/geo.h"
#include "engine/model/settings.h"

static float sDistances[kDistanceRows][kDistanceColumns];
const float (&DistanceTable)[kDistanceRows][kDistanceColumns] = sDistances;
// Pulse of the selected earthquake's marker: level 0..255 and direction.
static int sSelectedPulse = 255;
static int sSelectedPulseDown = 0;   // 0 rising

enum {
    kPulseStep = 8,
    kNearDistance = 32,
    kFirstTolerance = 10,     // depth tolerances 10, 30, ..., 190 km
    kToleranceStep = 20,
    kToleranceCount = 10,
};
constexpr uint32_t kLinkAlpha = 0x80000000u;

int PixelOnMap(int px, int py) { return px <= kMapPixelLimit && py <= kMapPixelLimit; }

static int RecordOnMap(const QuakeRecord& r)
{
    return PixelOnMap(GridToPixelXi(r.mapX), GridToPixelYi(r.mapY));
}

static int ClampChannel(int c) { return c < 0 ? 0 : (c > 255 ? 255 : c); }

static uint32_t PackColor(uint32_t alpha, int r, int g, int b)
{
    return alpha << 24 | static_cast<uint32_t>(ClampChannel(r)) << 16 |
           static_cast<uint32_t>(ClampChannel(g)) << 8 | static_cast<uint32_t>(ClampChannel(b));
}

static void DepthChannels(int depthKm, int* r, int* g, int* b)
{
    int d = depthKm < 0 ? 0 : (depthKm > 204 ? 204 : depthKm);
    if (d < 68) {
        *r = 255;
        *g = static_cast<int>(255 - (68 - d) * 3.75);
        *b = 0;
    } else if (d < 136) {
        *r = static_cast<int>(255 - (d - 68) * 3.75);
        *g = 255;
        *b = 0;
    } else {
        *r = 0;
        *g = static_cast<int>(255 - (d - 136) * 3.75);
        *b = 255 - *g;
    }
}

uint32_t DepthColor(int depthKm)
{
    int r, g, b;
    DepthChannels(depthKm, &r, &g, &b);
    return PackColor(0xFF, r, g, b);
}

int MarkerHalfSize(int magnitude10, int selected)
{
    int s = static_cast<int>(powf(magnitude10 * 0.09f, 3.2f) / 10.0f);
    int least = selected ? 16 : 2;
    return s < least ? least : s;
}

void FillDistanceTable()
{
    for (int r = 0; r < kDistanceRows; ++r)
        for (int c = 0; c < kDistanceColumns; ++c)
            sDistances[r][c] = sqrtf(static_cast<float>(c * c + r * r));
}

// Pairs whose differences fall outside the table are never near (they are
// at least 447 grid units apart anyway).
static int Near(const QuakeRecord& a, const QuakeRecord& b)
{
    int dx = a.mapX > b.mapX ? a.mapX - b.mapX : b.mapX - a.mapX;
    int dy = a.mapY > b.mapY ? a.mapY - b.mapY : b.mapY - a.mapY;
    if (dx >= kDistanceRows || dy >= kDistanceColumns) return 0;
    return DistanceTable[dx][dy] < static_cast<float>(kNearDistance);
}

static void SetTextured(TexturedScreenVertex* v, float x, float y, uint32_t color, float u,
                        float tv)
{
    v->x = x;
    v->y = y;
    v->z = 1.0f;
    v->rhw = 1.0f;
    v->diffuse = color;
    v->u = u;
    v->v = tv;
}

static void SetColored(ColoredScreenVertex* v, float x, float y, uint32_t color)
{
    v->x = x;
    v->y = y;
    v->z = 1.0f;
    v->rhw = 1.0f;
    v->diffuse = color;
}

// A quad from (x1, y1) to (x2, y2) with u, v from (0, 0) to (u2, v2).
static void SetQuad(TexturedScreenVertex q[4], float x1, float y1, float x2, float y2,
                    uint32_t color, float u2, float v2)
{
    SetTextured(&q[0], x1, y1, color, 0.0f, 0.0f);
    SetTextured(&q[1], x2, y1, color, u2, 0.0f);
    SetTextured(&q[2], x1, y2, color, 0.0f, v2);
    SetTextured(&q[3], x2, y2, color, u2, v2);
}

void SetMarkerQuad(TexturedScreenVertex q[4], int px, int py, int s, uint32_t color)
{
    SetQuad(q, static_cast<float>(px - s), static_cast<float>(py - s), static_cast<float>(px + s),
            static_cast<float>(py + s), color, 1.0f, 1.0f);
}

void InitMarkerQuads(TexturedScreenVertex* out, int quadCount)
{
    for (int k = 0; k < quadCount; ++k) SetQuad(out + 4 * k, 0, 0, 0, 0, 0, 1.0f, 1.0f);
}

void FillQuadIndices(uint16_t* out, int quadCount)
{
    static const int kCorner[6] = {0, 1, 2, 2, 1, 3};
    for (int k = 0; k < quadCount; ++k)
        for (int c = 0; c < 6; ++c) out[6 * k + c] = static_cast<uint16_t>(4 * k + kCorner[c]);
}

// A quad shows a picture of `width` x `height` from (x1, y1); its right and
// bottom edges lie `pad` past the picture's, which sets how the texels meet
// the pixels: half a pixel beyond for most panels, half a pixel short for the
// map and the region panel, whose edges touch the map's frame.
struct FixedQuad {
    int width, height;
    float x1, y1, pad, uv2;
    uint32_t color;
};
static const FixedQuad kFixedQuads[QUAD_COUNT] = {
    {512, 512, 0.0f, 0.0f, -0.5f, 0.99f, 0xFFFFFFFFu},   // map; u, v stop short of the edge
    {kPanelSizes[PANEL_RECENT].width, kPanelSizes[PANEL_RECENT].height, 0.0f, 0.0f, 0.5f, 1.0f, 0xFFFFFFFFu},
    {kPanelSizes[PANEL_CONTROL].width, kPanelSizes[PANEL_CONTROL].height, 512.0f, 0.0f, 0.5f, 1.0f, 0xFFFFFFFFu},
    {kPanelSizes[PANEL_HOVER].width, kPanelSizes[PANEL_HOVER].height, 0.0f, 0.0f, 0.5f, 1.0f, 0xBFFFFFFFu},
    {kPanelSizes[PANEL_REGION].width, kPanelSizes[PANEL_REGION].height, 2.0f, 284.0f, -0.5f, 1.0f, 0xEFFFFFFFu},
    {kPanelSizes[PANEL_BOTTOM].width, kPanelSizes[PANEL_BOTTOM].height, 0.5f, 515.5f, 0.0f, 1.0f, 0xEFFFFFFFu},
};

// The quad moved to (x, y).
static void SetFixedQuadAt(const FixedQuad& f, float x, float y, TexturedScreenVertex out[4])
{
    SetQuad(out, x, y, x + float(f.width) + f.pad, y + float(f.height) + f.pad, f.color, f.uv2, f.uv2);
}

void FillFixedQuad(int quad, TexturedScreenVertex out[4])
{
    const FixedQuad& f = kFixedQuads[quad];
    SetFixedQuadAt(f, f.x1, f.y1, out);
}

// Along the recent panel's bottom edge, then from its corner to (endX, endY).
static void SetLeaderLines(float endX, float endY, ColoredScreenVertex out[4])
{
    const float right = float(kPanelSizes[PANEL_RECENT].width), bottom = float(kPanelSizes[PANEL_RECENT].height);
    SetColored(&out[0], 0.0f, bottom, 0xFFFFFFFFu);
    SetColored(&out[1], right, bottom, 0xFFFFFFFFu);
    SetColored(&out[2], right, bottom, 0xFFFFFFFFu);
    SetColored(&out[3], endX, endY, 0x40FFFFFFu);
}

void InitLeaderLines(ColoredScreenVertex out[kLeaderLineVertices])
{
    SetLeaderLines(float(kPanelSizes[PANEL_RECENT].width), float(kPanelSizes[PANEL_RECENT].height), out);
}

void FillMapFrame(ColoredScreenVertex out[kMapFrameVertices])
{
    static const float kCorner[kMapFrameVertices][2] = {
        {0, 0}, {512, 0}, {512, 512}, {0, 512}, {0, 0}};
    for (int i = 0; i < kMapFrameVertices; ++i)
        SetColored(&out[i], kCorner[i][0], kCorner[i][1], 0xFFFFFFFFu);
}

void InitAlertBoxes(TexturedScreenVertex out[kAlertBoxVertices])
{
    for (int k = 0; k < kAlertBoxVertices / 4; ++k) {
        float v0 = 0.1f * k;
        TexturedScreenVertex* q = out + 4 * k;
        SetTextured(&q[0], 0.0f, 0.0f, 0xEFFFFFFFu, 0.0f, v0);
        SetTextured(&q[1], 64.0f, 0.0f, 0xEFFFFFFFu, 1.0f, v0);
        SetTextured(&q[2], 0.0f, 64.0f, 0xEFFFFFFFu, 0.0f, v0 + 0.1f);
        SetTextured(&q[3], 64.0f, 64.0f, 0xEFFFFFFFu, 1.0f, v0 + 0.1f);
    }
}

void InitTransparentVertices(ColoredScreenVertex* out, int count)
{
    for (int i = 0; i < count; ++i) SetColored(&out[i], 0.0f, 0.0f, 0);
}

int BuildMarkerQuads(TexturedScreenVertex out[kMarkerVertices])
{
    int quads = 0;
    for (int i = 0; i < kMaxRecords && quads < kMarkerQuads; ++i) {
        QuakeRecord& r = gpEQ[i];
        if (r.magnitude10 == 0) break;
        if (!r.inFilter) continue;
        int px = GridToPixelXi(r.mapX), py = GridToPixelYi(r.mapY);
        if (!PixelOnMap(px, py)) continue;
        r.markerColor = DepthColor(r.depthKm);
        SetMarkerQuad(out + 4 * quads, px, py, MarkerHalfSize(r.magnitude10, 0), r.markerColor);
        ++quads;
    }
    InitMarkerQuads(out + 4 * quads, kMarkerQuads - quads);
    return quads;
}

// The selected record, or nullptr when AppSettings.selFirst names none: an
// index outside the store, or a record past the end of the data.
static QuakeRecord* SelectedRecord()
{
    int s = AppSettings.selFirst;
    if (s < 0 || s >= kMaxRecords || gpEQ[s].magnitude10 == 0) return nullptr;
    return &gpEQ[s];
}

int BuildSelectedQuad(TexturedScreenVertex out[4])
{
    QuakeRecord* r = SelectedRecord();
    int px = r ? GridToPixelXi(r->mapX) : 0, py = r ? GridToPixelYi(r->mapY) : 0;
    if (!r || !PixelOnMap(px, py)) {
        // Hidden rather than left showing the previous earthquake.
        InitMarkerQuads(out, 1);
        return 0;
    }
    int old = sSelectedPulse;
    if (sSelectedPulseDown == 0) {
        sSelectedPulse += kPulseStep;
        if (sSelectedPulse >= 255) {
            sSelectedPulse = 255;
            sSelectedPulseDown = 1;
        }
    } else {
        sSelectedPulse -= kPulseStep;
        if (sSelectedPulse <= 0) {
            sSelectedPulse = 0;
            sSelectedPulseDown = 0;
        }
    }
    int red, green, blue;
    DepthChannels(r->depthKm, &red, &green, &blue);
    r->markerColor = PackColor(static_cast<uint32_t>(old) & 0xFF, red + sSelectedPulse,
                               green + sSelectedPulse, blue + sSelectedPulse);
    SetMarkerQuad(out, px, py, MarkerHalfSize(r->magnitude10, 1), r->markerColor);
    return 1;
}

void BuildLeaderLines(ColoredScreenVertex out[kLeaderLineVertices])
{
    const QuakeRecord* r = SelectedRecord();
    if (r)
        SetLeaderLines(GridToPixelX(r->mapX), GridToPixelY(r->mapY), out);
    else
        InitLeaderLines(out);
}

static int ToleranceIndex(int depthDiff)
{
    if (depthDiff <= kFirstTolerance) return 0;
    return (depthDiff - kFirstTolerance + kToleranceStep - 1) / kToleranceStep;
}

// The partner of record i among i+1 .. last: over every depth tolerance at
// once, the first record needing the smallest tolerance. The scan may stop
// as soon as one fits the smallest tolerance. -1 when none fits 190 km.
static int FindPartner(int i, int last)
{
    const QuakeRecord& a = gpEQ[i];
    int best = -1, bestTolerance = kToleranceCount;
    for (int j = i + 1; j <= last; ++j) {
        const QuakeRecord& b = gpEQ[j];
        if (b.magnitude10 == 0 || b.year < AppSettings.startYear) break;
        if (b.year > AppSettings.endYear || !b.inFilter) continue;
        int t = ToleranceIndex(a.depthKm > b.depthKm ? a.depthKm - b.depthKm : b.depthKm - a.depthKm);
        if (t >= bestTolerance || !Near(a, b)) continue;
        best = j;
        bestTolerance = t;
        if (t == 0) break;
    }
    return best;
}

static void SetLinkVertex(ColoredScreenVertex* v, const QuakeRecord& r)
{
    SetColored(v, GridToPixelX(r.mapX), GridToPixelY(r.mapY),
               (r.markerColor & 0xFFFFFFu) | kLinkAlpha);
}

int BuildLinkLines(ColoredScreenVertex out[kLinkVertices])
{
    int lines = 0;
    int first = AppSettings.selFirstIndex;
    if (first >= 0 && first < kMaxRecords) {
        int last = first + kLinkLines < kMaxRecords - 1 ? first + kLinkLines : kMaxRecords - 1;
        for (int i = first; i <= last; ++i) {
            const QuakeRecord& r = gpEQ[i];
            if (r.magnitude10 == 0 || lines >= AppSettings.selCount || lines == kLinkLines) break;
            if (!r.inFilter || !RecordOnMap(r)) continue;
            int j = FindPartner(i, last);
            if (j < 0) continue;
            SetLinkVertex(&out[2 * lines], r);
            SetLinkVertex(&out[2 * lines + 1], gpEQ[j]);
            ++lines;
        }
    }
    InitTransparentVertices(out + 2 * lines, kLinkVertices - 2 * lines);
    return lines;
}

static void HoverOrigin(int mouseX, int mouseY, float* x, float* y)
{
    *x = static_cast<float>(mouseX + 28);
    *y = static_cast<float>(mouseY < 256 ? mouseY : mouseY - 72);
}

void BuildHoverQuad(int mouseX, int mouseY, TexturedScreenVertex out[4])
{
    float x, y;
    HoverOrigin(mouseX, mouseY, &x, &y);
    SetFixedQuadAt(kFixedQuads[QUAD_HOVER], x, y, out);
}

void BuildTooltipFrame(int mouseX, int mouseY, ColoredScreenVertex out[kTooltipFrameVertices])
{
    // Offsets from the panel origin of the outline, notched at the top left,
    // started at the notch above the cursor and at the bottom left below it.
    static const float kAbove[7][2] = {
        {0, 12}, {16, 12}, {32, 0}, {192, 0}, {192, 60}, {0, 60}, {0, 12}};
    static const float kBelow[7][2] = {
        {0, 60}, {0, 12}, {16, 12}, {32, 0}, {192, 0}, {192, 60}, {0, 60}};
    const float (*outline)[2] = mouseY < 256 ? kAbove : kBelow;
    float x, y;
    HoverOrigin(mouseX, mouseY, &x, &y);
    for (int i = 0; i < 7; ++i) SetColored(&out[i], x + outline[i][0], y + outline[i][1], 0xFFAACCFFu);
    SetColored(&out[7], static_cast<float>(mouseX + 16), static_cast<float>(mouseY), 0xDFAACCFFu);
    SetColored(&out[8], static_cast<float>(mouseX), static_cast<float>(mouseY), 0xAFAACCFFu);
}

void BuildRegionPanelFrame(int gridX, int gridY,
                           ColoredScreenVertex out[kRegionPanelFrameVertices])
{
    static const float kOutline[7][2] = {
        {315, 406}, {419, 406}, {437, 424}, {506, 424}, {506, 486}, {315, 486}, {315, 406}};
    for (int i = 0; i < 7; ++i) SetColored(&out[i], kOutline[i][0], kOutline[i][1], 0xFFAAFFFFu);
    SetColored(&out[7], GridToPixelX(gridX), GridToPixelY(gridY), 0x8FAAFFFFu);
}

// The blink swings the alpha between 31 and 129, one level per tick.
static void StepBlink(AlertEntry* e)
{
    if (e->pulseDir == 0) {
        if (++e->pulseAlpha > 128) e->pulseDir = 1;
    } else {
        if (--e->pulseAlpha < 32) e->pulseDir = 0;
    }
}

void BuildAlertBoxes(AlertEntry* entries, TexturedScreenVertex out[kAlertBoxVertices])
{
    InitAlertBoxes(out);
    for (int k = 0; k < kAlertBoxes; ++k) {
        AlertEntry* e = &entries[k];
        StepBlink(e);
        uint32_t color = e->boxOnMap ? static_cast<uint32_t>(e->pulseAlpha) << 24 | 0xFFFFFFu : 0;
        float x1 = GridToPixelX(e->minX), y1 = GridToPixelY(e->minY);
        float x2 = GridToPixelX(e->maxX), y2 = GridToPixelY(e->maxY);
        // One hatch texel per pixel: the 128-pixel pattern repeats.
        float u2 = static_cast<float>((e->maxX - e->minX) * static_cast<double>(kGridToPixel) / 128);
        float v2 = static_cast<float>((e->maxY - e->minY) * static_cast<double>(kGridToPixel) / 128);
        SetQuad(out + 4 * k, fmaxf(x1, 1.0f), fmaxf(y1, 1.0f), fminf(x2, 511.0f), fminf(y2, 511.0f),
                color, u2, v2);
    }
}

void BuildAlertBoxOutlines(const AlertEntry* entries,
                           ColoredScreenVertex out[kAlertOutlineVertices])
{
    InitTransparentVertices(out, kAlertOutlineVertices);
    for (int k = 0; k < kAlertBoxes; ++k) {
        const AlertEntry& e = entries[k];
        uint32_t color = e.boxOnMap ? 0xFFFF0000u : 0;
        float x1 = GridToPixelX(e.minX), y1 = GridToPixelY(e.minY);
        float x2 = GridToPixelX(e.maxX), y2 = GridToPixelY(e.maxY);
        ColoredScreenVertex* s = out + 5 * k;
        SetColored(&s[0], x1, y1, color);
        SetColored(&s[1], x2, y1, color);
        SetColored(&s[2], x2, y2, color);
        SetColored(&s[3], x1, y2, color);
        SetColored(&s[4], x1, y1, color);
    }
}
