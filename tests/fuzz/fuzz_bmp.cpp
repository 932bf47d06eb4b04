// libFuzzer target: the input is a bitmap file. DecodeBmp must never read
// past the input, and an accepted image must hold width x height opaque
// pixels within the side limit.
#include <cstdint>
#include <cstdlib>

#include "engine/picture/bmp_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BmpImage image = {-1, -1, nullptr};
    int result = DecodeBmp(data, size, &image);
    if (result != BMP_OK) {
        if (image.width != -1 || image.height != -1 || image.pixels) std::abort();
        return 0;
    }
    if (image.width < 1 || image.height < 1 || image.width > kBmpMaxSide ||
        image.height > kBmpMaxSide || !image.pixels)
        std::abort();
    size_t pixels = size_t(image.width) * size_t(image.height);
    for (size_t i = 0; i < pixels; i++)
        if (image.pixels[4 * i + 3] != 255) std::abort();
    FreeBmp(&image);
    return 0;
}
