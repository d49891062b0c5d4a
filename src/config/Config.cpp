#include "config/Config.h"

#include <cstdio>
#include <span>

#include "app/AppState.h"
#include "base/Numbers.h"
#include "base/Text.h"
#include "resources/resource.h"

namespace {

constexpr char kModelsSection[] = "MODELS";
constexpr char kButtonsSection[] = "BUTTONS";
// The three configuration messages keep their spelling ("Execeed maximun") letter for
// letter: they are Lumetta's own texts, and users and their guides quote them as shown.
constexpr char kErrorCaption[] = "Lumetta - ERROR";
constexpr char kWarningCaption[] = "Lumetta - Warning";

struct Caption {
    const char* key;
    int control;
};
constexpr std::array<Caption, 8> kCaptions = {{
    {"MODELS", IDC_PATTERN_LABEL},
    {"NEXT", IDC_NEXT},
    {"QUIT", IDC_QUIT},
    {"BACK", IDC_PREVIOUS},
    {"WHY", IDC_PURPOSE_LABEL},
    {"HOW", IDC_HOWTO_LABEL},
    {"WHAT", IDC_SEEN_LABEL},
    {"HIDE", IDC_HIDE},
}};

constexpr std::array<NamedSetting, 9> kSettingNames = {{
    {"Brightness", 0x10, "BRIGHTNESS", "Brightness:"},
    {"Contrast", 0x12, "CONTRAST", "Contrast:"},
    {"RedGain", 0x16, "REDGAIN", "Red gain:"},
    {"GreenGain", 0x18, "GREENGAIN", "Green gain:"},
    {"BlueGain", 0x1A, "BLUEGAIN", "Blue gain:"},
    {"RedBlack", 0x6C, "REDBLACK", "Red black:"},
    {"GreenBlack", 0x6E, "GREENBLACK", "Green black:"},
    {"BlueBlack", 0x70, "BLUEBLACK", "Blue black:"},
    {"Sharpness", 0x87, "SHARPNESS", "Sharpness:"},
}};

// A known name, or "VCP" and two hex digits; -1 for anything else.
int SettingCode(std::string_view name)
{
    for (const NamedSetting& known : kSettingNames)
        if (known.name == name) return known.code;
    return VcpCode(name);
}

// Fields are separated by commas; every field but the first starts past any spaces
// (code 32 only), the last one takes the rest of the line, and a field that reaches
// the end of the line leaves those after it empty.
template <std::size_t N>
std::array<std::string_view, N> SplitFields(std::string_view line)
{
    std::array<std::string_view, N> fields{};
    std::size_t at = 0;
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0)
            while (at < line.size() && line[at] == ' ') ++at;
        const std::size_t comma = i + 1 < N ? line.find(',', at) : std::string_view::npos;
        if (comma == std::string_view::npos) {
            fields[i] = line.substr(at);
            break;
        }
        fields[i] = line.substr(at, comma - at);
        at = comma + 1;
    }
    return fields;
}

std::int32_t ReadNumber(Platform& platform, const char* section, const char* key)
{
    char value[kValueSize];
    platform.ini.Read(section, key, value, g_app.configPath);
    return ParseNumber(value);
}

// Reads the key "<prefix><index>" (MODEL0, MENU12...) of a section.
TextEncoding ReadIndexedLine(Platform& platform, const char* section, const char* prefix, int index,
                             std::span<char> line)
{
    char key[24];
    std::snprintf(key, sizeof key, "%s%d", prefix, index);
    return platform.ini.Read(section, key, line, g_app.configPath);
}

// Shows the message formatted into the scratch text; formats are always literals of
// ours, never text from the file.
void ShowScratchMessage(Platform& platform, const char* caption)
{
    platform.messages.Show(MessageOwner::Dialog, g_app.scratch, kOwnText, caption, MessageButtons::Ok);
}

}  // namespace

StepFields SplitStepLine(std::string_view line)
{
    const auto f = SplitFields<4>(line);
    return {f[0], f[1], f[2], f[3]};
}

ModelFields SplitModelLine(std::string_view line)
{
    const auto f = SplitFields<2>(line);
    return {f[0], f[1]};
}

void ExpandLineBreaks(char* text)
{
    for (; *text != '\0'; ++text) {
        if (text[0] == '\\' && text[1] == 'n') {
            text[0] = '\r';
            text[1] = '\n';
            ++text;
        }
    }
}

void LoadModelList(Platform& platform, ModelNames& names)
{
    names.count = 0;
    names.encoding = TextEncoding::Ansi;
    std::int32_t count = ReadNumber(platform, kModelsSection, "MODEL_NUMBER");
    if (count > kMaxModels) {
        std::snprintf(g_app.scratch, sizeof g_app.scratch, "Execeed maximun of the model number %d", kMaxModels);
        ShowScratchMessage(platform, kWarningCaption);
        count = kMaxModels;
    }
    for (int j = 0; j < count; ++j) {
        char line[kLineSize];
        const TextEncoding encoding = ReadIndexedLine(platform, kModelsSection, "MODEL", j, line);
        const ModelFields fields = SplitModelLine(line);
        CopyText(g_app.models[j].section, fields.section, encoding);
        CopyText(g_app.models[j].displayName, fields.displayName, encoding);
        g_app.modelNamesEncoding = encoding;
        CopyText(names.names[j], fields.displayName, encoding);
        names.encoding = encoding;
        names.count = j + 1;
    }
}

void ApplyButtonCaptions(Platform& platform)
{
    for (const Caption& caption : kCaptions) {
        char text[kValueSize];
        const TextEncoding encoding = platform.ini.Read(kButtonsSection, caption.key, text, g_app.configPath);
        platform.dialog.SetText(caption.control, text, encoding);
    }
}

void LoadModelSteps(Platform& platform, int index)
{
    // An index outside the table names no section, like a model that was never listed.
    const char* section = index >= 0 && index < kMaxModels ? g_app.models[index].section : "";
    std::int32_t count = ReadNumber(platform, section, "MENU_NUMBER");
    if (count > kMaxSteps) {
        std::snprintf(g_app.scratch, sizeof g_app.scratch, "Execeed maximun of the menu number %d", kMaxSteps);
        ShowScratchMessage(platform, kErrorCaption);
        count = kMaxSteps;
    }
    // A negative count would leave fewer than two steps and strand the wizard.
    if (count < 0) count = 0;
    g_app.loadedStepCount = count;
    g_app.stepCount = count + 2;
    g_app.modelIndex = index;

    for (int i = 0; i < count; ++i) {
        char line[kLineSize];
        const TextEncoding encoding = ReadIndexedLine(platform, section, "MENU", i, line);
        const StepFields fields = SplitStepLine(line);
        StepRecord& step = g_app.steps[i];
        g_app.stepsEncoding = encoding;
        CopyText(step.purpose, fields.purpose, encoding);
        if (fields.howTo.size() >= kValueSize) {
            std::snprintf(g_app.scratch, sizeof g_app.scratch, "Execeed maximun of the How-To-Do text length %d",
                          static_cast<int>(kValueSize));
            ShowScratchMessage(platform, kErrorCaption);
        }
        CopyText(step.howTo, fields.howTo, encoding);
        ExpandLineBreaks(step.howTo);
        CopyText(step.patternSpec, fields.patternSpec, encoding);
        CopyText(step.seen, fields.seen, encoding);
        char controls[kValueSize];
        ReadIndexedLine(platform, section, "CONTROL", i, controls);
        step.controlCount = ParseControlNames(controls, step.controls);
    }
}

const char* ReadModelsText(Platform& platform, const char* key)
{
    g_app.scratch[0] = '\0';
    g_app.scratchEncoding = platform.ini.Read(kModelsSection, key, g_app.scratch, g_app.configPath);
    ExpandLineBreaks(g_app.scratch);
    return g_app.scratch;
}

int ParseControlNames(std::string_view value, std::uint8_t (&codes)[kMaxSettingRows])
{
    int count = 0;
    while (count < kMaxSettingRows && !value.empty()) {
        const std::size_t comma = value.find(',');
        const std::string_view name = Trim(value.substr(0, comma));
        value = comma == std::string_view::npos ? std::string_view{} : value.substr(comma + 1);
        const int code = SettingCode(name);
        if (code < 0) continue;
        bool repeated = false;
        for (int i = 0; i < count; ++i) repeated = repeated || codes[i] == code;
        if (!repeated) codes[count++] = static_cast<std::uint8_t>(code);
    }
    return count;
}

TextEncoding ReadButtonText(Platform& platform, const char* key, const char* fallback, std::span<char> out)
{
    const TextEncoding encoding = platform.ini.Read(kButtonsSection, key, out, g_app.configPath);
    if (out.empty() || out[0] != '\0') return encoding;
    CopyText(out, fallback);
    return kOwnText;
}

int VcpCode(std::string_view name)
{
    if (name.size() == 5 && name.starts_with("VCP") && HexDigit(name[3]) >= 0 && HexDigit(name[4]) >= 0)
        return HexDigit(name[3]) * 16 + HexDigit(name[4]);
    return -1;
}

std::span<const NamedSetting> NamedSettings()
{
    return kSettingNames;
}

TextEncoding ReadModelValue(Platform& platform, int index, const char* key, std::span<char> out)
{
    if (out.empty()) return TextEncoding::Ansi;
    out[0] = '\0';
    if (index < 0 || index >= kMaxModels) return TextEncoding::Ansi;
    return platform.ini.Read(g_app.models[index].section, key, out, g_app.configPath);
}

TextEncoding ReadSettingLabel(Platform& platform, std::uint8_t code, std::span<char> out)
{
    for (const NamedSetting& known : kSettingNames)
        if (known.code == code) return ReadButtonText(platform, known.key, known.label, out);
    char key[8];
    char label[16];
    std::snprintf(key, sizeof key, "VCP%02X", code);
    std::snprintf(label, sizeof label, "VCP %02X:", code);
    return ReadButtonText(platform, key, label, out);
}
