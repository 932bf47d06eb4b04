#include "kit/bmp.h"

void InitImage(RgbImage* image, int width, int height, uint32_t colour) {
    image->width = width;
    image->height = height;
    image->rgb.resize(size_t(width) * height * 3);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) SetPixel(image, x, y, colour);
}

uint32_t GetPixel(const RgbImage& image, int x, int y) {
    const uint8_t* p = &image.rgb[(size_t(y) * image.width + x) * 3];
    return uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
}

void SetPixel(RgbImage* image, int x, int y, uint32_t colour) {
    if (x < 0 || y < 0 || x >= image->width || y >= image->height) return;
    uint8_t* p = &image->rgb[(size_t(y) * image->width + x) * 3];
    p[0] = uint8_t(colour >> 16);
    p[1] = uint8_t(colour >> 8);
    p[2] = uint8_t(colour);
}

void BlendPixel(RgbImage* image, int x, int y, uint32_t colour, double weight) {
    if (x < 0 || y < 0 || x >= image->width || y >= image->height) return;
    if (weight > 1) weight = 1;
    if (weight <= 0) return;
    uint8_t* p = &image->rgb[(size_t(y) * image->width + x) * 3];
    for (int c = 0; c < 3; c++) {
        double target = double((colour >> (16 - 8 * c)) & 0xFF);
        p[c] = uint8_t(p[c] + (target - p[c]) * weight + 0.5);
    }
}

static void Put(std::string* out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; i++) out->push_back(char((v >> (8 * i)) & 0xFF));
}

static uint32_t Get(const std::string& in, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; i++) v |= uint32_t(uint8_t(in[at + i])) << (8 * i);
    return v;
}

std::string EncodeBmp(const RgbImage& image) {
    uint32_t stride = (uint32_t(image.width) * 3 + 3) & ~3u;
    uint32_t pixelBytes = stride * uint32_t(image.height);
    std::string out;
    out += "BM";
    Put(&out, 54 + pixelBytes, 4);
    Put(&out, 0, 4);
    Put(&out, 54, 4);                    // offset of the pixels
    Put(&out, 40, 4);                    // BITMAPINFOHEADER
    Put(&out, uint32_t(image.width), 4);
    Put(&out, uint32_t(image.height), 4);   // positive: bottom-up
    Put(&out, 1, 2);
    Put(&out, 24, 2);
    Put(&out, 0, 4);                     // BI_RGB
    Put(&out, pixelBytes, 4);
    Put(&out, 2835, 4);                  // 72 dpi
    Put(&out, 2835, 4);
    Put(&out, 0, 4);
    Put(&out, 0, 4);
    for (int y = image.height - 1; y >= 0; y--) {
        size_t rowStart = out.size();
        for (int x = 0; x < image.width; x++) {
            const uint8_t* p = &image.rgb[(size_t(y) * image.width + x) * 3];
            out.push_back(char(p[2]));
            out.push_back(char(p[1]));
            out.push_back(char(p[0]));
        }
        out.append(stride - (out.size() - rowStart), '\0');
    }
    return out;
}

int DecodeBmp(const std::string& bytes, RgbImage* image) {
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return 1;
    uint32_t offset = Get(bytes, 10, 4);
    int32_t width = int32_t(Get(bytes, 18, 4)), height = int32_t(Get(bytes, 22, 4));
    if (Get(bytes, 14, 4) < 40 || Get(bytes, 28, 2) != 24 || Get(bytes, 30, 4) != 0) return 1;
    bool bottomUp = height > 0;
    if (!bottomUp) height = -height;
    if (width <= 0 || height <= 0 || width > 65536 || height > 65536) return 1;
    uint64_t stride = (uint64_t(width) * 3 + 3) & ~uint64_t(3);
    if (offset + stride * uint64_t(height) > bytes.size()) return 1;
    RgbImage out;
    InitImage(&out, width, height, 0);
    for (int row = 0; row < height; row++) {
        int y = bottomUp ? height - 1 - row : row;
        size_t at = offset + size_t(stride) * row;
        for (int x = 0; x < width; x++) {
            const char* p = &bytes[at + size_t(x) * 3];
            SetPixel(&out, x, y, uint32_t(uint8_t(p[2])) << 16 | uint32_t(uint8_t(p[1])) << 8 | uint8_t(p[0]));
        }
    }
    *image = out;
    return 0;
}
