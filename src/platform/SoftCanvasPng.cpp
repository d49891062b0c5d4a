#include "platform/SoftCanvasPng.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int kBitDepth = 8;
constexpr std::size_t kBytesPerPixel = 3;

// libpng reports errors by longjmp back to here; nothing below owns a resource, so
// no destructor is skipped.
bool WriteImage(png_structp png, png_infop info, std::FILE* file, const SoftCanvas& canvas,
                std::vector<png_byte>& row)
{
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(canvas.Width()),
                 static_cast<png_uint_32>(canvas.Height()), kBitDepth, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const auto pixels = canvas.Pixels();
    const auto width = static_cast<std::size_t>(canvas.Width());
    for (std::size_t y = 0; y < static_cast<std::size_t>(canvas.Height()); ++y) {
        for (std::size_t x = 0; x < width; ++x) {
            const Colour colour = pixels[y * width + x];  // 0x00BBGGRR
            row[x * kBytesPerPixel] = static_cast<png_byte>(colour);
            row[x * kBytesPerPixel + 1] = static_cast<png_byte>(colour >> 8);
            row[x * kBytesPerPixel + 2] = static_cast<png_byte>(colour >> 16);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

bool WritePng(const SoftCanvas& canvas, const char* path)
{
    if (canvas.Width() == 0 || canvas.Height() == 0) return false;
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    std::vector<png_byte> row(static_cast<std::size_t>(canvas.Width()) * kBytesPerPixel);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool written = info && WriteImage(png, info, file, canvas, row);
    png_destroy_write_struct(&png, &info);
    written = std::fclose(file) == 0 && written;
    return written;
}
