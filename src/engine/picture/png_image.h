// A PNG writer for the replay's frames without a compression library: 8-bit
// RGB, one filter byte of 0 per row, the image data as zlib stored blocks
// (no compression), CRC-32 and Adler-32 as the format asks.
#pragma once

#include <string>

// The PNG file of a width x height image given as top-down rows of red,
// green, blue. Empty for a size of 0 or above 16384 on a side.
std::string EncodePng(const unsigned char* rgb, int width, int height);
