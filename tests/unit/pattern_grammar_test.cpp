#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <ostream>
#include <string>

#include "patterns/PatternGrammar.h"

namespace {

struct Row {
    const char* spec;
    Pattern pattern;
    std::int32_t number;
};

// Listed tests show the keyword, not the row's bytes.
void PrintTo(const Row& row, std::ostream* out) { *out << '"' << row.spec << '"'; }

class PatternSpecRows : public ::testing::TestWithParam<Row> {};

// "3_Gray_32" for row 3, "Gray 32": the row's place and its keyword with every byte
// that a test name cannot hold spelled out.
std::string RowName(const ::testing::TestParamInfo<Row>& info)
{
    std::string name = std::to_string(info.index) + "_";
    for (const char* c = info.param.spec; *c != '\0'; ++c) {
        switch (*c) {
        case '-': name += "minus"; break;
        case '+': name += "plus"; break;
        case '\t': name += "tab"; break;
        case '\n': name += "lf"; break;
        case '\r': name += "cr"; break;
        default: name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        }
    }
    return name;
}

TEST_P(PatternSpecRows, FirstMatchingRuleWins)
{
    const Row& row = GetParam();
    const PatternChoice choice = MatchPatternSpec(row.spec);
    EXPECT_EQ(choice.pattern, row.pattern) << row.spec;
    EXPECT_EQ(choice.number, row.number) << row.spec;
}

INSTANTIATE_TEST_SUITE_P(
    KeywordTable, PatternSpecRows,
    ::testing::Values(Row{"Gray", Pattern::UniformGrey, 128}, Row{"Gray64", Pattern::UniformGrey, 64},
                      Row{"Gray0", Pattern::UniformGrey, 128}, Row{"Gray 32", Pattern::UniformGrey, 32},
                      Row{"Gray256", Pattern::UniformGrey, 256}, Row{"MidGray40", Pattern::UniformGrey, 128},
                      Row{"VGrayLines", Pattern::UniformGrey, 128}, Row{"VLines", Pattern::VerticalLines, 1},
                      Row{"V3Lines", Pattern::VerticalLines, 3}, Row{"V0Lines", Pattern::VerticalLines, 1},
                      Row{"HLines", Pattern::HorizontalLines, 0}, Row{"H2Lines", Pattern::None, 0},
                      Row{"CLines", Pattern::ColourRamp, 0}, Row{"C2Lines", Pattern::None, 0},
                      Row{"CHatch", Pattern::Hatch, 2}, Row{"C4Hatch", Pattern::Hatch, 4},
                      Row{"Hatch", Pattern::None, 0}, Row{"GLines", Pattern::LabelledRamp, 0},
                      Row{"Border", Pattern::Border, 0}, Row{"White", Pattern::White, 0},
                      Row{"white", Pattern::None, 0}, Row{"Black", Pattern::Black, 0},
                      Row{"Help", Pattern::Black, 0}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, PatternSpecRows,
    ::testing::Values(Row{"", Pattern::None, 0}, Row{"Border ", Pattern::None, 0},
                      Row{" Border", Pattern::None, 0}, Row{"V-2Lines", Pattern::VerticalLines, -2},
                      Row{"Gray-1", Pattern::UniformGrey, -1}, Row{"Gray+7", Pattern::UniformGrey, 7},
                      Row{"Gray\t\n12", Pattern::UniformGrey, 12},
                      Row{"V2147483647Lines", Pattern::VerticalLines, INT_MAX},
                      Row{"V99999999999999999999Lines", Pattern::VerticalLines, INT_MAX},
                      Row{"Gray-2147483648", Pattern::UniformGrey, INT_MIN},
                      Row{"Gray-99999999999999", Pattern::UniformGrey, INT_MIN},
                      Row{"C-5Hatch", Pattern::Hatch, -5}, Row{"CHatch9", Pattern::Hatch, 2},
                      Row{"Lines", Pattern::None, 0}, Row{"VLine", Pattern::None, 0},
                      Row{"HatchC", Pattern::None, 0}, Row{"CLinesHatch", Pattern::Hatch, 2},
                      Row{"Black\r", Pattern::None, 0}, Row{"VHLines", Pattern::VerticalLines, 1},
                      Row{"Gra", Pattern::None, 0}),
    RowName);

// The guide's keywords match only as whole, case-sensitive words, and only where no rule
// above them does: the rows after the exact ones keep the meaning they always had.
INSTANTIATE_TEST_SUITE_P(
    GuideKeywords, PatternSpecRows,
    ::testing::Values(Row{"Red", Pattern::Red, 0}, Row{"Green", Pattern::Green, 0},
                      Row{"Blue", Pattern::Blue, 0}, Row{"BlackLevel", Pattern::BlackLevel, 0},
                      Row{"WhiteLevel", Pattern::WhiteLevel, 0}, Row{"Gamma", Pattern::Gamma, 0},
                      Row{"Checker", Pattern::Checker, 0}, Row{"Gradient", Pattern::Gradient, 0},
                      Row{"red", Pattern::None, 0}, Row{"GAMMA", Pattern::None, 0},
                      Row{"Red ", Pattern::None, 0}, Row{" Blue", Pattern::None, 0},
                      Row{"Checkers", Pattern::None, 0}, Row{"BlackLevel2", Pattern::None, 0},
                      Row{"Gradient\r", Pattern::None, 0}, Row{"Level", Pattern::None, 0},
                      Row{"GrayGradient", Pattern::UniformGrey, 128},
                      Row{"GammaGray", Pattern::UniformGrey, 128},
                      Row{"VRedLines", Pattern::VerticalLines, 1},
                      Row{"VGammaLines", Pattern::VerticalLines, 1},
                      Row{"CheckerHatch", Pattern::Hatch, 2},
                      Row{"CGradientHatch", Pattern::Hatch, 2}),
    RowName);

// Motion speeds run from 60 to 7680 px/s, written as plain digits.
INSTANTIATE_TEST_SUITE_P(
    MotionKeywords, PatternSpecRows,
    ::testing::Values(Row{"Motion", Pattern::Motion, 960}, Row{"Motion60", Pattern::Motion, 60},
                      Row{"Motion7680", Pattern::Motion, 7680}, Row{"Motion59", Pattern::None, 0},
                      Row{"Motion7681", Pattern::None, 0}, Row{"Motion0960", Pattern::None, 0},
                      Row{"Motion 960", Pattern::None, 0}, Row{"Motion+960", Pattern::None, 0},
                      Row{"Motion960px", Pattern::None, 0}, Row{"motion", Pattern::None, 0},
                      Row{"MotionGray", Pattern::UniformGrey, 128}),
    RowName);

// The speed driver times this list as "every keyword": each entry must mean what it says,
// and every pattern must be in it.
TEST(EveryKeyword, NamesEachPatternAndMatchesIt)
{
    bool listed[static_cast<int>(Pattern::Motion) + 1] = {};
    for (const KeywordSample& sample : kEveryKeyword) {
        EXPECT_EQ(MatchPatternSpec(sample.spec).pattern, sample.pattern) << sample.spec;
        listed[static_cast<int>(sample.pattern)] = true;
    }
    for (int p = static_cast<int>(Pattern::UniformGrey); p <= static_cast<int>(Pattern::Motion); ++p)
        EXPECT_TRUE(listed[p]) << "pattern " << p << " has no keyword in kEveryKeyword";
}

}  // namespace
