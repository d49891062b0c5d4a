// Any bytes as a monitor's EDID: the decoder never crashes or reads past the end, what it
// reports is well formed, and the bytes after the base block change nothing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "monitor/Edid.h"
#include "Require.h"

namespace {

// Zero-terminated, printable ASCII, no trailing blank.
template <std::size_t N>
bool IsCleanText(const char (&text)[N])
{
    const std::size_t length = strnlen(text, N);
    for (std::size_t k = 0; k < length; ++k)
        if (text[k] < ' ' || text[k] > '~') return false;
    return length < N && (length == 0 || text[length - 1] != ' ');
}

bool Same(const EdidInfo& a, const EdidInfo& b)
{
    return a.valid == b.valid && std::strcmp(a.manufacturer, b.manufacturer) == 0 && a.productCode == b.productCode &&
           a.serialNumber == b.serialNumber && std::strcmp(a.name, b.name) == 0 &&
           std::strcmp(a.serialText, b.serialText) == 0 && a.nativeWidth == b.nativeWidth &&
           a.nativeHeight == b.nativeHeight && a.nativeHz == b.nativeHz && a.nativeInterlaced == b.nativeInterlaced &&
           a.widthMm == b.widthMm && a.heightMm == b.heightMm && a.input == b.input;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const EdidInfo info = DecodeEdid(std::span(data, size));
    Require(info.valid || Same(info, EdidInfo{}), "an invalid block reports nothing");
    Require(IsCleanText(info.manufacturer) && IsCleanText(info.name) && IsCleanText(info.serialText),
            "texts are zero-terminated printable ASCII");
    const char* maker = info.manufacturer;
    const std::size_t makerLength = strnlen(maker, kPnpIdSize);
    Require((makerLength == 0 || makerLength == kPnpIdSize - 1) &&
                std::all_of(maker, maker + makerLength, [](char c) { return c >= 'A' && c <= 'Z'; }),
            "the maker is empty or three upper-case letters");
    Require((info.nativeWidth > 0) == (info.nativeHeight > 0) && (info.nativeWidth > 0) == (info.nativeHz > 0),
            "a native mode is known whole or not at all");

    if (size >= kEdidBlockSize) {
        // Extension blocks follow the base block; the input itself stands in for one.
        std::vector<std::uint8_t> longer(data, data + size);
        longer.insert(longer.end(), data, data + size);
        Require(Same(DecodeEdid(longer), info), "bytes after the base block are ignored");
    }
    return 0;
}
