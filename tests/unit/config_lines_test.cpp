#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "base/Numbers.h"
#include "config/Config.h"

namespace {

std::string Expanded(std::string text)
{
    ExpandLineBreaks(text.data());
    return text;
}

TEST(ExpandLineBreaks, TurnsEachEscapeIntoCrLfAndNothingElse)
{
    EXPECT_EQ(Expanded(""), "");
    EXPECT_EQ(Expanded("a\\nb"), "a\r\nb");
    EXPECT_EQ(Expanded("\\n\\n"), "\r\n\r\n");
    EXPECT_EQ(Expanded("a\\Nb"), "a\\Nb");
    EXPECT_EQ(Expanded("a\\tb"), "a\\tb");
    EXPECT_EQ(Expanded("end\\"), "end\\");
    EXPECT_EQ(Expanded("\\\\n"), "\\\r\n");
}

TEST(SplitStepLine, FieldsFollowTheCommas)
{
    const StepFields f = SplitStepLine("Purpose, How to, Border, What, with, commas");
    EXPECT_EQ(f.purpose, "Purpose");
    EXPECT_EQ(f.howTo, "How to");
    EXPECT_EQ(f.patternSpec, "Border");
    EXPECT_EQ(f.seen, "What, with, commas");
}

TEST(SplitStepLine, MissingCommasLeaveLaterFieldsEmpty)
{
    StepFields f = SplitStepLine("only purpose");
    EXPECT_EQ(f.purpose, "only purpose");
    EXPECT_TRUE(f.howTo.empty() && f.patternSpec.empty() && f.seen.empty());

    f = SplitStepLine("p, h");
    EXPECT_EQ(f.howTo, "h");
    EXPECT_TRUE(f.patternSpec.empty() && f.seen.empty());

    f = SplitStepLine("p,h,White");
    EXPECT_EQ(f.patternSpec, "White");
    EXPECT_TRUE(f.seen.empty());

    f = SplitStepLine("");
    EXPECT_TRUE(f.purpose.empty() && f.howTo.empty() && f.patternSpec.empty() && f.seen.empty());
}

TEST(SplitStepLine, OnlySpacesAfterACommaAreSkippedAndNothingIsTrimmed)
{
    const StepFields f = SplitStepLine("  lead,   h ,\tBorder, Border , ");
    EXPECT_EQ(f.purpose, "  lead");
    EXPECT_EQ(f.howTo, "h ");
    EXPECT_EQ(f.patternSpec, "\tBorder");
    EXPECT_EQ(f.seen, "Border , ");
}

TEST(SplitStepLine, SpacesBeforeTheEndOfTheLineGiveEmptyFields)
{
    const StepFields f = SplitStepLine("p,   ");
    EXPECT_EQ(f.howTo, "");
    EXPECT_EQ(f.patternSpec, "");
}

TEST(SplitModelLine, DisplayNameStartsPastSpacesAndKeepsCommas)
{
    for (const char* line : {"PANEL,Flat panel, analogue", "PANEL, Flat panel, analogue",
                             "PANEL,    Flat panel, analogue"}) {
        const ModelFields f = SplitModelLine(line);
        EXPECT_EQ(f.section, "PANEL");
        EXPECT_EQ(f.displayName, "Flat panel, analogue");
    }
    const ModelFields bare = SplitModelLine("PANEL ");
    EXPECT_EQ(bare.section, "PANEL ");
    EXPECT_EQ(bare.displayName, "");
}

TEST(ParseNumber, ReadsSignAndDigitsAfterWhiteSpace)
{
    EXPECT_EQ(ParseNumber("42"), 42);
    EXPECT_EQ(ParseNumber(" \t\r\n\v\f7"), 7);
    EXPECT_EQ(ParseNumber("+9"), 9);
    EXPECT_EQ(ParseNumber("-3"), -3);
    EXPECT_EQ(ParseNumber("3 steps"), 3);
    EXPECT_EQ(ParseNumber("007"), 7);
}

TEST(ParseNumber, NoDigitsGiveZero)
{
    EXPECT_EQ(ParseNumber(""), 0);
    EXPECT_EQ(ParseNumber("   "), 0);
    EXPECT_EQ(ParseNumber("abc"), 0);
    EXPECT_EQ(ParseNumber("-"), 0);
    EXPECT_EQ(ParseNumber("+ 5"), 0);
    EXPECT_EQ(ParseNumber("-0x10"), 0);
}

TEST(ParseNumber, ClampsToThe32BitRange)
{
    EXPECT_EQ(ParseNumber("2147483647"), INT_MAX);
    EXPECT_EQ(ParseNumber("2147483648"), INT_MAX);
    EXPECT_EQ(ParseNumber("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseNumber("-2147483648"), INT_MIN);
    EXPECT_EQ(ParseNumber("-2147483649"), INT_MIN);
    EXPECT_EQ(ParseNumber("-" + std::string(5000, '9')), INT_MIN);
}

}  // namespace
