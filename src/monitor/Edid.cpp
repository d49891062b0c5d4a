#include "monitor/Edid.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<std::uint8_t, 8> kHeader = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr std::size_t kManufacturerOffset = 8;
constexpr std::size_t kProductCodeOffset = 10;
constexpr std::size_t kSerialNumberOffset = 12;
constexpr std::size_t kInputOffset = 20;
constexpr std::uint8_t kDigitalInputBit = 0x80;
constexpr std::size_t kScreenWidthCmOffset = 21;
constexpr std::size_t kScreenHeightCmOffset = 22;
constexpr int kMmPerCm = 10;

// The PNP ID: three 5-bit letters, big-endian, 1 for 'A'.
constexpr int kPnpLetterBits = 5;
constexpr unsigned kPnpLetterMask = 0x1F;
constexpr unsigned kPnpLetterCount = 3;
constexpr unsigned kPnpLastLetter = 26;

constexpr std::size_t kDescriptorSize = 18;
constexpr std::array<std::size_t, 4> kDescriptorOffsets = {54, 72, 90, 108};

// A detailed timing: the pixel clock in 10 kHz units, then 12-bit fields whose low bytes
// come first and whose high nibbles share a byte.
constexpr double kPixelClockUnitHz = 10000;
constexpr std::size_t kHActiveLow = 2;
constexpr std::size_t kHBlankLow = 3;
constexpr std::size_t kHHigh = 4;
constexpr std::size_t kVActiveLow = 5;
constexpr std::size_t kVBlankLow = 6;
constexpr std::size_t kVHigh = 7;
constexpr std::size_t kWidthMmLow = 12;
constexpr std::size_t kHeightMmLow = 13;
constexpr std::size_t kSizeMmHigh = 14;
constexpr std::size_t kFeatures = 17;
constexpr std::uint8_t kInterlacedBit = 0x80;
constexpr int kFieldsPerFrame = 2;

// A display descriptor (pixel clock 0): a zero byte, the tag, a reserved byte, then text
// ended by a line feed.
constexpr std::size_t kDisplayZero = 2;
constexpr std::size_t kDisplayTag = 3;
constexpr std::size_t kDisplayText = 5;
constexpr std::uint8_t kSerialTextTag = 0xFF;
constexpr std::uint8_t kNameTag = 0xFC;

constexpr std::uint8_t kFirstPrintable = 0x20;
constexpr std::uint8_t kLastPrintable = 0x7E;

constexpr int kByteBits = 8;
constexpr int kNibbleBits = 4;
constexpr unsigned kNibbleMask = 0x0F;

using Descriptor = std::span<const std::uint8_t, kDescriptorSize>;

std::uint32_t LittleEndian(const std::uint8_t* at, std::size_t size)
{
    std::uint32_t value = 0;
    for (std::size_t k = size; k-- > 0;) value = value << kByteBits | at[k];
    return value;
}

std::uint16_t Le16(const std::uint8_t* at)
{
    return static_cast<std::uint16_t>(LittleEndian(at, sizeof(std::uint16_t)));
}

// The low byte and the high nibble (the upper one when highFirst).
int Field12(std::uint8_t low, std::uint8_t high, bool highFirst)
{
    const unsigned nibble = highFirst ? unsigned{high} >> kNibbleBits : high & kNibbleMask;
    return static_cast<int>(low | nibble << kByteBits);
}

void ReadManufacturer(const std::uint8_t* at, char (&id)[kPnpIdSize])
{
    const unsigned packed = unsigned{at[0]} << kByteBits | at[1];
    for (unsigned k = 0; k < kPnpLetterCount; ++k) {
        const unsigned letter = packed >> (kPnpLetterBits * (kPnpLetterCount - 1 - k)) & kPnpLetterMask;
        if (letter == 0 || letter > kPnpLastLetter) {
            id[0] = '\0';
            return;
        }
        id[k] = static_cast<char>('A' + letter - 1);
    }
    id[kPnpLetterCount] = '\0';
}

bool IsPrintable(std::uint8_t c) { return c >= kFirstPrintable && c <= kLastPrintable; }

// Printable ASCII up to the first other byte (the line feed, normally), without the blanks
// that pad it.
void ReadText(Descriptor d, char (&text)[kEdidTextSize])
{
    std::size_t length = 0;
    for (std::size_t at = kDisplayText; at < kDescriptorSize && IsPrintable(d[at]); ++at)
        text[length++] = static_cast<char>(d[at]);
    while (length > 0 && text[length - 1] == ' ') --length;
    text[length] = '\0';
}

void ReadTiming(Descriptor d, EdidInfo& info)
{
    const int widthMm = Field12(d[kWidthMmLow], d[kSizeMmHigh], true);
    const int heightMm = Field12(d[kHeightMmLow], d[kSizeMmHigh], false);
    if (widthMm > 0 && heightMm > 0) {
        info.widthMm = widthMm;
        info.heightMm = heightMm;
    }

    const int hActive = Field12(d[kHActiveLow], d[kHHigh], true);
    const int hTotal = hActive + Field12(d[kHBlankLow], d[kHHigh], false);
    const int vActive = Field12(d[kVActiveLow], d[kVHigh], true);
    const int vTotal = vActive + Field12(d[kVBlankLow], d[kVHigh], false);
    if (hActive == 0 || vActive == 0) return;
    info.nativeInterlaced = (d[kFeatures] & kInterlacedBit) != 0;
    info.nativeWidth = hActive;
    info.nativeHeight = info.nativeInterlaced ? vActive * kFieldsPerFrame : vActive;
    info.nativeHz = Le16(d.data()) * kPixelClockUnitHz / (static_cast<double>(hTotal) * vTotal);
}

}  // namespace

EdidInfo DecodeEdid(std::span<const std::uint8_t> bytes)
{
    EdidInfo info;
    if (bytes.size() < kEdidBlockSize) return info;
    const std::span<const std::uint8_t, kEdidBlockSize> block = bytes.first<kEdidBlockSize>();
    if (!std::equal(kHeader.begin(), kHeader.end(), block.begin())) return info;
    std::uint8_t sum = 0;
    for (const std::uint8_t b : block) sum = static_cast<std::uint8_t>(sum + b);
    if (sum != 0) return info;

    info.valid = true;
    ReadManufacturer(&block[kManufacturerOffset], info.manufacturer);
    info.productCode = Le16(&block[kProductCodeOffset]);
    info.serialNumber = LittleEndian(&block[kSerialNumberOffset], sizeof info.serialNumber);
    info.input = (block[kInputOffset] & kDigitalInputBit) != 0 ? EdidInput::Digital : EdidInput::Analogue;

    // The first detailed timing is the monitor's preferred mode.
    bool timingRead = false;
    for (const std::size_t offset : kDescriptorOffsets) {
        const Descriptor d = block.subspan(offset).first<kDescriptorSize>();
        if (Le16(d.data()) != 0) {
            if (!timingRead) ReadTiming(d, info);
            timingRead = true;
        } else if (d[kDisplayZero] == 0) {
            // A descriptor with blank text does not hide a later one of the same tag.
            if (d[kDisplayTag] == kNameTag && info.name[0] == '\0') ReadText(d, info.name);
            if (d[kDisplayTag] == kSerialTextTag && info.serialText[0] == '\0') ReadText(d, info.serialText);
        }
    }

    // Bytes 21-22 give only whole centimetres, and a zero in either says they hold an aspect ratio.
    if (info.widthMm == 0 && block[kScreenWidthCmOffset] != 0 && block[kScreenHeightCmOffset] != 0) {
        info.widthMm = block[kScreenWidthCmOffset] * kMmPerCm;
        info.heightMm = block[kScreenHeightCmOffset] * kMmPerCm;
    }
    return info;
}
