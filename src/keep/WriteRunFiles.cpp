#include "keep/WriteRunFiles.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "config/Config.h"
#include "keep/RunReport.h"
#include "keep/SavedSettings.h"
#include "monitor/Monitors.h"

namespace {

// A label as the wizard shows it, without its closing colon.
std::string SettingLabel(Platform& platform, std::uint8_t code)
{
    char label[kValueSize];
    return std::string(Trim(platform.files.ToUtf8(label, ReadSettingLabel(platform, code, label)), ": "));
}

RunRecord RecordOfRun(Platform& platform, std::string& stamp)
{
    RunRecord record;
    record.version = LUMETTA_VERSION_TEXT;
    char shown[32] = {};
    char when[32] = {};
    platform.files.Now(shown, when);
    record.when = shown;
    stamp = when;
    record.monitorName = g_app.monitorName;
    for (int i = 0; i < g_app.monitorLines.count; ++i)
        record.monitorLines.push_back(platform.files.ToUtf8(g_app.monitorLines.text[i], g_app.monitorLines.encoding[i]));
    const DisplayMode& mode = g_app.monitorFacts.desktop;
    if (mode.width > 0)
        record.mode = std::to_string(mode.width) + " x " + std::to_string(mode.height) +
                      (mode.hz > 1 ? " at " + std::to_string(static_cast<int>(mode.hz + 0.5)) + " Hz" : "");
    const int model = g_app.modelIndex;
    record.model = model >= 0 && model < kMaxModels
                       ? platform.files.ToUtf8(g_app.models[model].displayName, g_app.modelNamesEncoding)
                       : std::string();
    for (int i = 0; i < g_app.loadedStepCount; ++i) {
        const StepRecord& step = g_app.steps[i];
        record.steps.push_back({platform.files.ToUtf8(step.purpose, g_app.stepsEncoding),
                                platform.files.ToUtf8(step.seen, g_app.stepsEncoding)});
    }
    for (int i = 0; i < g_app.settingNotes.count; ++i) {
        const SettingNote& note = g_app.settingNotes.notes[i];
        record.settings.push_back({note.monitorName, SettingLabel(platform, note.code), note.first, note.last});
    }
    return record;
}

}  // namespace

void WriteRunFiles(Platform& platform)
{
    std::string stamp;
    const RunRecord record = RecordOfRun(platform, stamp);
    // One report a run: coming back to the last step brings it up to date.
    if (g_app.reportName[0] == '\0') CopyText(g_app.reportName, ReportFileName(stamp, record.model), TextEncoding::Utf8);
    std::string whereOrWhy;
    const bool saved = platform.files.SaveReport(g_app.reportName, ReportHtml(record), whereOrWhy);
    CopyText(g_app.reportPath, saved ? whereOrWhy : std::string(), TextEncoding::Utf8);
    CopyText(g_app.reportProblem, saved ? std::string() : whereOrWhy, TextEncoding::Utf8);
    SaveMonitorSettings(platform);
}

void SaveMonitorSettings(Platform& platform)
{
    const SettingNotes& notes = g_app.settingNotes;
    // Both the last step and the wizard's end save them: once is enough when nothing changed between.
    if (!AnyChanged(notes) || notes.revision == g_app.savedRevision) return;
    MonitorList monitors{};
    const std::vector<std::string> keys = ConnectedMonitorKeys(platform, monitors);
    auto saved = std::make_unique<SavedSettings>(ParseSavedSettings(platform.files.ReadSavedSettings()));
    for (int m = 0; m < monitors.count; ++m) {
        std::vector<std::uint8_t> codes;
        std::vector<std::uint32_t> values;
        bool changed = false;
        for (int i = 0; i < notes.count; ++i) {
            const SettingNote& note = notes.notes[i];
            if (MonitorName(monitors.monitors[m]) != note.monitorName) continue;
            codes.push_back(note.code);
            values.push_back(note.last);
            changed = changed || note.first != note.last;
        }
        if (changed) SaveValues(*saved, keys[static_cast<std::size_t>(m)], codes, values);
    }
    if (platform.files.WriteSavedSettings(FormatSavedSettings(*saved))) g_app.savedRevision = notes.revision;
}

std::vector<std::string> ConnectedMonitorKeys(Platform& platform, MonitorList& monitors)
{
    platform.shell.EnumerateMonitors(monitors);
    std::vector<std::unique_ptr<MonitorFacts>> facts;
    std::vector<const MonitorFacts*> each;
    for (int i = 0; i < monitors.count; ++i) {
        facts.push_back(std::make_unique<MonitorFacts>());
        platform.shell.IdentifyMonitor(monitors.monitors[i].name, *facts.back());
        each.push_back(facts.back().get());
    }
    return MonitorKeys(each);
}
