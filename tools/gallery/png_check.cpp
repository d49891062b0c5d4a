// Test helper for the gallery: reads a PNG back with libpng and checks its size and
// some of its pixels.
//
//   lumetta_png_check <file.png> <width> <height> [<x> <y> <RRGGBB>]...
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kFixedArguments = 4;
constexpr int kArgumentsPerPixel = 3;

}  // namespace

int main(int argc, char** argv)
{
    if (argc < kFixedArguments || (argc - kFixedArguments) % kArgumentsPerPixel != 0) {
        std::fprintf(stderr, "usage: lumetta_png_check <file.png> <width> <height> [<x> <y> <RRGGBB>]...\n");
        return 2;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, argv[1])) {
        std::fprintf(stderr, "%s: %s\n", argv[1], image.message);
        return 1;
    }
    const auto width = std::strtoul(argv[2], nullptr, 10);
    const auto height = std::strtoul(argv[3], nullptr, 10);
    if (image.width != width || image.height != height) {
        std::fprintf(stderr, "%s is %u x %u, not %lu x %lu\n", argv[1], image.width, image.height,
                     width, height);
        png_image_free(&image);
        return 1;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], image.message);
        return 1;
    }

    int failures = 0;
    for (int a = kFixedArguments; a < argc; a += kArgumentsPerPixel) {
        const auto x = std::strtoul(argv[a], nullptr, 10);
        const auto y = std::strtoul(argv[a + 1], nullptr, 10);
        const auto expected = std::strtoul(argv[a + 2], nullptr, 16);
        if (x >= width || y >= height) {
            std::fprintf(stderr, "pixel (%lu, %lu) is outside the image\n", x, y);
            ++failures;
            continue;
        }
        const png_byte* p = &pixels[(y * width + x) * 3];
        const unsigned long actual = (p[0] << 16) | (p[1] << 8) | p[2];
        if (actual != expected) {
            std::fprintf(stderr, "pixel (%lu, %lu) is %06lX, expected %06lX\n", x, y, actual, expected);
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
