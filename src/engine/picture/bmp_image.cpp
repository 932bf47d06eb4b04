#include "engine/picture/bmp_image.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

enum {
    kFileHeaderBytes = 14,
    kInfoHeaderBytes = 40,
    kMasksOffset = kFileHeaderBytes + kInfoHeaderBytes,   // BI_BITFIELDS masks
    kMasksBytes = 12,
    kCompressionRgb = 0,
    kCompressionBitfields = 3,
};

// No valid image within the side limit needs more of a file than this.
static const size_t kMaxUsefulBytes =
    static_cast<size_t>(kBmpMaxSide) * kBmpMaxSide * 4 + 4096;

static uint32_t U16(const unsigned char* p) { return p[0] | p[1] << 8; }
static uint32_t U32(const unsigned char* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// 32-bit pixels described by masks are read only in the usual blue, green,
// red, unused byte order.
static int PlainMasks(const unsigned char* data, size_t size)
{
    if (size < kMasksOffset + kMasksBytes) return 0;
    const unsigned char* m = data + kMasksOffset;
    return U32(m) == 0x00FF0000u && U32(m + 4) == 0x0000FF00u && U32(m + 8) == 0x000000FFu;
}

int DecodeBmp(const unsigned char* data, size_t size, BmpImage* out)
{
    if (size < kFileHeaderBytes + kInfoHeaderBytes || data[0] != 'B' || data[1] != 'M')
        return BMP_BAD_HEADER;
    uint32_t pixelOffset = U32(data + 10);
    uint32_t headerBytes = U32(data + 14);
    if (headerBytes == 12) return BMP_UNSUPPORTED;   // OS/2 core header
    if (headerBytes < kInfoHeaderBytes || headerBytes > size - kFileHeaderBytes)
        return BMP_BAD_HEADER;
    int32_t width = static_cast<int32_t>(U32(data + 18));
    int32_t height = static_cast<int32_t>(U32(data + 22));
    uint32_t planes = U16(data + 26), bits = U16(data + 28), compression = U32(data + 30);
    if (width <= 0 || height == 0 || height == INT32_MIN || planes != 1) return BMP_BAD_HEADER;
    if (bits != 24 && bits != 32) return BMP_UNSUPPORTED;
    if (compression != kCompressionRgb &&
        !(compression == kCompressionBitfields && bits == 32 && PlainMasks(data, size)))
        return BMP_UNSUPPORTED;
    int topDown = height < 0;
    if (topDown) height = -height;
    if (width > kBmpMaxSide || height > kBmpMaxSide) return BMP_TOO_LARGE;
    if (pixelOffset < kFileHeaderBytes + headerBytes) return BMP_BAD_HEADER;

    size_t pixelBytes = bits / 8;
    size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    if (pixelOffset > size || stride * (height - 1) + pixelBytes * width > size - pixelOffset)
        return BMP_TRUNCATED;

    unsigned char* pixels = static_cast<unsigned char*>(malloc(static_cast<size_t>(width) * height * 4));
    if (!pixels) return BMP_TOO_LARGE;
    unsigned char* dst = pixels;
    for (int y = 0; y < height; ++y) {
        const unsigned char* src = data + pixelOffset + stride * (topDown ? y : height - 1 - y);
        for (int x = 0; x < width; ++x, src += pixelBytes, dst += 4) {
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
            dst[3] = 255;
        }
    }
    out->width = width;
    out->height = height;
    out->pixels = pixels;
    return BMP_OK;
}

int ReadBmp(const char* utf8Path, BmpImage* out)
{
    FILE* file = OpenFile(utf8Path, "rb");
    if (!file) return BMP_NO_FILE;
    long length = FileLength(file);
    if (length < 0) {
        fclose(file);
        return BMP_NO_FILE;
    }
    size_t size = static_cast<size_t>(length) < kMaxUsefulBytes ? static_cast<size_t>(length)
                                                                : kMaxUsefulBytes;
    unsigned char* data = static_cast<unsigned char*>(malloc(size ? size : 1));
    if (!data) {
        fclose(file);
        return BMP_TOO_LARGE;
    }
    size_t got = fread(data, 1, size, file);
    fclose(file);
    int result = got == size ? DecodeBmp(data, size, out) : BMP_NO_FILE;
    free(data);
    return result;
}

void FreeBmp(BmpImage* image)
{
    free(image->pixels);
    image->pixels = nullptr;
    image->width = 0;
    image->height = 0;
}
