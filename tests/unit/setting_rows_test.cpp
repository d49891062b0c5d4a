// The CONTROL key, and the rows of monitor settings that the wizard shows for it.
#include <gtest/gtest.h>

#include "config/Config.h"
#include "FakePlatform.h"
#include "resources/resource.h"
#include "wizard/SettingRows.h"
#include "wizard/Wizard.h"

namespace {

TEST(ControlKey, NamesAreExactAtMostThreeAndUnknownOnesSkipped)
{
    struct Case {
        const char* value;
        std::vector<int> codes;
    } cases[] = {
        {"Brightness, Contrast", {0x10, 0x12}},
        {"  RedGain ,GreenGain,  BlueGain  ", {0x16, 0x18, 0x1A}},
        {"brightness, Bright ness, VCP6, VCP6G, VCP62, Sharpness, RedBlack", {0x62, 0x87, 0x6C}},
        {"VCPa0,GreenBlack,BlueBlack,Contrast", {0xA0, 0x6E, 0x70}},
        {"Contrast,Contrast", {0x12}},
        {"", {}},
    };
    for (const Case& c : cases) {
        std::uint8_t codes[kMaxSettingRows] = {};
        const int count = ParseControlNames(c.value, codes);
        EXPECT_EQ(std::vector<int>(codes, codes + count), c.codes) << c.value;
    }
}

class SettingRows : public ::testing::Test {
protected:
    SettingRows()
    {
        fake.WriteIni("[MODELS]\nMODEL_NUMBER=1\nMODEL0=A,Alpha\n[BUTTONS]\nCONTRAST=Kontrast\nNODDC=Buttons only.\n"
                      "[A]\nMENU_NUMBER=3\nMENU0=p0,h0,Black,s0\nCONTROL0=Brightness, Contrast\nMENU1=p1,h1,White,s1\n"
                      "CONTROL1=RedGain\nMENU2=p2,h2,Red,s2\n");
        CopyText(g_app.monitorName, "\\\\.\\DISPLAY1");
        InitWizard(fake.platform);
        GoNext(fake.platform);
    }
    ControlState& Control(int id) { return fake.dialog.controls[id]; }
    const SettingsRequest& Posted() { return fake.settings.posted.back(); }
    void Answer(SettingState first, SettingState second, std::uint32_t serial = 0)
    {
        SettingsReport report{Posted().readGeneration, 2, {}};
        report.rows[0] = {0x10, first, {30, 100}, 50, serial};
        report.rows[1] = {0x12, second, {60, 80}, 60, 0};
        ShowSettingsReport(fake.platform, report);
    }

    FakePlatform fake;
};

TEST_F(SettingRows, AStepWithSettingsShowsDisabledRowsUntilTheMonitorAnswers)
{
    EXPECT_EQ(fake.dialog.settingRows, 2);
    EXPECT_EQ(Control(IDC_SETTING_LABEL).text, "Brightness:");
    EXPECT_EQ(Control(IDC_SETTING_LABEL + 1).text, "Kontrast");
    EXPECT_EQ(Control(IDC_RESTORE).text, "&Restore");
    EXPECT_FALSE(Control(IDC_SETTING_SLIDER).enabled);
    EXPECT_EQ(Control(IDC_SETTING_VALUE).text, "");
    EXPECT_EQ(Posted().count, 2);
    EXPECT_EQ(Posted().codes[1], 0x12);
    EXPECT_STREQ(Posted().monitorName, "\\\\.\\DISPLAY1");

    Answer(SettingState::Ready, SettingState::NoDdc);
    EXPECT_TRUE(Control(IDC_SETTING_SLIDER).enabled);
    EXPECT_EQ(Control(IDC_SETTING_SLIDER).sliderMaximum, 100);
    EXPECT_EQ(Control(IDC_SETTING_SLIDER).selected, 30);
    EXPECT_EQ(Control(IDC_SETTING_VALUE).text, "30");
    EXPECT_FALSE(Control(IDC_SETTING_SLIDER + 1).visible);
    EXPECT_TRUE(Control(IDC_SETTING_NOTE + 1).visible);
    EXPECT_EQ(Control(IDC_SETTING_NOTE + 1).text, "Buttons only.");
    EXPECT_TRUE(Control(IDC_RESTORE).enabled);

    GoNext(fake.platform);
    GoNext(fake.platform);  // a step without settings: no rows, nothing asked
    EXPECT_EQ(fake.dialog.settingRows, 0);
    EXPECT_EQ(Posted().count, 0);
    // Nor on the last step, whatever lies in the table beyond the model's steps.
    g_app.steps[g_app.loadedStepCount].controlCount = 1;
    g_app.steps[g_app.loadedStepCount].controls[0] = 0x10;
    GoNext(fake.platform);
    EXPECT_EQ(fake.dialog.settingRows, 0);
}

TEST_F(SettingRows, MovesAndRestoreAskForValuesAndOnlyTheNewestReadingMovesTheTrackbar)
{
    Answer(SettingState::Ready, SettingState::Ready);
    const std::size_t posts = fake.settings.posted.size();
    MoveSetting(fake.platform, 0, 30);  // where it is already
    EXPECT_EQ(fake.settings.posted.size(), posts);
    MoveSetting(fake.platform, 0, 40);
    MoveSetting(fake.platform, 0, 45);
    EXPECT_EQ(Posted().wanted[0], 45u);
    EXPECT_EQ(Posted().wantedSerial[0], 2u);
    EXPECT_EQ(Control(IDC_SETTING_VALUE).text, "45");

    Answer(SettingState::Ready, SettingState::Ready, 1);  // the reading after 40
    EXPECT_EQ(Control(IDC_SETTING_VALUE).text, "45");
    Answer(SettingState::NotTaken, SettingState::Ready, 2);
    EXPECT_EQ(Control(IDC_SETTING_VALUE).text, "30: not taken (picture mode?)");
    EXPECT_EQ(Control(IDC_SETTING_SLIDER).selected, 30);
    EXPECT_TRUE(Control(IDC_SETTING_SLIDER).enabled);  // the user may try again

    RestoreSettings(fake.platform);
    EXPECT_EQ(Posted().wanted[0], 50u);
    EXPECT_EQ(Posted().wanted[1], 60u);
    EXPECT_EQ(Control(IDC_SETTING_SLIDER).selected, 50);

    GoNext(fake.platform);  // before the worker has answered: both values go along, once
    ASSERT_EQ(Posted().carried.count, 2);
    EXPECT_STREQ(Posted().carried.values[1].monitorName, "\\\\.\\DISPLAY1");
    EXPECT_EQ(Posted().carried.values[1].code, 0x12);
    EXPECT_EQ(Posted().carried.values[0].value, 50u);
    GoNext(fake.platform);  // the red gain row was never moved: it carries nothing
    EXPECT_EQ(Posted().carried.count, 0);
}

TEST_F(SettingRows, AnotherMonitorOrAResumeReadsTheRowsAgainAndStaleAnswersAreDropped)
{
    const SettingsRequest before = Posted();
    fake.shell.monitors = {2, {{{0, 0, 800, 600}, "\\\\.\\DISPLAY1", true}, {{800, 0, 1600, 600}, "\\\\.\\DISPLAY2", false}}};
    MoveToNextMonitor(fake.platform);
    EXPECT_STREQ(Posted().monitorName, "\\\\.\\DISPLAY2");
    EXPECT_GT(Posted().readGeneration, before.readGeneration);
    EXPECT_EQ(Posted().openGeneration, before.openGeneration);
    SettingsReport stale{before.readGeneration, 2, {}};
    stale.rows[0] = {0x10, SettingState::Ready, {1, 2}, 1, 0};
    ShowSettingsReport(fake.platform, stale);
    EXPECT_FALSE(Control(IDC_SETTING_SLIDER).enabled);

    ReadSettingsAgain(fake.platform, true);
    EXPECT_EQ(Posted().openGeneration, before.openGeneration + 1);
}

}  // namespace
