// The fuzzed bytes are data.ini. Every reader of the file runs over them, then the
// wizard is driven by a few moves taken from the last bytes; the fixed-size tables
// and the step counter are checked after each call.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "app/AppState.h"
#include "base/Text.h"
#include "config/Config.h"
#include "config/IniFile.h"
#include "monitor/Monitors.h"
#include "patterns/PaintCycle.h"
#include "platform/SoftCanvas.h"
#include "Require.h"
#include "resources/resource.h"
#include "wizard/Wizard.h"

namespace {

constexpr std::size_t kMaxMoves = 8;

bool Terminated(std::span<const char> text)
{
    return std::memchr(text.data(), '\0', text.size()) != nullptr;
}

void CheckState()
{
    for (const StepRecord& step : g_app.steps) {
        Require(Terminated(step.purpose) && Terminated(step.howTo) && Terminated(step.seen) &&
                    Terminated(step.patternSpec),
                "step texts are terminated");
    }
    for (const ModelEntry& model : g_app.models) Require(Terminated(model.section), "model sections are terminated");
    Require(Terminated(g_app.scratch) && Terminated(g_app.configPath), "scratch and path are terminated");

    Require(g_app.loadedStepCount >= 0 && g_app.loadedStepCount <= kMaxSteps, "0 <= loadedStepCount <= 20");
    if (g_app.stepCount == 0) {
        Require(g_app.currentStep == 1, "no model loaded: step 1");
        Require(g_app.loadedStepCount == 0, "no model loaded: no steps");
    } else {
        Require(g_app.stepCount >= 2 && g_app.stepCount <= kMaxSteps + 2, "2 <= stepCount <= 22");
        Require(g_app.stepCount == g_app.loadedStepCount + 2, "stepCount counts the first and last steps");
        Require(g_app.currentStep >= 1 && g_app.currentStep <= g_app.stepCount, "1 <= currentStep <= stepCount");
    }
    const std::int32_t mask = g_app.enableMask;
    Require(mask == EnableMask::kFirstStep || mask == EnableMask::kMiddleStep || mask == EnableMask::kLastStep,
            "enable mask is one of the three");
    Require((g_app.currentStep == 1) == (mask == EnableMask::kFirstStep), "only step 1 enables the model list");
}

// Every text handed to the desktop comes out of a value-sized buffer, and a UTF-8 one
// was never cut inside a character.
void CheckShownText(const char* text, TextEncoding encoding)
{
    Require(std::strlen(text) < kValueSize, "shown text fits a value buffer");
    Require(encoding == TextEncoding::Ansi || IsValidUtf8(text), "a UTF-8 text is valid UTF-8");
}

class CheckedMessageBoxes final : public MessageBoxes {
public:
    MessageAnswer Show(MessageOwner owner, const char* text, TextEncoding, const char* caption,
                       MessageButtons buttons) override
    {
        struct Known {
            std::string_view text;
            std::string_view caption;
        };
        static constexpr Known kKnown[] = {
            {"Execeed maximun of the model number 20", "Lumetta - Warning"},
            {"Execeed maximun of the menu number 20", "Lumetta - ERROR"},
            {"Execeed maximun of the How-To-Do text length 520", "Lumetta - ERROR"},
        };
        bool known = false;
        for (const Known& k : kKnown) known = known || (text == k.text && caption == k.caption);
        Require(known, "only the three known messages are shown");
        Require(owner == MessageOwner::Dialog && buttons == MessageButtons::Ok, "messages belong to the dialog");
        return MessageAnswer::Ok;
    }
};

class ListOnlyDialog final : public DialogControls {
public:
    void SetText(int, const char* text, TextEncoding encoding) override { CheckShownText(text, encoding); }
    void Enable(int, bool) override {}
    void Show(int, bool) override {}
    void Focus(int) override {}
    void EnableSystemCommand(int, bool) override {}
    void AddListEntry(int id, const char* text, TextEncoding encoding) override
    {
        CheckShownText(text, encoding);
        if (id == IDC_MODEL_COMBO) ++entries;
    }
    void SelectListEntry(int id, int index) override
    {
        if (id == IDC_MODEL_COMBO) selected = index >= 0 && index < entries ? index : -1;
    }
    int SelectedListEntry(int id) override { return id == IDC_MODEL_COMBO ? selected : -1; }
    int ListEntryCount(int id) override { return id == IDC_MODEL_COMBO ? entries : 0; }
    void MoveDialog(int, int, bool) override {}
    Rect DialogRect() override { return {0, 0, 400, 300}; }
    void SetSettingRows(int count) override { Require(count >= 0 && count <= kMaxSettingRows, "0 to 3 setting rows"); }
    void SetSlider(int, int, int) override {}
    void OfferReport(const char*) override {}
    void SetStepLines(const MonitorLines& lines) override
    {
        Require(lines.count >= 0 && lines.count <= kMaxMonitorLines, "0 to 6 lines about the monitor");
        for (int i = 0; i < lines.count; ++i) CheckShownText(lines.text[i], lines.encoding[i]);
    }

    int entries = 0;
    int selected = -1;
};

class CheckedSettings final : public SettingsChannel {
public:
    void Post(const SettingsRequest& request) override
    {
        Require(request.count >= 0 && request.count <= kMaxSettingRows, "0 to 3 settings asked for");
    }
};

// Frames go straight onto one small canvas.
class CanvasScreen final : public PatternScreen {
public:
    void ShowFrame(const std::function<void(Canvas&)>& paint) override { paint(canvas); }

    SoftCanvas canvas{24, 16};
};

// The report and the saved settings are made, and their texts checked, but kept nowhere.
class CheckedFiles final : public RunFiles {
public:
    void Now(std::span<char> shown, std::span<char> stamp) override
    {
        CopyText(shown, "2026-12-09 14:03");
        CopyText(stamp, "2026-12-09 1403");
    }
    // As Windows converts a guide's code-page text, with Latin-1 standing in for it.
    std::string ToUtf8(const char* text, TextEncoding encoding) override
    {
        if (encoding == TextEncoding::Utf8) return text;
        std::string utf8;
        for (const char* c = text; *c != '\0'; ++c) AppendUtf8(utf8, static_cast<unsigned char>(*c));
        return utf8;
    }
    bool SaveReport(std::string_view fileName, std::string_view html, std::string& whereOrWhy) override
    {
        Require(fileName.ends_with(".html") && fileName.find_first_of("<>:\"/\\|?*") == std::string_view::npos,
                "a report's name is a file name");
        Require(html.find("<script") == std::string_view::npos, "a report runs nothing");
        whereOrWhy = fileName;
        return true;
    }
    std::string ReadSavedSettings() override { return {}; }
    bool WriteSavedSettings(std::string_view) override { return true; }
};

// Paints for real, on a small canvas, so that each step's pattern keyword is drawn.
class PaintingShell final : public Shell {
public:
    void EnumerateMonitors(MonitorList& monitors) override { monitors.count = 0; }
    // A monitor with something to say on every line, so that each of data.ini's texts
    // for them is filled in.
    void GatherFacts(const char*, MonitorFacts& facts) override
    {
        facts.edid = {true, "LMT", 0x1234, 1, "FUZZ", "", 2560, 1440, 60, false, 600, 340, EdidInput::Digital, {}};
        facts.desktop = {1920, 1080, 60, false};
        facts.modeCount = 1;
        facts.modes[0] = {1920, 1080, 144, false};
        facts.rampKnown = true;
        facts.hdr = Known::Yes;
        facts.bitsPerColour = 6;
    }
    void PlacePatternWindow(Rect) override {}
    void ShowMotion(int) override {}
    void StopMotion() override {}
    void ShowPatternWindow(bool) override {}
    void PaintPatternWindow() override { ::PaintPatternWindow(*platform); }
    void DestroyPatternWindow() override {}

    Platform* platform = nullptr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    TextIniReader ini(bytes);
    CheckedMessageBoxes messages;
    ListOnlyDialog dialog;
    CanvasScreen screen;
    PaintingShell shell;
    CheckedSettings settings;
    CheckedFiles files;
    Platform platform{ini, messages, dialog, screen, shell, settings, files};
    shell.platform = &platform;

    g_app = AppState{};
    CopyText(g_app.configPath, "data.ini");
    ModelNames names{};
    LoadModelList(platform, names);
    Require(names.count >= 0 && names.count <= kMaxModels, "0 <= model count <= 20");
    for (int i = 0; i < names.count; ++i) Require(Terminated(names.names[i]), "model names are terminated");
    CheckState();
    ApplyButtonCaptions(platform);
    CheckState();
    for (const char* key : {"PURPOSE1", "HOWTO1", "WELCOME", "NOTES"}) {
        ReadModelsText(platform, key);
        CheckShownText(g_app.scratch, g_app.scratchEncoding);
        CheckState();
    }
    for (int index = -1; index <= kMaxModels; ++index) {
        LoadModelSteps(platform, index);
        CheckState();
    }

    g_app = AppState{};
    g_app.screenWidth = 1024;
    g_app.screenHeight = 768;
    InitWizard(platform);
    CheckState();
    // The moves overlap the INI text: every input is still a whole data.ini.
    const std::size_t moves = std::min(size, kMaxMoves);
    for (std::size_t i = size - moves; i < size; ++i) {
        const std::uint8_t move = data[i];
        switch (move % 4) {
        case 0:
            // Indices from -1 up to past the end of any list.
            dialog.SelectListEntry(IDC_MODEL_COMBO, move / 4 - 1);
            ChooseModel(platform);
            break;
        case 1:
        case 2:
            GoNext(platform);
            break;
        default:
            GoPrevious(platform);
            break;
        }
        CheckState();
    }
    return 0;
}
