// The data.ini that ships with Lumetta, read through the real configuration code: every
// model loads without a message, every step names a pattern, and every text fits the
// wizard's controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "config/Config.h"
#include "FakePlatform.h"
#include "patterns/PatternGrammar.h"
#include "resources/resource.h"

namespace {

// The purpose and what-is-seen labels are 276 dialog units, about 414 pixels of 8-point
// MS Sans Serif: some 70 characters of ordinary text before the end is clipped.
constexpr std::size_t kOneLineCharacters = 70;
// The how-to box is 272 by 52 dialog units: six lines of about 65 characters.
constexpr std::size_t kHowToLineCharacters = 65;
constexpr int kHowToMaxLines = 6;
// The model list is 168 dialog units wide, about 42 characters.
constexpr std::size_t kModelNameCharacters = 42;
// Large enough to see whether a value was longer than the buffer it is read into.
constexpr std::size_t kProbeSize = 8192;

constexpr const char* kModelsTexts[] = {"PURPOSE1", "HOWTO1", "WELCOME", "NOTES"};
constexpr int kCaptionControls[] = {IDC_PATTERN_LABEL, IDC_NEXT,       IDC_QUIT,       IDC_PREVIOUS,
                                    IDC_PURPOSE_LABEL, IDC_HOWTO_LABEL, IDC_SEEN_LABEL, IDC_HIDE};

// The English guide, or the translation that LUMETTA_GUIDE names.
std::string BundledIni()
{
    const char* guide = std::getenv("LUMETTA_GUIDE");
    std::ifstream file(guide ? guide : LUMETTA_SOURCE_DIR "/data.ini", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Lines that a static text control needs for the text: CR LF starts a new line, and a
// line longer than the width wraps at the last blank that lets a word fit.
int WrappedLineCount(std::string_view text, std::size_t width)
{
    int lines = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n");
        std::string_view line = text.substr(0, end);
        ++lines;
        while (line.size() > width) {
            const std::size_t blank = line.rfind(' ', width);
            line.remove_prefix(blank == std::string_view::npos || blank == 0 ? width : blank + 1);
            ++lines;
        }
        if (end == std::string_view::npos) return lines;
        text.remove_prefix(end + 2);
    }
}

class BundledDataIni : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string ini = BundledIni();
        ASSERT_FALSE(ini.empty()) << "cannot read " LUMETTA_SOURCE_DIR "/data.ini";
        fake.WriteIni(ini);
        LoadModelList(fake.platform, names);
        ASSERT_GT(names.count, 0) << "the bundled file lists no model";
    }

    // The length of a value as written in the file, before any buffer cuts it.
    std::size_t RawLength(const char* section, const char* key)
    {
        std::vector<char> value(kProbeSize);
        fake.ini.Read(section, key, value, g_app.configPath);
        return std::strlen(value.data());
    }

    FakePlatform fake;
    ModelNames names{};
};

TEST(WrappedLineCount, CountsLineBreaksAndWrapsAtBlanks)
{
    EXPECT_EQ(WrappedLineCount("one line", 65), 1);
    EXPECT_EQ(WrappedLineCount("first\r\nsecond\r\n\r\nfourth", 65), 4);
    EXPECT_EQ(WrappedLineCount("aaaa bbbb cccc", 9), 2);  // "aaaa bbbb" fits exactly
    EXPECT_EQ(WrappedLineCount("aaaa bbbb cccc", 8), 3);
    EXPECT_EQ(WrappedLineCount(std::string(20, 'x'), 8), 3);  // no blank: cut hard
}

TEST_F(BundledDataIni, ModelListLoadsSilentlyWithDistinctSectionsAndNamesThatFit)
{
    EXPECT_TRUE(fake.messages.shown.empty());
    std::set<std::string> sections;
    for (int j = 0; j < names.count; ++j) {
        SCOPED_TRACE(names.names[j]);
        const std::string_view name = names.names[j];
        const std::string_view section = g_app.models[j].section;
        EXPECT_FALSE(section.empty());
        EXPECT_TRUE(sections.insert(std::string(section)).second) << "section listed twice";
        EXPECT_FALSE(name.empty());
        EXPECT_LE(name.size(), kModelNameCharacters);
    }
}

TEST_F(BundledDataIni, EveryCaptionIsSetAndNavigationKeepsItsAccelerators)
{
    ApplyButtonCaptions(fake.platform);
    for (int id : kCaptionControls) EXPECT_FALSE(fake.dialog.controls[id].text.empty()) << id;
    std::set<char> keys;
    for (int id : {IDC_NEXT, IDC_QUIT, IDC_PREVIOUS}) {
        const std::string& caption = fake.dialog.controls[id].text;
        const std::size_t amp = caption.find('&');
        ASSERT_TRUE(amp != std::string::npos && amp + 1 < caption.size()) << caption;
        EXPECT_TRUE(keys.insert(static_cast<char>(std::tolower(caption[amp + 1]))).second)
            << "accelerator used twice: " << caption;
    }
}

TEST_F(BundledDataIni, FreeTextsAreSetAndFit)
{
    for (const char* key : kModelsTexts) {
        SCOPED_TRACE(key);
        EXPECT_LT(RawLength("MODELS", key), kValueSize) << "cut by its buffer";
        EXPECT_STRNE(ReadModelsText(fake.platform, key), "");
    }
    EXPECT_LE(std::strlen(ReadModelsText(fake.platform, "PURPOSE1")), kOneLineCharacters);
    EXPECT_LE(WrappedLineCount(ReadModelsText(fake.platform, "HOWTO1"), kHowToLineCharacters),
              kHowToMaxLines);
}

TEST_F(BundledDataIni, EveryModelLoadsStepsThatNameAPatternAndFitTheWizard)
{
    for (int j = 0; j < names.count; ++j) {
        const std::string section = g_app.models[j].section;
        SCOPED_TRACE(section);
        fake.messages.shown.clear();
        LoadModelSteps(fake.platform, j);
        for (const ShownMessage& m : fake.messages.shown) ADD_FAILURE() << m.caption << ": " << m.text;
        ASSERT_GT(g_app.loadedStepCount, 0) << "no steps";
        EXPECT_EQ(g_app.stepCount, g_app.loadedStepCount + 2);

        for (int i = 0; i < g_app.loadedStepCount; ++i) {
            const std::string key = "MENU" + std::to_string(i);
            SCOPED_TRACE(key);
            const StepRecord& step = g_app.steps[i];
            EXPECT_LT(RawLength(section.c_str(), key.c_str()), kLineSize) << "cut by its buffer";
            EXPECT_NE(MatchPatternSpec(step.patternSpec).pattern, Pattern::None)
                << "'" << step.patternSpec << "' names no pattern";
            for (const char* text : {step.purpose, step.seen}) {
                EXPECT_STRNE(text, "");
                EXPECT_LE(std::strlen(text), kOneLineCharacters) << text;
                // Only the how-to turns the written escape into a line break.
                EXPECT_EQ(std::strstr(text, "\\n"), nullptr) << text;
            }
            EXPECT_STRNE(step.howTo, "");
            EXPECT_LE(WrappedLineCount(step.howTo, kHowToLineCharacters), kHowToMaxLines)
                << step.howTo;
            // Each name of a CONTROL key is one the wizard knows: a misspelt one is dropped.
            std::vector<char> controls(kProbeSize);
            fake.ini.Read(section.c_str(), ("CONTROL" + std::to_string(i)).c_str(), controls, g_app.configPath);
            EXPECT_EQ(step.controlCount, controls[0] == '\0' ? 0 : std::count(controls.begin(), controls.end(), ',') + 1)
                << controls.data();
        }
    }
}

}  // namespace
