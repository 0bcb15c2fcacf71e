// Colour classes, measures over a picture, and the PNG writer for screenshots of failed checks
// and reader for screenshots taken elsewhere.
#include "picture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <png.h>
#include <utility>

// Each class takes the pixels a colour covers wholly or nearly so, not the pale rim where it
// fades into the background: a check then sees the colour itself, and a stale or misplaced
// shape still shows its solid middle to a check that it is gone.
bool isWhite(Rgb c) {
    return c.r >= 250 && c.g >= 250 && c.b >= 250;
}
bool isRed(Rgb c) {
    return c.r >= 220 && c.g <= 40 && c.b <= 40;
}
bool isGreen(Rgb c) {
    return c.g >= 100 && c.g <= 150 && c.r <= 40 && c.b <= 40;
}
bool isOrange(Rgb c) {
    return c.r >= 230 && c.g >= 100 && c.g <= 200 && c.g - c.b >= 60;
}
// Outlines are (s, s, 1) with s from 0.7 at level 0 down to about 0.09 at level 9.
bool isBlue(Rgb c) {
    return c.b >= 230 && c.b - c.r >= 40 && std::abs(c.r - c.g) <= 8;
}
// Black over three fifths or more of the pixel, on the background or on an outline: within
// a pixel of any point of a sloping 1-pixel line some pixel is that dark, while a line along
// a pixel boundary is only half-covered grey. A dark pixel tinted away from grey or blue is
// another colour crossing the curve.
bool isBlack(Rgb c) {
    return std::max({c.r, c.g, c.b}) <= 100 && std::abs(c.r - c.g) <= 16;
}

bool isMagenta(Rgb c) {
    return c.r >= 150 && c.b >= 150 && c.g <= 60 && std::abs(c.r - c.b) <= 40;
}

// (0, 0.6, 0.55): green and blue alike, unlike the outlines' blue and the query point's green.
bool isTeal(Rgb c) {
    return c.r <= 60 && c.g >= 110 && c.b >= 100 && std::abs(c.g - c.b) <= 40;
}

bool foundNear(const Picture &picture, int x, int y, int reach, const ColourClass &colour) {
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            if (picture.contains(x + dx, y + dy) && colour(picture.at(x + dx, y + dy))) {
                return true;
            }
        }
    }
    return false;
}

int countPixels(const Picture &picture, const ColourClass &colour) {
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

int longestColumnRun(const Picture &picture, const ColourClass &colour) {
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

namespace {

// For each of `to` pixels along an axis of `from`: the pixels of `from` it covers, with the
// share of each in its mean.
using Spans = std::vector<std::vector<std::pair<int, double>>>;
Spans spans(int from, int to) {
    const double scale = double(from) / to;
    Spans covered(to);
    for (int i = 0; i < to; ++i) {
        const double begin = i * scale, end = (i + 1) * scale;
        for (int k = int(begin); k < end && k < from; ++k) {
            const double cover = std::min(end, k + 1.0) - std::max(begin, double(k));
            if (cover > 0) {
                covered[i].push_back({k, cover / scale});
            }
        }
    }
    return covered;
}

} // namespace

Picture resampled(const Picture &picture, int width, int height) {
    const Spans across = spans(picture.width, width), down = spans(picture.height, height);
    std::vector<double> rows(3 * std::size_t(width) * picture.height, 0.0); // scaled across
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (const auto &[k, share] : across[x]) {
                for (int c = 0; c < 3; ++c) {
                    rows[3 * (y * std::size_t(width) + x) + c] +=
                        share * picture.rgb[3 * (y * std::size_t(picture.width) + k) + c];
                }
            }
        }
    }
    Picture scaled{width, height, std::vector<std::uint8_t>(3 * std::size_t(width) * height)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                double sum = 0.0;
                for (const auto &[k, share] : down[y]) {
                    sum += share * rows[3 * (k * std::size_t(width) + x) + c];
                }
                scaled.rgb[3 * (y * std::size_t(width) + x) + c] =
                    static_cast<std::uint8_t>(std::clamp(sum + 0.5, 0.0, 255.0));
            }
        }
    }
    return scaled;
}

std::string describe(Rgb c) {
    return "(" + std::to_string(c.r) + ", " + std::to_string(c.g) + ", " + std::to_string(c.b) +
           ")";
}

bool writePng(const Picture &picture, const std::string &path) {
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    // libpng reports a failed write by jumping back here.
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, picture.width, picture.height, 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y) {
        png_write_row(png, &picture.rgb[3 * static_cast<std::size_t>(y) * picture.width]);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

bool readPng(const std::string &path, Picture &picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    // Transparent pixels would come out black; composed over white they read as the page.
    const png_color white = {255, 255, 255};
    if (!png_image_finish_read(&image, &white, rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgb = std::move(rgb);
    return true;
}
