#include "engine/picture/replay_frame.h"

#include <algorithm>
#include <cmath>

#include "engine/picture/bmp_image.h"

// The view's map quad spans 511.5 pixels with u, v up to 0.99.
static const double kMapTexels = 0.99 * 512 / 511.5;

static void Add(unsigned char* pixel, uint32_t color, double weight) {
    for (int c = 0; c < 3; c++) {
        const int channel = int((color >> (16 - 8 * c)) & 0xFF);
        pixel[c] = (unsigned char)std::min(255.0, pixel[c] + channel * weight);
    }
}

// The marker sprite's light at a quad's pixel: the sprite is white towards
// its centre (grey level 255 (1 - r), r the distance from the centre over the
// radius); the view multiplies the colour by that level and blends with
// alpha = level x the vertex alpha.
static void AddMarker(const TexturedScreenVertex* q, unsigned char* rgb) {
    const double x1 = q[0].x, y1 = q[0].y, x2 = q[3].x, y2 = q[3].y;
    const uint32_t color = q[0].diffuse;
    const double alpha = (color >> 24) / 255.0;
    if (x2 <= x1 || y2 <= y1 || alpha <= 0) return;
    const int left = std::max(0, int(std::floor(x1))), right = std::min(int(kFrameSide), int(std::ceil(x2)));
    const int top = std::max(0, int(std::floor(y1))), bottom = std::min(int(kFrameSide), int(std::ceil(y2)));
    for (int y = top; y < bottom; y++)
        for (int x = left; x < right; x++) {
            const double u = (x + 0.5 - x1) / (x2 - x1) * 2 - 1, v = (y + 0.5 - y1) / (y2 - y1) * 2 - 1;
            const double level = 1 - std::sqrt(u * u + v * v);
            if (level > 0) Add(rgb + (size_t(y) * kFrameSide + size_t(x)) * 3, color, level * level * alpha);
        }
}

// 5 x 7 glyphs, one row a byte, the high bit of five on the left.
static const unsigned char kDigits[12][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
    {0x01, 0x01, 0x02, 0x04, 0x08, 0x10, 0x10}, {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00},
};

enum { kGlyphScale = 2, kAdvance = 6 * kGlyphScale, kStampLeft = 8, kStampTop = 8 };

static void Stamp(const char* text, unsigned char* rgb) {
    int length = 0;
    while (text[length]) length++;
    // A dark box behind the text.
    for (int y = kStampTop - 4; y < kStampTop + 7 * kGlyphScale + 4; y++)
        for (int x = kStampLeft - 4; x < std::min(int(kFrameSide), kStampLeft + kAdvance * length + 2); x++)
            for (int c = 0; c < 3; c++) rgb[(size_t(y) * kFrameSide + size_t(x)) * 3 + size_t(c)] /= 4;
    for (int k = 0; k < length; k++) {
        const char ch = text[k];
        const int glyph = ch >= '0' && ch <= '9' ? ch - '0' : ch == '/' ? 10 : ch == ':' ? 11 : -1;
        if (glyph < 0) continue;
        for (int row = 0; row < 7 * kGlyphScale; row++)
            for (int col = 0; col < 5 * kGlyphScale; col++) {
                const int x = kStampLeft + kAdvance * k + col, y = kStampTop + row;
                if (x >= kFrameSide || !(kDigits[glyph][row / kGlyphScale] & (0x10 >> (col / kGlyphScale)))) continue;
                unsigned char* p = rgb + (size_t(y) * kFrameSide + size_t(x)) * 3;
                p[0] = p[1] = p[2] = 255;
            }
    }
}

void RenderReplayFrame(const BmpImage& map, const TexturedScreenVertex* quads, int quadCount, const char* stamp,
                       std::vector<unsigned char>* rgb) {
    rgb->assign(size_t(kFrameSide) * kFrameSide * 3, 0);
    for (int y = 0; y < kFrameSide; y++)
        for (int x = 0; x < kFrameSide; x++) {
            const int mx = std::min(map.width - 1, int(x * kMapTexels)), my = std::min(map.height - 1, int(y * kMapTexels));
            const unsigned char* m = map.pixels + (size_t(my) * size_t(map.width) + size_t(mx)) * 4;   // blue, green, red
            unsigned char* p = rgb->data() + (size_t(y) * kFrameSide + size_t(x)) * 3;
            p[0] = m[2];
            p[1] = m[1];
            p[2] = m[0];
        }
    for (int k = 0; k < quadCount; k++) AddMarker(quads + 4 * k, rgb->data());
    Stamp(stamp, rgb->data());
}
