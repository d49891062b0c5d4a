#include "wizard/Wizard.h"

#include <cstdio>

#include "app/AppState.h"
#include "config/Config.h"
#include "resources/resource.h"

namespace {

constexpr int kBottomMargin = 50;  // pixels between the dialog and the screen's bottom edge
constexpr char kLastStepSeen[] = "Your original screen.";
constexpr char kLastStepHowTo[] = "Adjustments are complete. Click on Finish button.";
constexpr char kQuitCaption[] = "&Quit";
constexpr char kFinishCaption[] = "&Finish";

int DialogWidth() { return g_app.dialogRect.right; }
int DialogHeight() { return g_app.dialogRect.bottom; }

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
    dialog.SetText(IDC_STEP, g_app.scratch);
}

// Returns the control that takes the focus.
int ShowFirstStep(Platform& platform)
{
    DialogControls& dialog = platform.dialog;
    ShowControls(dialog, {IDC_PURPOSE_LABEL, IDC_PURPOSE, IDC_HOWTO_LABEL, IDC_HOWTO}, true);
    dialog.SetText(IDC_PURPOSE, ReadModelsText(platform, "PURPOSE1"));
    dialog.SetText(IDC_HOWTO, ReadModelsText(platform, "HOWTO1"));
    ShowControls(dialog, {IDC_SEEN_LABEL, IDC_SEEN}, false);
    // Back from the last step of a model without pattern steps, Quit would still read
    // Finish; once a model is loaded, step 1 quits like every other step.
    if (g_app.stepCount != 0) dialog.SetText(IDC_QUIT, kQuitCaption);
    return IDC_NEXT;
}

int ShowLastStep(DialogControls& dialog)
{
    ShowControls(dialog, {IDC_HOWTO, IDC_SEEN_LABEL, IDC_SEEN}, true);
    dialog.SetText(IDC_SEEN, kLastStepSeen);
    ShowControls(dialog, {IDC_PURPOSE_LABEL, IDC_PURPOSE, IDC_HOWTO_LABEL}, false);
    dialog.SetText(IDC_HOWTO, kLastStepHowTo);
    dialog.SetText(IDC_QUIT, kFinishCaption);
    return IDC_QUIT;
}

int ShowPatternStep(DialogControls& dialog)
{
    ShowControls(dialog,
                 {IDC_PURPOSE_LABEL, IDC_PURPOSE, IDC_HOWTO_LABEL, IDC_HOWTO, IDC_SEEN_LABEL, IDC_SEEN},
                 true);
    const StepRecord& step = g_app.steps[g_app.currentStep - 2];
    dialog.SetText(IDC_PURPOSE, step.purpose);
    dialog.SetText(IDC_HOWTO, step.howTo);
    dialog.SetText(IDC_SEEN, step.seen);
    dialog.SetText(IDC_QUIT, kQuitCaption);
    // Out of the pattern's way: bottom centre, whatever the user dragged it to.
    dialog.MoveDialog((g_app.screenWidth - DialogWidth()) / 2,
                      g_app.screenHeight - DialogHeight() - kBottomMargin, true);
    return IDC_NEXT;
}

}  // namespace

void InitWizard(Platform& platform)
{
    platform.dialog.MoveDialog((g_app.screenWidth - DialogWidth()) / 2,
                               (g_app.screenHeight - DialogHeight()) / 2, false);
    ModelNames models;
    LoadModelList(platform, models);
    for (int i = 0; i < models.count; ++i) platform.dialog.AddListEntry(IDC_MODEL_COMBO, models.names[i]);
    ApplyButtonCaptions(platform);
    RefreshWizard(platform);
    platform.dialog.SelectListEntry(IDC_MODEL_COMBO, 0);
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
    // Before any model is loaded, Next takes the first one of the list; a model loaded
    // earlier, even one without pattern steps, is used again.
    if (g_app.currentStep == 1 && g_app.stepCount == 0) LoadModelSteps(platform, 0);
    if (g_app.stepCount < 2 || g_app.currentStep >= g_app.stepCount) return;
    g_app.currentStep += 1;
    g_app.enableMask = g_app.currentStep == g_app.stepCount ? EnableMask::kLastStep : EnableMask::kMiddleStep;
    RefreshWizard(platform);
}

void RefreshWizard(Platform& platform)
{
    DialogControls& dialog = platform.dialog;
    ApplyEnableMask(dialog);
    ShowStepCaption(dialog);
    platform.shell.ShowPatternWindow(true);
    int focus;
    if (g_app.currentStep == 1)
        focus = ShowFirstStep(platform);
    else if (g_app.currentStep == g_app.stepCount)
        focus = ShowLastStep(dialog);
    else
        focus = ShowPatternStep(dialog);
    dialog.Focus(focus);
    platform.shell.PaintPatternWindow();
}
