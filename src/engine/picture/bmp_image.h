// A small reader for the map image: uncompressed 24- and 32-bit Windows
// bitmaps (BITMAPINFOHEADER or a later header), bottom-up or top-down.
#pragma once

#include <cstddef>

enum {
    BMP_OK = 0,
    BMP_NO_FILE = 1,       // the file cannot be opened or read
    BMP_BAD_HEADER = 2,    // not a bitmap, or inconsistent header fields
    BMP_UNSUPPORTED = 3,   // compressed, palette, or another bit depth
    BMP_TRUNCATED = 4,     // the pixel rows run past the end of the file
    BMP_TOO_LARGE = 5,     // dimensions above kBmpMaxSide, or no memory
};

enum { kBmpMaxSide = 8192 };

struct BmpImage {
    int width, height;
    unsigned char* pixels;   // top-down rows of blue, green, red, alpha (255); malloc'd
};

// Decodes a bitmap held in memory. On failure `out` is untouched.
int DecodeBmp(const unsigned char* data, size_t size, BmpImage* out);
// Reads and decodes the file at `utf8Path`. On failure `out` is untouched.
int ReadBmp(const char* utf8Path, BmpImage* out);
// Frees the pixels and clears the image.
void FreeBmp(BmpImage* image);
