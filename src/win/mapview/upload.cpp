// The panel pictures into their textures, every tick: each 24-bit pixel
// buffer is converted into its system-memory staging surface (pure black
// becomes transparent) and the device copies the surface into the texture.
#include "win/mapview/d3d_scene.h"

#include <cstddef>
#include <cstring>

#include "win/mapview/d3d_view.h"

template <class Alpha>
static void ConvertPixels(const unsigned char* bgr, int srcWidth, int width, int height,
                          unsigned char* dst, int pitch, Alpha alpha) {
    for (int y = 0; y < height; y++) {
        const unsigned char* s = bgr + size_t(y) * srcWidth * 3;
        unsigned char* d = dst + size_t(y) * pitch;
        for (int x = 0; x < width; x++, s += 3, d += 4) {
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
            d[3] = alpha(s[0], s[1], s[2]);
        }
    }
}

void ConvertPanelPixels(const unsigned char* bgr, int srcWidth, int width, int height,
                        unsigned char* dst, int pitch) {
    ConvertPixels(bgr, srcWidth, width, height, dst, pitch,
                  [](int b, int g, int r) { return (b | g | r) ? 255 : 0; });
}

void ConvertSpritePixels(const unsigned char* bgr, int width, int height, unsigned char* dst,
                         int pitch) {
    ConvertPixels(bgr, width, width, height, dst, pitch,
                  [](int b, int g, int r) { return (b + g + r) / 3; });
}

void UploadPanelTextures() {
    for (int p = 0; p < PANEL_COUNT; p++) {
        const PanelBitmap& bitmap = gPanels[p];
        const PanelSize size = kPanelSizes[p];
        StagedTexture& t = gScene.panels[p];
        if (!bitmap.pixels || !t.staging) continue;
        // Most panels repeat their picture from tick to tick; the texture
        // upload is the expensive step (a copy through the driver), the
        // comparison is not.
        const size_t bytes = size_t(size.width) * size.height * 3;
        if (t.shown.size() == bytes && std::memcmp(t.shown.data(), bitmap.pixels, bytes) == 0)
            continue;
        D3DLOCKED_RECT locked;
        if (FAILED(t.staging->LockRect(&locked, nullptr, 0))) continue;   // next tick
        // Row by row through the surface's pitch, never beyond the picture.
        int width = size.width < t.width ? size.width : t.width;
        int height = size.height < t.height ? size.height : t.height;
        ConvertPanelPixels(bitmap.pixels, size.width, width, height,
                           static_cast<unsigned char*>(locked.pBits), locked.Pitch);
        if (FAILED(t.staging->UnlockRect())) continue;
        if (SUCCEEDED(gScene.device->UpdateSurface(t.staging, nullptr, t.level, nullptr)))
            t.shown.assign(bitmap.pixels, bitmap.pixels + bytes);
    }
}
