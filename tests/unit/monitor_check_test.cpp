// What step 1 says about the monitor, from the facts the system gives, and the model
// it suggests.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "config/Config.h"
#include "FakePlatform.h"
#include "resources/resource.h"
#include "wizard/Wizard.h"

namespace {

const EdidInfo kLumetta = {true, "LMT", 0x1234, 1001, "LUMETTA TEST", "", 2560, 1440, 60, false, 600, 340,
                           EdidInput::Digital, {}};

// A monitor that gives nothing wrong: the native mode at its best rate, an identity ramp.
MonitorFacts Sound()
{
    MonitorFacts facts{};
    facts.edid = kLumetta;
    facts.desktop = {2560, 1440, 59.95, false};
    facts.modeCount = 2;
    facts.modes[0] = {2560, 1440, 60, false};
    facts.modes[1] = {1920, 1080, 144, false};
    facts.rampKnown = true;
    for (auto& channel : facts.ramp)
        for (int i = 0; i < kGammaRampSize; ++i) channel[i] = static_cast<std::uint16_t>(i * 256);
    facts.hdr = Known::No;
    facts.bitsPerColour = 8;
    return facts;
}

std::vector<std::string> Lines(const MonitorFacts& facts)
{
    FakePlatform fake;
    MonitorTexts texts{};
    ReadMonitorTexts(fake.platform, texts);
    const MonitorLines lines = DescribeMonitor(facts, CheckMonitor(facts), texts);
    return {lines.text, lines.text + lines.count};
}

TEST(MonitorCheck, EachFindingAloneAndNothingFromFactsThatAreUnknown)
{
    const std::string identity = "LUMETTA TEST (LMT 1234), 2560 x 1440 native, digital input";
    EXPECT_EQ(Lines(MonitorFacts{}), std::vector<std::string>{});
    EXPECT_EQ(Lines(Sound()), std::vector<std::string>{identity});
    struct Row {
        std::function<void(MonitorFacts&)> change;
        std::string line;
    } rows[] = {
        {[](MonitorFacts& f) { f.desktop = {1920, 1080, 144, false}; },
         "The desktop is 1920 x 1080; this monitor's native mode is 2560 x 1440. Set 2560 x 1440 before you adjust."},
        {[](MonitorFacts& f) { f.desktop = {1080, 1920, 144, false}; f.rotation = 90; },  // portrait, still not native
         "The desktop is 1920 x 1080; this monitor's native mode is 2560 x 1440. Set 2560 x 1440 before you adjust."},
        {[](MonitorFacts& f) { f.modes[1] = {1440, 2560, 120, false}; },  // listed the other way round
         "The desktop runs at 59.95 Hz; this monitor offers 120 Hz at this size. Set 120 Hz before you adjust."},
        {[](MonitorFacts& f) { f.ramp[2][200] = 40000; },
         "Another program has changed the colours: a calibration curve, f.lux or a vendor tool. Turn it off, and "
         "Night light too, before you adjust."},
        {[](MonitorFacts& f) { f.hdr = Known::Yes; }, "HDR is on. Turn it off in the display settings before you adjust."},
        {[](MonitorFacts& f) { f.bitsPerColour = 6; },
         "The picture has 6 bits per colour. Set 8 or more in the graphics driver's settings before you adjust."},
    };
    for (const Row& row : rows) {
        MonitorFacts facts = Sound();
        row.change(facts);
        EXPECT_EQ(Lines(facts), (std::vector<std::string>{identity, row.line})) << row.line;
    }
    // None of these is a finding: a portrait desktop at the native mode, an interlaced or
    // unknown rate, rates a fraction apart, a ramp read back rounded, no EDID but the
    // system's own preferred mode.
    MonitorFacts facts = Sound();
    facts.desktop = {1440, 2560, 1, false};
    facts.rotation = 270;
    facts.modes[2] = {2560, 1440, 60.5, false};
    facts.modes[3] = {2560, 1440, 100, true};
    facts.modeCount = 4;
    facts.ramp[0][178] = 178 * 257 + 129;
    EXPECT_EQ(Lines(facts), std::vector<std::string>{identity});
    facts.edid = {};
    facts.preferred = {2560, 1440};
    EXPECT_EQ(Lines(facts), std::vector<std::string>{});
}

TEST(MonitorCheck, IdentityWithoutNameOrInputAndTextsFromTheGuide)
{
    MonitorFacts facts = Sound();
    facts.edid.name[0] = '\0';
    facts.edid.input = EdidInput::Analogue;
    facts.edid.nativeWidth = 0;
    EXPECT_EQ(Lines(facts), std::vector<std::string>{"LMT 1234, analogue input"});

    FakePlatform fake;
    fake.WriteIni("[BUTTONS]\nANALOGUE=entrée analogique\nNOTNATIVE={native} plutôt que {desktop}, {x} {native\n");
    MonitorTexts texts{};
    ReadMonitorTexts(fake.platform, texts);
    facts.desktop.width = 1920;
    facts.edid.nativeWidth = 2560;
    const MonitorLines lines = DescribeMonitor(facts, CheckMonitor(facts), texts);
    ASSERT_EQ(lines.count, 2);
    EXPECT_STREQ(lines.text[0], "LMT 1234, 2560 x 1440 native, entrée analogique");
    EXPECT_EQ(lines.encoding[0], TextEncoding::Utf8);
    EXPECT_STREQ(lines.text[1], "2560 x 1440 plutôt que 1920 x 1440, {x} {native");
}

TEST(MonitorCheck, TheModelMadeForTheInputIsSuggested)
{
    for (const char* value : {"analogue", " Analog ", "ANALOGUE"}) EXPECT_EQ(ParseModelSignal(value), ModelSignal::Analogue);
    for (const char* value : {"", "analogue input", "dvi"}) EXPECT_EQ(ParseModelSignal(value), ModelSignal::Any);
    const ModelSignal models[] = {ModelSignal::Any, ModelSignal::Digital, ModelSignal::Analogue, ModelSignal::Digital};
    EXPECT_EQ(SuggestModel(EdidInput::Digital, models), 1);
    EXPECT_EQ(SuggestModel(EdidInput::Analogue, models), 2);
    EXPECT_EQ(SuggestModel(EdidInput::Unknown, models), 0);
    EXPECT_EQ(SuggestModel(EdidInput::Analogue, std::span(models, 2)), 0);
}

// On the wizard: step 1 only, checked again on another monitor, and the suggested model
// is the one that Next takes.
TEST(MonitorCheck, StepOneShowsItsMonitorsLinesAndNextTakesTheSuggestedModel)
{
    FakePlatform fake;
    fake.WriteIni("[MODELS]\nMODEL_NUMBER=2\nMODEL0=L,LCD\nMODEL1=C,CRT\n[L]\nSIGNAL=digital\nMENU_NUMBER=1\n"
                  "MENU0=lcd,h,White,s\n[C]\nSIGNAL=analogue\nMENU_NUMBER=1\nMENU0=crt,h,White,s\n");
    fake.shell.monitors = {2, {{{0, 0, 800, 600}, "\\\\.\\DISPLAY1", true}, {{800, 0, 1600, 600}, "\\\\.\\DISPLAY2", false}}};
    MonitorFacts crt = Sound();
    crt.edid.input = EdidInput::Analogue;
    crt.edid.nativeWidth = 0;
    fake.shell.facts["\\\\.\\DISPLAY1"] = crt;
    InitWizard(fake.platform);
    EXPECT_EQ(fake.dialog.monitorLines, std::vector<std::string>{"LUMETTA TEST (LMT 1234), analogue input"});
    EXPECT_EQ(fake.dialog.controls[IDC_MODEL_COMBO].selected, 1);
    MoveToNextMonitor(fake.platform);  // nothing known of DISPLAY2
    EXPECT_TRUE(fake.dialog.monitorLines.empty());
    EXPECT_EQ(fake.dialog.controls[IDC_MODEL_COMBO].selected, 0);
    MoveToNextMonitor(fake.platform);
    GoNext(fake.platform);
    EXPECT_EQ(std::string(g_app.steps[0].purpose), "crt");
    EXPECT_TRUE(fake.dialog.monitorLines.empty());
}

}  // namespace
