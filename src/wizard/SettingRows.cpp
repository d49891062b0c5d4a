#include "wizard/SettingRows.h"

#include <algorithm>
#include <cstdio>

#include "app/AppState.h"
#include "base/Text.h"
#include "config/Config.h"
#include "monitor/SettingsWorker.h"
#include "resources/resource.h"

namespace {

constexpr char kNoDdcKey[] = "NODDC";
constexpr char kNoDdcText[] = "This monitor takes this setting only from its own buttons.";
constexpr char kNotTakenKey[] = "NOTTAKEN";
constexpr char kNotTakenText[] = "not taken (picture mode?)";
constexpr char kRestoreKey[] = "RESTORE";
constexpr char kRestoreText[] = "&Restore";

void ShowValue(Platform& platform, int row, std::uint32_t value, bool notTaken)
{
    char text[kValueSize];
    const int length = std::snprintf(text, sizeof text, notTaken ? "%u: " : "%u", static_cast<unsigned>(value));
    // The number reads the same in either encoding.
    const TextEncoding encoding =
        notTaken ? ReadButtonText(platform, kNotTakenKey, kNotTakenText, std::span(text).subspan(length)) : kOwnText;
    platform.dialog.SetText(IDC_SETTING_VALUE + row, text, encoding);
}

// Every row as not read yet: disabled, no number; nothing the user does reaches the
// monitor until the worker has answered.
void ShowRowsReading(Platform& platform)
{
    SettingsRequest& request = g_app.settingsRequest;
    g_app.settingsShown = {};
    for (int i = 0; i < request.count; ++i) {
        request.wantedSerial[i] = 0;
        platform.dialog.Show(IDC_SETTING_NOTE + i, false);
        platform.dialog.Show(IDC_SETTING_SLIDER + i, true);
        platform.dialog.Show(IDC_SETTING_VALUE + i, true);
        platform.dialog.Enable(IDC_SETTING_SLIDER + i, false);
        platform.dialog.SetText(IDC_SETTING_VALUE + i, "", kOwnText);
    }
    if (request.count > 0) platform.dialog.Enable(IDC_RESTORE, false);
}

// For the monitor the rows were read from, which the request still names.
void CarryPendingValues()
{
    SettingsRequest& request = g_app.settingsRequest;
    for (int i = 0; i < request.count; ++i) {
        if (request.wantedSerial[i] == 0 || request.wantedSerial[i] == g_app.settingsShown.rows[i].serial) continue;
        CarriedValue carried{};
        CopyText(carried.monitorName, request.monitorName);
        carried.code = request.codes[i];
        carried.value = request.wanted[i];
        AddCarried(request.carried, carried);
    }
}

// Carried values are handed over once; the channel keeps them until the worker takes them.
void PostRequest(Platform& platform)
{
    CopyText(g_app.settingsRequest.monitorName, g_app.monitorName);
    platform.settings.Post(g_app.settingsRequest);
    g_app.settingsRequest.carried.count = 0;
}

}  // namespace

void ShowSettingRows(Platform& platform)
{
    SettingsRequest& request = g_app.settingsRequest;
    CarryPendingValues();
    const StepRecord* step = IsPatternStep(g_app) ? &g_app.steps[g_app.currentStep - 2] : nullptr;
    request.count = step != nullptr ? std::clamp<int>(step->controlCount, 0, kMaxSettingRows) : 0;
    platform.dialog.SetSettingRows(request.count);
    for (int i = 0; i < request.count; ++i) {
        request.codes[i] = step->controls[i];
        char text[kValueSize];
        TextEncoding encoding = ReadSettingLabel(platform, request.codes[i], text);
        platform.dialog.SetText(IDC_SETTING_LABEL + i, text, encoding);
        encoding = ReadButtonText(platform, kNoDdcKey, kNoDdcText, text);
        platform.dialog.SetText(IDC_SETTING_NOTE + i, text, encoding);
    }
    if (request.count > 0) {
        char restore[kValueSize];
        const TextEncoding encoding = ReadButtonText(platform, kRestoreKey, kRestoreText, restore);
        platform.dialog.SetText(IDC_RESTORE, restore, encoding);
    }
    request.readGeneration += 1;
    ShowRowsReading(platform);
    PostRequest(platform);
}

void ReadSettingsAgain(Platform& platform, bool reopen)
{
    SettingsRequest& request = g_app.settingsRequest;
    CarryPendingValues();
    request.readGeneration += 1;
    if (reopen) request.openGeneration += 1;
    ShowRowsReading(platform);
    PostRequest(platform);
}

void ShowSettingsReport(Platform& platform, const SettingsReport& report)
{
    const SettingsRequest& request = g_app.settingsRequest;
    if (report.readGeneration != request.readGeneration || report.count != request.count) return;  // stale
    g_app.settingsShown = report;
    bool anyWritable = false;
    for (int i = 0; i < report.count; ++i) {
        const SettingRow& row = report.rows[i];
        const bool noDdc = row.state == SettingState::NoDdc;
        platform.dialog.Show(IDC_SETTING_SLIDER + i, !noDdc);
        platform.dialog.Show(IDC_SETTING_VALUE + i, !noDdc);
        platform.dialog.Show(IDC_SETTING_NOTE + i, noDdc);
        platform.dialog.Enable(IDC_SETTING_SLIDER + i, Writable(row.state));
        anyWritable = anyWritable || Writable(row.state);
        // A reading older than the user's newest position would yank the trackbar back
        // in mid-drag; the reading of that position follows.
        if (!Writable(row.state) || row.serial != request.wantedSerial[i]) continue;
        NoteReading(g_app.settingNotes, request.monitorName, row.code, row.original, row.reading.current);
        platform.dialog.SetSlider(IDC_SETTING_SLIDER + i, static_cast<int>(row.reading.maximum),
                                  static_cast<int>(row.reading.current));
        ShowValue(platform, i, row.reading.current, row.state == SettingState::NotTaken);
    }
    platform.dialog.Enable(IDC_RESTORE, anyWritable);
}

void MoveSetting(Platform& platform, int row, int position)
{
    SettingsRequest& request = g_app.settingsRequest;
    if (row < 0 || row >= request.count || position < 0 || !Writable(g_app.settingsShown.rows[row].state)) return;
    const auto value = static_cast<std::uint32_t>(position);
    // A trackbar reports the end of a drag at the position it has already reported.
    const SettingRow& shown = g_app.settingsShown.rows[row];
    const bool pending = request.wantedSerial[row] != shown.serial;
    if (value == (pending ? request.wanted[row] : shown.reading.current)) return;
    request.wanted[row] = value;
    request.wantedSerial[row] += 1;
    NoteSet(g_app.settingNotes, request.monitorName, request.codes[row], value);
    ShowValue(platform, row, value, false);
    PostRequest(platform);
}

void RestoreSettings(Platform& platform)
{
    SettingsRequest& request = g_app.settingsRequest;
    for (int i = 0; i < request.count; ++i) {
        const SettingRow& row = g_app.settingsShown.rows[i];
        if (!Writable(row.state)) continue;
        request.wanted[i] = row.original;
        request.wantedSerial[i] += 1;
        NoteSet(g_app.settingNotes, request.monitorName, row.code, row.original);
        platform.dialog.SetSlider(IDC_SETTING_SLIDER + i, static_cast<int>(row.reading.maximum),
                                  static_cast<int>(row.original));
        ShowValue(platform, i, row.original, false);
    }
    PostRequest(platform);
}
