#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "config/Config.h"
#include "ExampleIni.h"
#include "FakePlatform.h"
#include "resources/resource.h"

namespace {

std::string Models(int count, int listed)
{
    std::string ini = "[MODELS]\nMODEL_NUMBER=" + std::to_string(count) + "\n";
    for (int j = 0; j < listed; ++j)
        ini += "MODEL" + std::to_string(j) + "=S" + std::to_string(j) + ",Model " + std::to_string(j) + "\n";
    return ini;
}

std::string Model(const std::string& menuNumber, int listed, const std::string& howTo = "h")
{
    std::string ini = "[MODELS]\nMODEL_NUMBER=1\nMODEL0=M,Model\n[M]\nMENU_NUMBER=" + menuNumber + "\n";
    for (int i = 0; i < listed; ++i)
        ini += "MENU" + std::to_string(i) + "=Step " + std::to_string(i) + "," + howTo + ",White,seen\n";
    return ini;
}

std::string Utf16Le(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return bytes;
}

class Config : public ::testing::Test {
protected:
    int LoadList()
    {
        LoadModelList(fake.platform, names);
        return names.count;
    }
    FakePlatform fake;
    ModelNames names{};
};

TEST_F(Config, ExampleFileListsItsModelsInKeyOrder)
{
    fake.WriteIni(kExampleIni);
    ASSERT_EQ(LoadList(), 2);
    EXPECT_STREQ(g_app.models[0].section, "PANEL17");
    EXPECT_STREQ(names.names[0], "Flat panel 17 inch");
    EXPECT_STREQ(g_app.models[1].section, "PANEL19");
    EXPECT_STREQ(names.names[1], "Flat panel 19 inch, analogue input");
    EXPECT_STREQ(g_app.models[2].section, "");
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(Config, ExampleModelFillsItsSteps)
{
    fake.WriteIni(kExampleIni);
    LoadList();
    LoadModelSteps(fake.platform, 0);
    EXPECT_EQ(g_app.loadedStepCount, 3);
    EXPECT_EQ(g_app.stepCount, 5);
    const StepRecord& first = g_app.steps[0];
    EXPECT_STREQ(first.purpose, "Screen position");
    EXPECT_STREQ(first.howTo, "Press the auto-adjust button.\r\nWait until the picture settles.");
    EXPECT_STREQ(first.patternSpec, "Border");
    EXPECT_STREQ(first.seen, "A thin frame along all four edges, none of it cut off");
    EXPECT_STREQ(g_app.steps[2].patternSpec, "V2Lines");
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(Config, TooManyModelsWarnsOnceAndListsTwenty)
{
    fake.WriteIni(Models(25, 25));
    EXPECT_EQ(LoadList(), 20);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    const ShownMessage& m = fake.messages.shown[0];
    EXPECT_EQ(m.text, "Execeed maximun of the model number 20");
    EXPECT_EQ(m.caption, "Lumetta - Warning");
    EXPECT_EQ(m.owner, MessageOwner::Dialog);
    EXPECT_EQ(m.buttons, MessageButtons::Ok);
    EXPECT_STREQ(names.names[19], "Model 19");
}

TEST_F(Config, TwentyModelsListTwentyWithoutAMessage)
{
    fake.WriteIni(Models(20, 25));
    EXPECT_EQ(LoadList(), 20);
    EXPECT_STREQ(names.names[19], "Model 19");
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(Config, NoPositiveModelNumberListsNothingSilently)
{
    for (const char* number : {"0", "-4", "", "many"}) {
        fake.WriteIni(std::string("[MODELS]\nMODEL_NUMBER=") + number + "\nMODEL0=S,Name\n");
        EXPECT_EQ(LoadList(), 0) << number;
    }
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(Config, MissingModelLineKeepsItsPosition)
{
    fake.WriteIni("[MODELS]\nMODEL_NUMBER=3\nMODEL0=A,First\nMODEL2=C,Third\n");
    ASSERT_EQ(LoadList(), 3);
    EXPECT_STREQ(g_app.models[1].section, "");
    EXPECT_STREQ(names.names[1], "");
    EXPECT_STREQ(names.names[2], "Third");
}

TEST_F(Config, TooManyStepsIsAnErrorAtEveryLoadAndLoadsTwenty)
{
    for (const char* number : {"21", "2147483648", "99999999999999999999"}) {
        fake.messages.shown.clear();
        fake.WriteIni(Model(number, 22));
        LoadList();
        LoadModelSteps(fake.platform, 0);
        LoadModelSteps(fake.platform, 0);
        EXPECT_EQ(g_app.loadedStepCount, 20) << number;
        EXPECT_EQ(g_app.stepCount, 22);
        ASSERT_EQ(fake.messages.shown.size(), 2u);
        EXPECT_EQ(fake.messages.shown[1].text, "Execeed maximun of the menu number 20");
        EXPECT_EQ(fake.messages.shown[1].caption, "Lumetta - ERROR");
        EXPECT_STREQ(g_app.steps[19].purpose, "Step 19");
    }
}

TEST_F(Config, TwentyStepsLoadWithoutAMessage)
{
    fake.WriteIni(Model("20", 20));
    LoadList();
    LoadModelSteps(fake.platform, 0);
    EXPECT_EQ(g_app.stepCount, 22);
    EXPECT_TRUE(fake.messages.shown.empty());
}

// A negative count once gave a step count below 2: the wizard then ended without a
// word on a model choice, or never moved on Next.
TEST_F(Config, NegativeMenuNumberCountsAsAModelWithoutSteps)
{
    for (const char* number : {"-1", "-5", "-2147483648"}) {
        fake.WriteIni(Model(number, 2));
        LoadList();
        LoadModelSteps(fake.platform, 0);
        EXPECT_EQ(g_app.loadedStepCount, 0) << number;
        EXPECT_EQ(g_app.stepCount, 2) << number;
    }
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(Config, ModelsWithoutUsableStepsGetTwoSteps)
{
    // Non-numeric count, missing section, and an index that was never listed.
    fake.WriteIni(Model("lots", 2));
    LoadList();
    LoadModelSteps(fake.platform, 0);
    EXPECT_EQ(g_app.stepCount, 2);

    fake.WriteIni("[MODELS]\nMODEL_NUMBER=1\nMODEL0=GONE,Gone\n");
    LoadList();
    LoadModelSteps(fake.platform, 0);
    EXPECT_EQ(g_app.stepCount, 2);

    LoadModelSteps(fake.platform, 7);
    EXPECT_EQ(g_app.stepCount, 2);
    LoadModelSteps(fake.platform, -1);
    LoadModelSteps(fake.platform, 20);
    EXPECT_EQ(g_app.stepCount, 2);
    EXPECT_EQ(g_app.loadedStepCount, 0);
}

TEST_F(Config, MenuNumberWithTrailingLettersCounts)
{
    fake.WriteIni(Model("3 steps", 3));
    LoadList();
    LoadModelSteps(fake.platform, 0);
    EXPECT_EQ(g_app.loadedStepCount, 3);
}

TEST_F(Config, HowToOfFiveHundredTwentyCharactersIsReportedAndCut)
{
    fake.WriteIni(Model("2", 1, std::string(519, 'a')) + "MENU1=p," + std::string(520, 'b') + ",White,s\n");
    LoadList();
    LoadModelSteps(fake.platform, 0);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "Execeed maximun of the How-To-Do text length 520");
    EXPECT_EQ(fake.messages.shown[0].caption, "Lumetta - ERROR");
    EXPECT_EQ(std::string(g_app.steps[0].howTo), std::string(519, 'a'));
    EXPECT_EQ(std::string(g_app.steps[1].howTo), std::string(519, 'b'));
    // The load goes on with the rest of the line.
    EXPECT_STREQ(g_app.steps[1].patternSpec, "White");
}

TEST_F(Config, OnlyTheHowToIsExpanded)
{
    fake.WriteIni(Model("1", 0) + "MENU0=a\\nb, c\\nd, Gray\\n, e\\nf\n");
    LoadList();
    LoadModelSteps(fake.platform, 0);
    EXPECT_STREQ(g_app.steps[0].purpose, "a\\nb");
    EXPECT_STREQ(g_app.steps[0].howTo, "c\r\nd");
    EXPECT_STREQ(g_app.steps[0].patternSpec, "Gray\\n");
    EXPECT_STREQ(g_app.steps[0].seen, "e\\nf");
}

TEST_F(Config, LongStepLineIsCutBeforeItIsSplit)
{
    // 1035 characters of purpose leave room for only a few more before the cut at 1039.
    fake.WriteIni(Model("1", 0) + "MENU0=" + std::string(1035, 'p') + ",howto,White,seen\n");
    LoadList();
    LoadModelSteps(fake.platform, 0);
    EXPECT_EQ(std::string(g_app.steps[0].purpose), std::string(519, 'p'));
    EXPECT_STREQ(g_app.steps[0].howTo, "how");
    EXPECT_STREQ(g_app.steps[0].patternSpec, "");
}

// U+012C, U+2C2C and U+2020 hold the bytes of a comma and a space in UTF-16: the
// lines are split after decoding, so only real commas and spaces count.
TEST_F(Config, Utf16LinesSplitOnlyAtRealCommasAndSpaces)
{
    fake.WriteIni(Utf16Le(u"[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=M,\u2020\u012C,\u2C00\r\n[M]\r\n"
                          u"MENU_NUMBER=1\r\nMENU0=\u012C\u2C2C, \u2020h\\n,White,s\r\n"));
    ASSERT_EQ(LoadList(), 1);
    EXPECT_STREQ(names.names[0], "\u2020\u012C,\u2C00");
    EXPECT_EQ(names.encoding, TextEncoding::Utf8);
    LoadModelSteps(fake.platform, 0);
    EXPECT_STREQ(g_app.steps[0].purpose, "\u012C\u2C2C");
    EXPECT_STREQ(g_app.steps[0].howTo, "\u2020h\r\n");
    EXPECT_STREQ(g_app.steps[0].patternSpec, "White");
    EXPECT_EQ(g_app.stepsEncoding, TextEncoding::Utf8);
}

// Limits stay in bytes: a UTF-8 field loses the character that straddles its limit whole.
TEST_F(Config, LongUtf8FieldIsCutBeforeTheCharacterThatStraddlesTheLimit)
{
    const std::string kept(kValueSize - 2, 'a');
    fake.WriteIni(Model("1", 0) + "MENU0=" + kept + "\xC3\xA9,h,White,s\n");
    LoadList();
    LoadModelSteps(fake.platform, 0);
    EXPECT_EQ(g_app.steps[0].purpose, kept);
}

TEST_F(Config, ShorterModelLeavesLaterRecordsAlone)
{
    fake.WriteIni("[MODELS]\nMODEL_NUMBER=2\nMODEL0=A,a\nMODEL1=B,b\n"
                  "[A]\nMENU_NUMBER=5\nMENU0=a0\nMENU1=a1\nMENU2=a2\nMENU3=a3\nMENU4=a4\n"
                  "[B]\nMENU_NUMBER=2\nMENU0=b0\nMENU1=b1\n");
    LoadList();
    LoadModelSteps(fake.platform, 0);
    LoadModelSteps(fake.platform, 1);
    EXPECT_EQ(g_app.loadedStepCount, 2);
    EXPECT_EQ(g_app.stepCount, 4);
    EXPECT_STREQ(g_app.steps[1].purpose, "b1");
    EXPECT_STREQ(g_app.steps[2].purpose, "a2");
    EXPECT_STREQ(g_app.steps[4].purpose, "a4");
}

TEST_F(Config, CaptionsReplaceTheTemplateEvenWhenMissing)
{
    fake.WriteIni(kExampleIni);
    ApplyButtonCaptions(fake.platform);
    EXPECT_EQ(fake.dialog.controls[IDC_PATTERN_LABEL].text, "Model :");
    EXPECT_EQ(fake.dialog.controls[IDC_NEXT].text, "&Next   >>");
    EXPECT_EQ(fake.dialog.controls[IDC_PREVIOUS].text, "<<  &Previous");
    EXPECT_EQ(fake.dialog.controls[IDC_HIDE].text, "Hide Window");
    EXPECT_EQ(fake.dialog.controls.size(), 8u);

    fake.WriteIni("[BUTTONS]\nNEXT=Go\\non\n");
    ApplyButtonCaptions(fake.platform);
    EXPECT_EQ(fake.dialog.controls[IDC_NEXT].text, "Go\\non");  // captions are not expanded
    EXPECT_EQ(fake.dialog.controls[IDC_QUIT].text, "");
    EXPECT_EQ(fake.dialog.controls[IDC_SEEN_LABEL].text, "");
}

TEST_F(Config, ModelsTextsAreExpandedAndMissingOnesEmpty)
{
    fake.WriteIni(kExampleIni);
    EXPECT_STREQ(ReadModelsText(fake.platform, "HOWTO1"), "Select your model in the list below.\r\nThen click Next.");
    EXPECT_STREQ(ReadModelsText(fake.platform, "NOTES"), "");
    EXPECT_EQ(ReadModelsText(fake.platform, "PURPOSE1"), g_app.scratch);
}

TEST_F(Config, UnreadableFilesGiveAnEmptyConfiguration)
{
    std::filesystem::remove(g_app.configPath);
    EXPECT_EQ(LoadList(), 0);
    std::filesystem::create_directory(g_app.configPath);
    EXPECT_EQ(LoadList(), 0);
    LoadModelSteps(fake.platform, 0);
    EXPECT_EQ(g_app.stepCount, 2);
    ApplyButtonCaptions(fake.platform);
    EXPECT_EQ(fake.dialog.controls[IDC_NEXT].text, "");
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(Config, HostileFilesRaiseNothingUnexpected)
{
    std::string garbage;
    for (int i = 0; i < 65536; ++i) garbage += static_cast<char>((i * 7919) & 0xFF);
    const std::string hostile[] = {
        garbage,
        std::string("[MODELS]\nMODEL_NUMBER=2\0\nMODEL0=A\0B,Name\nMODEL1=C,D\0E\n", 47),
        "[MODELS]\nMODEL_NUMBER=1\nMODEL0=" + std::string(10 * 1024 * 1024, 'x') + "\n",
        "[MODELS]\nMODEL_NUMBER=-0x10\n",
    };
    for (const std::string& text : hostile) {
        fake.WriteIni(text);
        LoadList();
        ASSERT_LE(names.count, kMaxModels);
        for (int j = 0; j < kMaxModels; ++j) LoadModelSteps(fake.platform, j);
        ApplyButtonCaptions(fake.platform);
        EXPECT_GE(g_app.stepCount, 2);
    }
    // The 10 MB line arrives cut to the line buffer, its section name to 519 characters.
    EXPECT_TRUE(fake.messages.shown.empty());
}

}  // namespace
