// What a monitor's EDID block says about it (maker, model, name, native mode, size), read
// from the raw bytes that the monitor sends; any of them may be damaged or missing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// The base block; the extension blocks that may follow it are not read.
inline constexpr std::size_t kEdidBlockSize = 128;
// A three-letter PNP ID and its terminating zero.
inline constexpr std::size_t kPnpIdSize = 4;
// A descriptor holds at most 13 characters of text; one more for the terminating zero.
inline constexpr std::size_t kEdidTextSize = 14;

enum class EdidInput : std::uint8_t { Unknown, Analogue, Digital };

// A point of the CIE 1931 xy diagram.
struct Chromaticity {
    double x = 0;
    double y = 0;
};

// The colours of the screen's red, green and blue, and of its white; all 0 when unknown.
struct Chromaticities {
    Chromaticity red;
    Chromaticity green;
    Chromaticity blue;
    Chromaticity white;
};

// Every fact is zero or empty when unknown; all of them are when the block is not valid.
struct EdidInfo {
    bool valid = false;
    char manufacturer[kPnpIdSize] = {};
    std::uint16_t productCode = 0;
    std::uint32_t serialNumber = 0;  // 0: none
    char name[kEdidTextSize] = {};
    char serialText[kEdidTextSize] = {};
    // The first detailed timing's mode; an interlaced mode's height is the frame's, and
    // its rate the field rate.
    int nativeWidth = 0;
    int nativeHeight = 0;
    double nativeHz = 0;
    bool nativeInterlaced = false;
    int widthMm = 0;
    int heightMm = 0;
    EdidInput input = EdidInput::Unknown;
    Chromaticities chromaticities;
};

EdidInfo DecodeEdid(std::span<const std::uint8_t> bytes);
