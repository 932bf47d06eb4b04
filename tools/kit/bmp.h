// 24-bit uncompressed BMP images (54-byte header, bottom-up rows padded to
// four bytes), as the map texture loader reads them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RgbImage {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;   // top row first, 3 bytes (R, G, B) per pixel
};

void InitImage(RgbImage* image, int width, int height, uint32_t colour);   // colour 0xRRGGBB
uint32_t GetPixel(const RgbImage& image, int x, int y);
void SetPixel(RgbImage* image, int x, int y, uint32_t colour);   // ignores points off the image
// Mixes `colour` into a pixel with weight 0..1.
void BlendPixel(RgbImage* image, int x, int y, uint32_t colour, double weight);

std::string EncodeBmp(const RgbImage& image);
// 0 on success; 1 when the bytes are not a 24-bit uncompressed BMP.
int DecodeBmp(const std::string& bytes, RgbImage* image);
