#include "wizard/Wizard.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <string>

#include "app/AppState.h"
#include "base/Text.h"
#include "config/Config.h"
#include "keep/WriteRunFiles.h"
#include "monitor/Monitors.h"
#include "resources/resource.h"
#include "wizard/SettingRows.h"

namespace {

constexpr char kLastStepSeen[] = "Your original screen.";
constexpr char kLastStepHowTo[] = "Adjustments are complete. Click on Finish button.";
constexpr char kReportSaved[] = "The report of this adjustment is saved as ";
constexpr char kReportNotSaved[] = "The report could not be saved: ";
constexpr char kQuitCaption[] = "&Quit";
constexpr char kFinishCaption[] = "&Finish";

enum class Placement { Centred, BottomCentre };

Size DialogSize(DialogControls& dialog)
{
    const Rect rect = dialog.DialogRect();
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// Measured each time: a move onto a monitor of another DPI makes the platform rescale
// the dialog, and then the position is worked out again for the new size.
void PlaceDialog(DialogControls& dialog, Placement placement, bool repaint)
{
    auto place = [&](Size size) {
        const Point at = placement == Placement::Centred ? CentredOn(CurrentMonitorRect(), size)
                                                          : BottomCentreOn(CurrentMonitorRect(), size);
        dialog.MoveDialog(at.x, at.y, repaint);
    };
    const Size before = DialogSize(dialog);
    place(before);
    const Size after = DialogSize(dialog);
    if (after.width != before.width || after.height != before.height) place(after);
}

// Where the current step puts the dialog when it changes monitor.
Placement StepPlacement()
{
    return IsPatternStep(g_app) ? Placement::BottomCentre : Placement::Centred;
}

// Moving to the next monitor means nothing with a single one.
void OfferMonitorCommand(DialogControls& dialog, const MonitorList& monitors)
{
    dialog.EnableSystemCommand(IDM_NEXT_MONITOR, monitors.count > 1);
}

// Step 1's lines about the current monitor, and, before a model is chosen, the model
// made for its input.
void CheckCurrentMonitor(Platform& platform)
{
    g_app.monitorFacts = {};
    platform.shell.GatherFacts(g_app.monitorName, g_app.monitorFacts);
    const MonitorCheck check = CheckMonitor(g_app.monitorFacts);
    // The guide's texts are read only where there is something to say.
    g_app.monitorLines = {};
    if (check.identity || check.findingCount > 0) {
        MonitorTexts texts;
        ReadMonitorTexts(platform, texts);
        g_app.monitorLines = DescribeMonitor(g_app.monitorFacts, check, texts);
    }
    if (g_app.stepCount != 0) return;
    const EdidInput input = g_app.monitorFacts.edid.input;
    const int count = std::min(platform.dialog.ListEntryCount(IDC_MODEL_COMBO), kMaxModels);
    ModelSignal signals[kMaxModels] = {};
    // The guide's keys are read only where the monitor tells its input.
    for (int i = 0; i < count && input != EdidInput::Unknown; ++i) {
        char signal[kValueSize];
        ReadModelValue(platform, i, "SIGNAL", signal);
        signals[i] = ParseModelSignal(signal);
    }
    g_app.suggestedModel = SuggestModel(input, std::span(signals, static_cast<std::size_t>(count)));
}

// The line of the last step: where the report is, or why it is not.
MonitorLines ReportLines()
{
    MonitorLines lines{};
    lines.count = 1;
    lines.encoding[0] = kOwnText;
    const bool saved = g_app.reportPath[0] != '\0';
    const std::string line = saved ? kReportSaved + std::string(g_app.reportPath) + "."
                                   : kReportNotSaved + std::string(g_app.reportProblem) + ".";
    CopyText(lines.text[0], line, kOwnText);
    return lines;
}

// Below the model list: on step 1 what Lumetta knows of the monitor, on the last step
// where the report is. A wizard grown by its lines is kept on its monitor.
void ShowStepLines(Platform& platform)
{
    const bool last = g_app.currentStep == g_app.stepCount;
    const MonitorLines lines = g_app.currentStep == 1 ? g_app.monitorLines : last ? ReportLines() : MonitorLines{};
    platform.dialog.SetStepLines(lines);
    if (lines.count > 0 && platform.dialog.DialogRect().bottom > CurrentMonitorRect().bottom)
        PlaceDialog(platform.dialog, Placement::BottomCentre, true);
}

// The pattern window covers the monitor and shows the current step there; the
// settings rows are read from that monitor, and step 1 tells what it is.
void ShowOn(Platform& platform, const Monitor& monitor, bool reopen = false)
{
    MakeCurrentMonitor(monitor);
    platform.shell.PlacePatternWindow(monitor.rect);
    platform.shell.PaintPatternWindow();
    ReadSettingsAgain(platform, reopen);
    CheckCurrentMonitor(platform);
    if (g_app.currentStep != 1) return;
    ShowStepLines(platform);
    if (g_app.stepCount == 0) platform.dialog.SelectListEntry(IDC_MODEL_COMBO, g_app.suggestedModel);
}

void ShowControls(DialogControls& dialog, std::initializer_list<int> ids, bool visible)
{
    for (int id : ids) dialog.Show(id, visible);
}

void ApplyEnableMask(DialogControls& dialog)
{
    const int mask = g_app.enableMask;
    dialog.Enable(IDC_PREVIOUS, (mask & EnableMask::kPrevious) != 0);
    dialog.Enable(IDC_NEXT, (mask & EnableMask::kNext) != 0);
    dialog.Enable(IDC_QUIT, (mask & EnableMask::kQuit) != 0);
    dialog.Enable(IDC_MODEL_COMBO, (mask & EnableMask::kModelCombo) != 0);
}

void ShowStepCaption(DialogControls& dialog)
{
    if (g_app.stepCount == 0)
        std::snprintf(g_app.scratch, sizeof g_app.scratch, "STEP %d of ?", g_app.currentStep);
    else
        std::snprintf(g_app.scratch, sizeof g_app.scratch, "STEP %d of %d", g_app.currentStep,
                      g_app.stepCount);
    dialog.SetText(IDC_STEP, g_app.scratch, kOwnText);
}

// Returns the control that takes the focus.
int ShowFirstStep(Platform& platform)
{
    DialogControls& dialog = platform.dialog;
    ShowControls(dialog, {IDC_PURPOSE_LABEL, IDC_PURPOSE, IDC_HOWTO_LABEL, IDC_HOWTO}, true);
    ReadModelsText(platform, "PURPOSE1");
    dialog.SetText(IDC_PURPOSE, g_app.scratch, g_app.scratchEncoding);
    ReadModelsText(platform, "HOWTO1");
    dialog.SetText(IDC_HOWTO, g_app.scratch, g_app.scratchEncoding);
    ShowControls(dialog, {IDC_SEEN_LABEL, IDC_SEEN}, false);
    // Back from the last step of a model without pattern steps, Quit would still read
    // Finish; once a model is loaded, step 1 quits like every other step.
    if (g_app.stepCount != 0) dialog.SetText(IDC_QUIT, kQuitCaption, kOwnText);
    return IDC_NEXT;
}

int ShowLastStep(DialogControls& dialog)
{
    ShowControls(dialog, {IDC_HOWTO, IDC_SEEN_LABEL, IDC_SEEN}, true);
    dialog.SetText(IDC_SEEN, kLastStepSeen, kOwnText);
    ShowControls(dialog, {IDC_PURPOSE_LABEL, IDC_PURPOSE, IDC_HOWTO_LABEL}, false);
    dialog.SetText(IDC_HOWTO, kLastStepHowTo, kOwnText);
    dialog.SetText(IDC_QUIT, kFinishCaption, kOwnText);
    return IDC_QUIT;
}

int ShowPatternStep(DialogControls& dialog)
{
    ShowControls(dialog,
                 {IDC_PURPOSE_LABEL, IDC_PURPOSE, IDC_HOWTO_LABEL, IDC_HOWTO, IDC_SEEN_LABEL, IDC_SEEN},
                 true);
    const StepRecord& step = g_app.steps[g_app.currentStep - 2];
    dialog.SetText(IDC_PURPOSE, step.purpose, g_app.stepsEncoding);
    dialog.SetText(IDC_HOWTO, step.howTo, g_app.stepsEncoding);
    dialog.SetText(IDC_SEEN, step.seen, g_app.stepsEncoding);
    dialog.SetText(IDC_QUIT, kQuitCaption, kOwnText);
    // Out of the pattern's way: bottom centre, whatever the user dragged it to.
    PlaceDialog(dialog, Placement::BottomCentre, true);
    return IDC_NEXT;
}

}  // namespace

void InitWizard(Platform& platform)
{
    // The pattern window already covers the primary; from here on monitors are told
    // apart by name, and a move of the wizard onto the primary is no change.
    MonitorList monitors{};
    platform.shell.EnumerateMonitors(monitors);
    if (const int primary = PrimaryMonitor(monitors); primary >= 0)
        CopyText(g_app.monitorName, MonitorName(monitors.monitors[primary]));
    OfferMonitorCommand(platform.dialog, monitors);
    ModelNames models;
    LoadModelList(platform, models);
    for (int i = 0; i < models.count; ++i)
        platform.dialog.AddListEntry(IDC_MODEL_COMBO, models.names[i], models.encoding);
    // Centred with its lines about the monitor, which make it taller.
    CheckCurrentMonitor(platform);
    ShowStepLines(platform);
    PlaceDialog(platform.dialog, Placement::Centred, false);
    ApplyButtonCaptions(platform);
    RefreshWizard(platform);
    platform.dialog.SelectListEntry(IDC_MODEL_COMBO, g_app.suggestedModel);
}

void ChooseModel(Platform& platform)
{
    // The entry the user selected is the model: its position in the list is its
    // index in the models table, whatever its text.
    const int index = platform.dialog.SelectedListEntry(IDC_MODEL_COMBO);
    if (index < 0 || index >= platform.dialog.ListEntryCount(IDC_MODEL_COMBO) || index >= kMaxModels)
        return;
    if (g_app.currentStep != 1) return;  // the list is disabled beyond step 1
    LoadModelSteps(platform, index);
    g_app.currentStep += 1;
    g_app.enableMask = EnableMask::kMiddleStep;
    RefreshWizard(platform);
}

void GoPrevious(Platform& platform)
{
    if (g_app.currentStep <= 1) return;
    g_app.currentStep -= 1;
    g_app.enableMask = g_app.currentStep == 1 ? EnableMask::kFirstStep : EnableMask::kMiddleStep;
    RefreshWizard(platform);
}

void GoNext(Platform& platform)
{
    // Before any model is loaded, Next takes the one the list shows: the first, or the
    // one made for the monitor's input; a model loaded earlier, even one without
    // pattern steps, is used again.
    if (g_app.currentStep == 1 && g_app.stepCount == 0) LoadModelSteps(platform, g_app.suggestedModel);
    if (g_app.stepCount < 2 || g_app.currentStep >= g_app.stepCount) return;
    g_app.currentStep += 1;
    g_app.enableMask = g_app.currentStep == g_app.stepCount ? EnableMask::kLastStep : EnableMask::kMiddleStep;
    RefreshWizard(platform);
}

void RefreshWizard(Platform& platform)
{
    // The pattern first: it is what the user is waiting for, and the wizard's own
    // updates, a few milliseconds of them, follow it.
    platform.shell.ShowPatternWindow(true);
    platform.shell.PaintPatternWindow();
    DialogControls& dialog = platform.dialog;
    ApplyEnableMask(dialog);
    ShowStepCaption(dialog);
    // The report is written as the last step is reached, before the line that tells of it.
    const bool last = g_app.currentStep == g_app.stepCount;
    if (last) WriteRunFiles(platform);
    ShowStepLines(platform);
    ShowSettingRows(platform);
    dialog.OfferReport(last ? g_app.reportPath : "");
    int focus;
    if (g_app.currentStep == 1)
        focus = ShowFirstStep(platform);
    else if (g_app.currentStep == g_app.stepCount)
        focus = ShowLastStep(dialog);
    else
        focus = ShowPatternStep(dialog);
    dialog.Focus(focus);
}

void FollowWizard(Platform& platform)
{
    MonitorList monitors{};
    platform.shell.EnumerateMonitors(monitors);
    const int under = MonitorAtCentre(monitors, platform.dialog.DialogRect());
    if (under < 0 || MonitorName(monitors.monitors[under]) == g_app.monitorName) return;
    ShowOn(platform, monitors.monitors[under]);
}

void MoveToNextMonitor(Platform& platform)
{
    MonitorList monitors{};
    platform.shell.EnumerateMonitors(monitors);
    if (monitors.count < 2) return;
    const int next = NextMonitor(monitors, MonitorNamed(monitors, g_app.monitorName));
    ShowOn(platform, monitors.monitors[next]);
    PlaceDialog(platform.dialog, StepPlacement(), true);
}

void FollowDisplayChange(Platform& platform)
{
    MonitorList monitors{};
    platform.shell.EnumerateMonitors(monitors);
    OfferMonitorCommand(platform.dialog, monitors);
    const int current = MonitorNamed(monitors, g_app.monitorName);
    if (current < 0) return;
    // Handles of physical monitors do not survive a display change.
    ShowOn(platform, monitors.monitors[current], true);
    if (MonitorAtCentre(monitors, platform.dialog.DialogRect()) < 0) PlaceDialog(platform.dialog, StepPlacement(), true);
}

void ReadMonitorTexts(Platform& platform, MonitorTexts& texts)
{
    struct Key {
        const char* key;
        const char* english;
        MonitorTexts::Text& text;
    };
    const Key keys[] = {
        {"NATIVE", "native", texts.native},
        {"DIGITAL", "digital input", texts.digital},
        {"ANALOGUE", "analogue input", texts.analogue},
        {"NOTNATIVE", "The desktop is {desktop}; this monitor's native mode is {native}. Set {native} before you adjust.",
         texts.findings[static_cast<int>(Finding::NotNative)]},
        {"SLOWER", "The desktop runs at {rate} Hz; this monitor offers {best} Hz at this size. Set {best} Hz before you adjust.",
         texts.findings[static_cast<int>(Finding::SlowerRate)]},
        {"CURVE", "Another program has changed the colours: a calibration curve, f.lux or a vendor tool. Turn it off, "
                  "and Night light too, before you adjust.",
         texts.findings[static_cast<int>(Finding::ColoursAltered)]},
        {"HDR", "HDR is on. Turn it off in the display settings before you adjust.",
         texts.findings[static_cast<int>(Finding::HdrOn)]},
        {"FEWBITS", "The picture has {bits} bits per colour. Set 8 or more in the graphics driver's settings before you adjust.",
         texts.findings[static_cast<int>(Finding::FewBits)]},
    };
    for (const Key& key : keys) key.text.encoding = ReadButtonText(platform, key.key, key.english, key.text.text);
}
