#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/Capabilities.h"

namespace {

std::vector<int> Listed(const VcpCodes& codes)
{
    std::vector<int> out;
    for (int c = 0; c < 256; ++c)
        if (codes.listed.test(c)) out.push_back(c);
    return out;
}

TEST(Capabilities, ReadsTheCodesOfRealStrings)
{
    const std::string longModel = "model(" + std::string(1200, 'X') + ")";
    struct Case {
        std::string caps;
        std::vector<int> codes;
    } cases[] = {
        {"(prot(monitor)type(lcd)model(P2419H)cmds(01 02 03 07 0C E3 F3)vcp(02 04 05 08 10 12 14(05 08 0B) 16 18 1A "
         "52 60(0F 11) AC AE B2 B6 C6 C8 C9 D6(01 04) DF)mswhql(1)mccs_ver(2.1))",
         {0x02, 0x04, 0x05, 0x08, 0x10, 0x12, 0x14, 0x16, 0x18, 0x1A, 0x52, 0x60, 0xAC, 0xAE, 0xB2, 0xB6, 0xC6, 0xC8,
          0xC9, 0xD6, 0xDF}},
        {"vcp(10 12 14(05 08 0B) 16 18 1A 60(0F 11))", {0x10, 0x12, 0x14, 0x16, 0x18, 0x1A, 0x60}},
        {"(vcp(1012161A))", {0x10, 0x12, 0x16, 0x1A}},
        {"(prot(monitor)VCP (10 14 (05 (01 02) 08)6c 6E)cmds(01))", {0x10, 0x14, 0x6C, 0x6E}},
        {"(vcp(10 12)))", {0x10, 0x12}},
        {"(prot(monitor)vcp(10 12 14(05 08", {0x10, 0x12, 0x14}},
        {"(vcp_p02(87)model(LCD (rev 2) vcp)vcp(10))", {0x10}},
        {"(mccs ver(2.2)unknown_seg(zz)vcp(87))", {0x87}},
        {"(" + longModel + "vcp(12))", {0x12}},
        {std::string("(vcp(02 10))\0\0 \r\n ", 19), {0x02, 0x10}},
    };
    for (const Case& c : cases) {
        const VcpCodes codes = ParseCapabilities(c.caps);
        EXPECT_TRUE(codes.parsed) << c.caps;
        EXPECT_EQ(Listed(codes), c.codes) << c.caps;
    }
}

TEST(Capabilities, StringsThatMakeNoSenseCountAsUnparsed)
{
    for (const char* caps : {"", "   ", "garbage", "(prot(monitor)model(X))", "(vcp_p02(10 12))", "(vcp(10 1x))",
                             "(vcp(10 2 12))", "(myvcp(10))", "(vcp(10 1))"})
        EXPECT_FALSE(ParseCapabilities(caps).parsed) << caps;
}

TEST(Capabilities, ASliderWritesOnlyLevelsNeverAnActionOrAChoice)
{
    // 0x62 and 0x8D are choices on this monitor; the rest of the refused ones on any.
    const VcpCodes caps = ParseCapabilities("(vcp(10 12 14(05 08) 16 62 (01 02) 87 8D(01 02)))");
    for (const int never : {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x08, 0x0A, 0x14, 0x1E, 0x1F, 0x60, 0x62, 0x8D, 0xB0,
                            0xCA, 0xCC, 0xD6, 0xDC, 0xDF, 0xE0, 0xF5, 0xFF})
        EXPECT_FALSE(SliderMayWrite(static_cast<std::uint8_t>(never), caps)) << std::hex << never;
    for (const int level : {0x10, 0x12, 0x16, 0x18, 0x1A, 0x6C, 0x87})
        EXPECT_TRUE(SliderMayWrite(static_cast<std::uint8_t>(level), caps)) << std::hex << level;
    EXPECT_TRUE(SliderMayWrite(0x62, ParseCapabilities("(vcp(62))")));
}

}  // namespace
