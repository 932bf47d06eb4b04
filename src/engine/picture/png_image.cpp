#include "engine/picture/png_image.h"

#include <cstdint>

enum { kMaxSide = 16384 };
static const size_t kStoredBlock = 65535;

static uint32_t Crc32(const unsigned char* data, size_t size, uint32_t crc = 0) {
    static uint32_t table[256];
    if (!table[1])
        for (uint32_t n = 0; n < 256; n++) {
            uint32_t c = n;
            for (int k = 0; k < 8; k++) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
    crc = ~crc;
    for (size_t i = 0; i < size; i++) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

static void Put32(std::string* out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out->push_back(char((v >> shift) & 0xFF));
}

static void Chunk(std::string* out, const char* type, const std::string& data) {
    Put32(out, uint32_t(data.size()));
    const std::string typed = std::string(type, 4) + data;
    out->append(typed);
    Put32(out, Crc32(reinterpret_cast<const unsigned char*>(typed.data()), typed.size()));
}

// The zlib stream of `raw` in stored blocks.
static std::string StoredZlib(const std::string& raw) {
    std::string z = "\x78\x01";
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    size_t at = 0;
    do {
        const size_t n = raw.size() - at < kStoredBlock ? raw.size() - at : kStoredBlock;
        z.push_back(at + n == raw.size() ? 1 : 0);   // BFINAL on the last block, BTYPE 00
        z.push_back(char(n & 0xFF));
        z.push_back(char(n >> 8));
        z.push_back(char(~n & 0xFF));
        z.push_back(char((~n >> 8) & 0xFF));
        z.append(raw, at, n);
        at += n;
    } while (at < raw.size());
    Put32(&z, b << 16 | a);
    return z;
}

std::string EncodePng(const unsigned char* rgb, int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return "";
    std::string header;
    Put32(&header, uint32_t(width));
    Put32(&header, uint32_t(height));
    header += std::string("\x08\x02\x00\x00\x00", 5);   // 8 bits, RGB, deflate, no filter method, no interlace
    const size_t row = size_t(width) * 3;
    std::string raw;
    raw.reserve((row + 1) * size_t(height));
    for (int y = 0; y < height; y++) {
        raw.push_back(0);
        raw.append(reinterpret_cast<const char*>(rgb) + row * size_t(y), row);
    }
    std::string png = "\x89PNG\r\n\x1a\n";
    Chunk(&png, "IHDR", header);
    Chunk(&png, "IDAT", StoredZlib(raw));
    Chunk(&png, "IEND", "");
    return png;
}
