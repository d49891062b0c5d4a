#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <numeric>
#include <string>
#include <string_view>
#include <utility>

#include "monitor/Edid.h"

namespace {

using Block = std::array<std::uint8_t, kEdidBlockSize>;

void Put(Block& b, std::size_t at, std::initializer_list<int> bytes)
{
    for (const int v : bytes) b[at++] = static_cast<std::uint8_t>(v);
}

// Clock in 10 kHz units, active and blank sizes, image size in mm, and the flags byte.
void PutTiming(Block& b, std::size_t at, int clock, int hA, int hB, int vA, int vB, int wMm, int hMm, int flags)
{
    Put(b, at, {clock & 0xFF, clock >> 8, hA & 0xFF, hB & 0xFF, (hA >> 8) << 4 | hB >> 8, vA & 0xFF, vB & 0xFF,
                (vA >> 8) << 4 | vB >> 8, 0, 0, 0, 0, wMm & 0xFF, hMm & 0xFF, (wMm >> 8) << 4 | hMm >> 8, 0, 0, flags});
}

void PutText(Block& b, std::size_t at, int tag, std::string_view text13)
{
    Put(b, at, {0, 0, 0, tag, 0});
    for (std::size_t k = 0; k < text13.size(); ++k) b[at + 5 + k] = static_cast<std::uint8_t>(text13[k]);
}

Block Sealed(Block b)
{
    b.back() = static_cast<std::uint8_t>(-std::accumulate(b.begin(), b.end() - 1, 0));
    return b;
}

// "LMT" (01100 01101 10100), product 0x1234, serial 0x01020304, 60 x 34 cm, and the input byte.
Block MakeBlock(int input)
{
    Block b{};  // descriptors all zero: pixel clock 0 and tag 0, which nothing reads
    Put(b, 0, {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x31, 0xB4, 0x34, 0x12, 0x04, 0x03, 0x02, 0x01, 0x01,
               0x20, 0x01, 0x04, input, 60, 34});
    return b;
}

// Every fact of a valid block on one line; the rate to 0.01 Hz.
std::string Describe(const EdidInfo& i)
{
    char line[160];
    std::snprintf(line, sizeof line, "'%s' %04X %08X '%s' '%s' %dx%d%s@%.2f %dx%dmm %s", i.manufacturer, i.productCode,
                  i.serialNumber, i.name, i.serialText, i.nativeWidth, i.nativeHeight, i.nativeInterlaced ? "i" : "",
                  i.nativeHz, i.widthMm, i.heightMm, i.input == EdidInput::Digital ? "digital" : "analogue");
    return i.valid ? line : "invalid";
}

TEST(Edid, ReadsRealShapedBlocks)
{
    Block digital = MakeBlock(0xA5);
    PutTiming(digital, 54, 24150, 2560, 160, 1440, 41, 597, 336, 0x18);  // CVT-RB 2560x1440@60
    PutText(digital, 72, 0xFF, "AB12CD  \n    ");
    PutText(digital, 90, 0xFC, "LMT Q27\n     ");
    PutTiming(digital, 108, 14850, 1920, 280, 1080, 45, 0, 0, 0x18);
    Block analogue = MakeBlock(0x0E);
    analogue[54 + 3] = 0xFD;                                        // range limits before the timing
    PutTiming(analogue, 72, 7425, 1920, 280, 540, 22, 0, 0, 0x98);  // 1080i: 540 lines a field
    Block oddMaker = digital;
    oddMaker[8] = 0x6D;  // first letter 27
    // 241 500 000 Hz / (2720 * 1481) = 59.9506 Hz; 74 250 000 Hz / (2200 * 562) = 60.0534 Hz
    const std::pair<Block, const char*> cases[] = {
        {digital, "'LMT' 1234 01020304 'LMT Q27' 'AB12CD' 2560x1440@59.95 597x336mm digital"},
        {analogue, "'LMT' 1234 01020304 '' '' 1920x1080i@60.05 600x340mm analogue"},
        {oddMaker, "'' 1234 01020304 'LMT Q27' 'AB12CD' 2560x1440@59.95 597x336mm digital"},
    };
    for (const auto& [block, expected] : cases) EXPECT_EQ(Describe(DecodeEdid(Sealed(block))), expected);
}

TEST(Edid, RejectsDamagedBlocks)
{
    const Block good = Sealed(MakeBlock(0xA5));
    Block badSum = good, badHeader = MakeBlock(0xA5);
    ++badSum[127];
    badHeader[7] = 0xFF;
    EXPECT_TRUE(DecodeEdid(good).valid);
    EXPECT_FALSE(DecodeEdid(badSum).valid);
    EXPECT_FALSE(DecodeEdid(Sealed(badHeader)).valid);
    EXPECT_FALSE(DecodeEdid(std::span(good).first(kEdidBlockSize - 1)).valid);
}

}  // namespace
