// Colour classes, simple measures over a picture, and a dependency-free PNG writer
// (uncompressed deflate blocks) for the screenshots of failed checks.
#include "picture.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>

bool isWhite(Rgb c) {
    return std::min({c.r, c.g, c.b}) >= 245;
}
bool isRed(Rgb c) {
    return c.r >= 200 && c.g <= 60 && c.b <= 60;
}
bool isGreen(Rgb c) {
    return c.g >= 90 && c.g - std::max(c.r, c.b) >= 50;
}
bool isOrange(Rgb c) {
    return c.r >= 200 && c.r - c.g >= 40 && c.g - c.b >= 40;
}
bool isBlue(Rgb c) {
    return c.b >= 200 && c.b - std::max(c.r, c.g) >= 40;
}
bool isDark(Rgb c) {
    return std::max({c.r, c.g, c.b}) <= 160 && c.g <= std::max(c.r, c.b) + 30;
}

bool foundNear(const Picture &picture, int x, int y, int reach, ColourClass colour) {
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            if (picture.contains(x + dx, y + dy) && colour(picture.at(x + dx, y + dy))) {
                return true;
            }
        }
    }
    return false;
}

int countPixels(const Picture &picture, ColourClass colour) {
    int count = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            count += colour(picture.at(x, y)) ? 1 : 0;
        }
    }
    return count;
}

int countDifferences(const Picture &a, const Picture &b, int tolerance) {
    if (a.width != b.width || a.height != b.height) {
        return a.width * a.height + b.width * b.height;
    }
    int count = 0;
    for (std::size_t i = 0; i < a.rgb.size(); i += 3) {
        for (std::size_t k = i; k < i + 3; ++k) {
            if (std::abs(a.rgb[k] - b.rgb[k]) > tolerance) {
                ++count;
                break;
            }
        }
    }
    return count;
}

int longestColumnRun(const Picture &picture, ColourClass colour) {
    int longest = 0;
    for (int x = 0; x < picture.width; ++x) {
        int run = 0;
        for (int y = 0; y < picture.height; ++y) {
            run = colour(picture.at(x, y)) ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    return longest;
}

std::string describe(Rgb c) {
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) +
           ")";
}

namespace {

std::uint32_t crc32(const std::uint8_t *data, std::size_t size, std::uint32_t crc = 0) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) != 0 ? 0xedb88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ data[i]) & 0xff] ^ (crc >> 8);
    }
    return ~crc;
}

void putBigEndian(std::vector<std::uint8_t> &out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void putChunk(std::vector<std::uint8_t> &out, const char *type,
              const std::vector<std::uint8_t> &data) {
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    putBigEndian(out, crc32(body.data(), body.size()));
}

} // namespace

bool savePng(const Picture &picture, const std::string &path) {
    std::vector<std::uint8_t> raw; // each row behind a filter byte 0 (none)
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back(0);
        const auto row = picture.rgb.begin() + 3 * static_cast<std::ptrdiff_t>(y) * picture.width;
        raw.insert(raw.end(), row, row + 3 * picture.width);
    }

    std::vector<std::uint8_t> zlib = {0x78, 0x01};
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::size_t start = 0; start == 0 || start < raw.size(); start += 65535) {
        const std::size_t size = std::min<std::size_t>(65535, raw.size() - start);
        zlib.push_back(start + size == raw.size() ? 1 : 0);
        const std::uint16_t length = static_cast<std::uint16_t>(size);
        for (std::uint16_t v : {length, static_cast<std::uint16_t>(~length)}) {
            zlib.push_back(static_cast<std::uint8_t>(v & 0xff));
            zlib.push_back(static_cast<std::uint8_t>(v >> 8));
        }
        for (std::size_t i = start; i < start + size; ++i) {
            zlib.push_back(raw[i]);
            a = (a + raw[i]) % 65521;
            b = (b + a) % 65521;
        }
    }
    putBigEndian(zlib, (b << 16) | a);

    std::vector<std::uint8_t> header;
    putBigEndian(header, static_cast<std::uint32_t>(picture.width));
    putBigEndian(header, static_cast<std::uint32_t>(picture.height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB, no interlace

    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", zlib);
    putChunk(png, "IEND", {});
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char *>(png.data()),
               static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(file);
}
