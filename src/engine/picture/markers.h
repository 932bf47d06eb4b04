// The numbers of the map view: every vertex the Direct3D code draws, as plain
// arrays that it copies into its locked buffers. Every vertex is given in
// window pixels (pre-transformed, z = rhw = 1). A quad is four vertices in
// the order top-left, top-right, bottom-left, bottom-right.
// Each Build/Fill/Init function writes every vertex of its buffer, so the
// result may go straight into a buffer locked for discard.
#pragma once

#include <cstdint>

struct AlertEntry;

struct TexturedScreenVertex {
    float x, y, z, rhw;
    uint32_t diffuse;   // ARGB
    float u, v;
};
struct ColoredScreenVertex {
    float x, y, z, rhw;
    uint32_t diffuse;   // ARGB
};
static_assert(sizeof(TexturedScreenVertex) == 28, "XYZRHW | DIFFUSE | TEX1 layout");
static_assert(sizeof(ColoredScreenVertex) == 20, "XYZRHW | DIFFUSE layout");

enum {
    kMarkerQuads = 1000,
    kMarkerVertices = 4 * kMarkerQuads,
    kMarkerIndices = 6 * kMarkerQuads,
    kLinkLines = 1000,
    kLinkVertices = 2 * kLinkLines,
    kAlertBoxes = 9,               // boxes drawn: the top of the ranking
    kAlertBoxVertices = 40,        // 10 quads, 9 used
    kAlertOutlineVertices = 50,    // 10 strips of 5, 9 used
    kLeaderLineVertices = 4,
    kMapFrameVertices = 5,
    kTooltipFrameVertices = 9,
    kRegionPanelFrameVertices = 8,
    kDistanceRows = 580,           // |delta mapX| 0..579
    kDistanceColumns = 447,        // |delta mapY| 0..446
    kMapPixelLimit = 512,          // a truncated pixel beyond this is off the map
};

// The overlay panels' bitmaps: the Windows side paints each panel's picture
// into one of these sizes, the quads below show the first five, the hatch
// tiles the alert boxes.
enum PanelId {
    PANEL_RECENT = 0,
    PANEL_CONTROL,
    PANEL_HOVER,
    PANEL_REGION,
    PANEL_BOTTOM,
    PANEL_HATCH,
    PANEL_COUNT
};
struct PanelSize {
    int width, height;
};
constexpr PanelSize kPanelSizes[PANEL_COUNT] = {
    {192, 268}, {336, 534}, {192, 60}, {512, 230}, {864, 246}, {128, 128},
};

// The fixed textured quads of the view.
enum MapViewQuad {
    QUAD_MAP = 0,      // the map image, (0, 0) - (511.5, 511.5)
    QUAD_RECENT,       // recent-events panel
    QUAD_CONTROL,      // control panel
    QUAD_HOVER,        // hover panel at its initial place (0, 0)
    QUAD_REGION,       // selected-region panel
    QUAD_BOTTOM,       // bottom panel
    QUAD_COUNT
};

// Pixel neighbour distances: DistanceTable[dx][dy] = sqrt(dx^2 + dy^2) in
// single precision, for |delta mapX| dx and |delta mapY| dy in grid units.
extern const float (&DistanceTable)[kDistanceRows][kDistanceColumns];
void FillDistanceTable();

// 1 when a truncated pixel is on the map: neither coordinate above 512
// (there is no lower bound).
int PixelOnMap(int px, int py);

// Opaque depth colour 0xFFRRGGBB: red at 0 km, yellow 68, green 136, blue 204+.
uint32_t DepthColor(int depthKm);
// Half-size in pixels of a marker: (m10 x 0.09)^3.2 / 10 truncated, at
// least 2, at least 16 when `selected` is non-zero.
int MarkerHalfSize(int magnitude10, int selected);

// A marker's quad around pixel (px, py) with half-size s, u, v over the sprite.
void SetMarkerQuad(TexturedScreenVertex q[4], int px, int py, int s, uint32_t color);

// --- Initial and fixed buffer contents ------------------------------------

// `quadCount` quads at position 0, colour 0, u, v at the corners (0,0)..(1,1).
void InitMarkerQuads(TexturedScreenVertex* out, int quadCount);
// Quad k: 4k, 4k+1, 4k+2, 4k+2, 4k+1, 4k+3 (6 x quadCount indices).
void FillQuadIndices(uint16_t* out, int quadCount);
// The fixed quad `quad` (MapViewQuad) with its position, u, v and colour.
void FillFixedQuad(int quad, TexturedScreenVertex out[4]);
// Leader lines (0,268)-(192,268) and (192,268)-(192,268).
void InitLeaderLines(ColoredScreenVertex out[kLeaderLineVertices]);
// The white frame around the map: one strip of 4 lines.
void FillMapFrame(ColoredScreenVertex out[kMapFrameVertices]);
// Ten 64 x 64 quads at the origin, colour 0xEFFFFFFF, v of quad k 0.1k..0.1k+0.1.
void InitAlertBoxes(TexturedScreenVertex out[kAlertBoxVertices]);
// `count` vertices at (0, 0), colour 0 (alert outlines, link lines).
void InitTransparentVertices(ColoredScreenVertex* out, int count);

// --- Per-tick contents, in the order of the frame update -------------------

// Markers of the newest matching on-map records (gpEQ from index 0 to the
// end of the data), at most 1000, newest first; writes each drawn record's
// markerColor. Slots after the last quad are transparent. Returns the quads.
int BuildMarkerQuads(TexturedScreenVertex out[kMarkerVertices]);
// The pulsing marker of AppSettings.selFirst (half-size at least 16); steps
// the pulse and writes the record's markerColor. An off-map record, an index
// outside the store or a record past the end of the data gives a transparent
// quad and leaves the pulse alone. Returns 1 when a marker is shown, else 0.
int BuildSelectedQuad(TexturedScreenVertex out[4]);
// Leader lines ending at the selected earthquake's point (no bounds test);
// at (192, 268) when AppSettings.selFirst names no record.
void BuildLeaderLines(ColoredScreenVertex out[kLeaderLineVertices]);
// Lines from each matching on-map record among AppSettings.selFirstIndex ..
// +1000 to its partner: the first older matching record within 32 grid units
// under the smallest depth tolerance (10, 30, ..., 190 km) that finds one.
// At most min(selCount, 1000) lines, alpha 0x80, the rest transparent; pairs
// beyond DistanceTable are not near. Returns the lines.
int BuildLinkLines(ColoredScreenVertex out[kLinkVertices]);
// The hover panel's quad next to the cursor (client pixels).
void BuildHoverQuad(int mouseX, int mouseY, TexturedScreenVertex out[4]);
// The notched outline of the hover panel ending in a hook at the cursor.
void BuildTooltipFrame(int mouseX, int mouseY, ColoredScreenVertex out[kTooltipFrameVertices]);
// The region panel's frame pointing at grid position (gridX, gridY).
void BuildRegionPanelFrame(int gridX, int gridY,
                           ColoredScreenVertex out[kRegionPanelFrameVertices]);
// Steps the blink of entries[0..8] and writes their hatched boxes (clamped to
// the map, u, v at one texel per pixel); transparent when boxOnMap is 0.
// The tenth quad keeps its initial contents.
void BuildAlertBoxes(AlertEntry* entries, TexturedScreenVertex out[kAlertBoxVertices]);
// Red outlines (unclamped strips of 5) of entries[0..8]; transparent when
// boxOnMap is 0; the tenth strip transparent.
void BuildAlertBoxOutlines(const AlertEntry* entries,
                           ColoredScreenVertex out[kAlertOutlineVertices]);
