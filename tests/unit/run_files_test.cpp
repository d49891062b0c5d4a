// What Lumetta keeps of a run: the report of the last step, the monitors' saved settings
// in monitors.ini, and what --restore does with them.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "FakePlatform.h"
#include "keep/RestoreSaved.h"
#include "keep/RunReport.h"
#include "keep/SavedSettings.h"
#include "keep/WriteRunFiles.h"
#include "resources/resource.h"
#include "wizard/SettingRows.h"
#include "wizard/Wizard.h"

namespace {

TEST(Report, EveryTextIsEscapedAndNothingRunsOrIsFetched)
{
    RunRecord record;
    record.version = "1.0.0";
    record.when = "2026-12-09 14:03";
    record.monitorName = "\\\\.\\DISPLAY1";
    record.model = "Écran <b>plat</b> & \"17\"";
    record.steps = {{"Contraste d'abord", "<script>alert(1)</script>"}};
    record.settings = {{"\\\\.\\DISPLAY1", "Brightness", 50, 80}};
    const std::string html = ReportHtml(record);
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(html.find("Écran &lt;b&gt;plat&lt;/b&gt; &amp; &quot;17&quot;"), std::string::npos);
    EXPECT_NE(html.find("Contraste d&#39;abord"), std::string::npos);
    EXPECT_NE(html.find("<td>Brightness</td><td class=\"n\">50</td><td class=\"n\">80</td>"), std::string::npos);
    for (const char* never : {"<script", "src=", "href=", "url(", "<b>"}) EXPECT_EQ(html.find(never), std::string::npos) << never;
    EXPECT_EQ(ReportFileName("2026-12-09 1403", "CRT: 17\" <VGA>/a?. "), "2026-12-09 1403 CRT_ 17_ _VGA__a_.html");
}

TEST(SavedSettings, TheFileRoundTripsAndADamagedOneIsReadAsFarAsItMakesSense)
{
    SavedSettings saved{};
    const std::uint8_t codes[] = {0x10, 0x12, 0xD6};
    const std::uint32_t values[] = {80, 70, 4};
    SaveValues(saved, "LMT 1234 1001", codes, values);  // a power mode is never kept
    SaveValues(saved, "ABC 0001 \\\\?\\DISPLAY#ABC0001#5&1&UID1", std::span(codes, 1), std::span(values, 1));
    const std::uint32_t newer[] = {85};
    SaveValues(saved, "LMT 1234 1001", std::span(codes, 1), newer);
    const std::string text = FormatSavedSettings(saved);
    EXPECT_EQ(FormatSavedSettings(ParseSavedSettings(text)), text);
    const SavedSettings read = ParseSavedSettings(text);
    const SavedMonitor* lumetta = SavedFor(read, "LMT 1234 1001");
    ASSERT_NE(lumetta, nullptr);
    EXPECT_EQ(lumetta->count, 2);
    EXPECT_EQ(lumetta->values[0], 85u);

    const SavedSettings damaged = ParseSavedSettings(
        "VCP10=1\n[LMT 1234 1001]\r\nVCP10=60\nVCP12=abc\nVCP1=5\nVCPD6=1\nVCP16=70000\ngarbage\n[broken\nVCP10=9\n"
        "[]\nVCP18 = 40 \n[ABC 0001]\nVCP12=33");
    ASSERT_EQ(damaged.count, 2);
    EXPECT_EQ(FormatSavedSettings(damaged), FormatSavedSettings(ParseSavedSettings(
                                                "[LMT 1234 1001]\nVCP10=60\n[ABC 0001]\nVCP12=33\n")));
}

TEST(SavedSettings, MonitorsAreKeyedByMakerProductAndSerialAndTheirPathWhereThatIsNotEnough)
{
    MonitorFacts a{}, b{}, twin{}, noSerial{}, noEdid{};
    a.edid = {true, "LMT", 0x1234, 1001, "", "", 0, 0, 0, false, 0, 0, EdidInput::Digital, {}};
    b = a;
    b.edid.serialNumber = 0;
    std::strcpy(b.edid.serialText, "LT-0002");
    twin = b;
    noSerial = a;
    noSerial.edid.serialNumber = 0;
    for (MonitorFacts* facts : {&a, &b, &twin, &noSerial, &noEdid})
        std::snprintf(facts->devicePath, sizeof facts->devicePath, "\\\\?\\DISPLAY#%p", static_cast<void*>(facts));
    const MonitorFacts* all[] = {&a, &b, &twin, &noSerial, &noEdid};
    const std::vector<std::string> keys = MonitorKeys(all);
    EXPECT_EQ(keys[0], "LMT 1234 1001");
    EXPECT_EQ(keys[1], "LMT 1234 LT-0002 " + std::string(b.devicePath));  // shares its key with its twin
    EXPECT_EQ(keys[3], "LMT 1234 " + std::string(noSerial.devicePath));
    EXPECT_EQ(keys[4], noEdid.devicePath);
}

// A monitor whose writes take what it is told, but for one code.
class RestoringLink final : public MonitorLink {
public:
    int Open(const char*) override { return physicals; }
    void Close() override {}
    bool Capabilities(std::span<char>) override { return false; }
    bool Read(int, std::uint8_t code, VcpReading& reading) override
    {
        reading = {values[code], 100};
        return true;
    }
    bool Write(int physical, std::uint8_t code, std::uint32_t value) override
    {
        log += std::to_string(physical) + ":" + std::to_string(code) + "=" + std::to_string(value) + " ";
        if (code != stubborn) values[code] = value;
        return true;
    }
    int physicals = 2;
    std::uint8_t stubborn = 0;
    std::map<std::uint8_t, std::uint32_t> values{{0x10, 20}, {0x12, 65}};
    std::string log;
};

TEST(SavedSettings, RestoreWritesEachValueToEveryMonitorThenReadsItBack)
{
    SavedSettings saved = ParseSavedSettings("[K]\nVCP10=80\nVCP12=70\n");
    RestoringLink link;
    link.stubborn = 0x12;
    std::string pauses;
    const auto pause = [&](std::uint32_t ms) {
        pauses += std::to_string(ms) + " ";
        return true;
    };
    const RestoreResult result = RestoreValues(link, pause, "\\\\.\\DISPLAY1", saved.monitors[0]);
    EXPECT_EQ(link.log, "0:16=80 1:16=80 0:18=70 1:18=70 ");
    EXPECT_EQ(pauses, "50 50 ");
    EXPECT_FALSE(AllTaken(result));
    EXPECT_EQ(DescribeRestore("\\\\.\\DISPLAY1", "K", result),
              "\\\\.\\DISPLAY1 (K): Brightness 80 set, Contrast 70 not taken (reads 65)\n");
    link.physicals = 0;
    EXPECT_EQ(DescribeRestore("\\\\.\\DISPLAY1", "K", RestoreValues(link, pause, "\\\\.\\DISPLAY1", saved.monitors[0])),
              "\\\\.\\DISPLAY1 (K): Brightness 80 no answer, Contrast 70 no answer\n");
}

// The wizard: the last step writes the report and tells where it is, or why not; the
// values the user left are saved for the monitor they were set on.
TEST(RunFiles, TheLastStepWritesTheReportAndTheChangedSettingsAreSaved)
{
    FakePlatform fake;
    fake.WriteIni("[MODELS]\nMODEL_NUMBER=1\nMODEL0=P,Panel\n[P]\nMENU_NUMBER=2\nMENU0=Black level,h,Black,All black\n"
                  "CONTROL0=Brightness\nMENU1=White,h,White,All white\n");
    fake.shell.monitors = {1, {{{0, 0, 800, 600}, "\\\\.\\DISPLAY1", true}}};
    fake.shell.facts["\\\\.\\DISPLAY1"].edid = {true, "LMT", 0x1234, 1001, "", "", 0, 0, 0, false, 0, 0, EdidInput::Digital, {}};
    fake.files.saved = "[ABC 0001 7]\nVCP10=5\n";
    InitWizard(fake.platform);
    GoNext(fake.platform);
    SettingsReport report{g_app.settingsRequest.readGeneration, 1, {}};
    report.rows[0] = {0x10, SettingState::Ready, {50, 100}, 50, 0};
    ShowSettingsReport(fake.platform, report);
    MoveSetting(fake.platform, 0, 80);
    GoNext(fake.platform);
    GoNext(fake.platform);

    ASSERT_EQ(fake.files.reports.size(), 1u);
    const std::string& html = fake.files.reports["2026-12-09 1403 Panel.html"];
    EXPECT_NE(html.find("<td>Black level</td><td>All black</td></tr>\n<tr><td>White</td><td>All white</td>"),
              std::string::npos);
    EXPECT_NE(html.find("<td>Brightness</td><td class=\"n\">50</td><td class=\"n\">80</td>"), std::string::npos);
    EXPECT_EQ(fake.dialog.offeredReport, "C:\\Reports\\2026-12-09 1403 Panel.html");
    EXPECT_EQ(fake.dialog.monitorLines,
              std::vector<std::string>{"The report of this adjustment is saved as C:\\Reports\\2026-12-09 1403 Panel.html."});
    EXPECT_EQ(fake.files.saved, FormatSavedSettings(ParseSavedSettings("[ABC 0001 7]\nVCP10=5\n[LMT 1234 1001]\nVCP10=80\n")));
    fake.files.saved = "as the user left it";  // the wizard's end rewrites nothing that is up to date
    SaveMonitorSettings(fake.platform);
    EXPECT_EQ(fake.files.saved, "as the user left it");

    fake.files.reportProblem = "Access denied";
    GoPrevious(fake.platform);
    EXPECT_EQ(fake.dialog.offeredReport, "");
    GoNext(fake.platform);
    EXPECT_EQ(fake.dialog.offeredReport, "");
    EXPECT_EQ(fake.dialog.monitorLines, std::vector<std::string>{"The report could not be saved: Access denied."});
}

}  // namespace
