// In-memory stand-ins for the desktop: recorded message boxes and dialog controls,
// data.ini written to a scratch directory and read by the portable INI reader.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/ConfigPath.h"
#include "base/Text.h"
#include "config/IniFile.h"
#include "monitor/Monitors.h"
#include "platform/Platform.h"
#include "platform/SoftCanvas.h"

struct ShownMessage {
    MessageOwner owner;
    std::string text;
    std::string caption;
    MessageButtons buttons;
};

class FakeMessageBoxes final : public MessageBoxes {
public:
    MessageAnswer Show(MessageOwner owner, const char* text, TextEncoding, const char* caption,
                       MessageButtons buttons) override
    {
        shown.push_back({owner, text, caption, buttons});
        return answer;
    }
    std::vector<ShownMessage> shown;
    MessageAnswer answer = MessageAnswer::Ok;
};

struct ControlState {
    std::string text;
    bool enabled = true;
    bool visible = true;
    std::vector<std::string> entries;
    int selected = -1;  // a trackbar's position
    int sliderMaximum = 0;
};

class FakeDialogControls final : public DialogControls {
public:
    std::function<void(int id)> onSetText;  // to see what happened before a text changed

    void SetText(int id, const char* text, TextEncoding) override
    {
        controls[id].text = text;
        if (onSetText) onSetText(id);
    }
    void Enable(int id, bool enabled) override { controls[id].enabled = enabled; }
    void Show(int id, bool visible) override { controls[id].visible = visible; }
    void Focus(int id) override { focus = id; }
    void AddListEntry(int id, const char* text, TextEncoding) override { controls[id].entries.push_back(text); }
    void SelectListEntry(int id, int index) override
    {
        auto& c = controls[id];
        c.selected = index >= 0 && index < static_cast<int>(c.entries.size()) ? index : -1;
    }
    int SelectedListEntry(int id) override { return controls[id].selected; }
    int ListEntryCount(int id) override { return static_cast<int>(controls[id].entries.size()); }
    void MoveDialog(int x, int y, bool) override
    {
        position = {x, y};
        if (rescale) size = rescale(x, y);
    }
    Rect DialogRect() override
    {
        return {position.first, position.second, position.first + size.width, position.second + size.height};
    }
    void EnableSystemCommand(int id, bool enabled) override { systemCommands[id] = enabled; }
    void SetSettingRows(int count) override { settingRows = count; }
    void OfferReport(const char* path) override { offeredReport = path; }
    void SetStepLines(const MonitorLines& lines) override
    {
        monitorLines.clear();
        for (int i = 0; i < lines.count; ++i) monitorLines.push_back(lines.text[i]);
    }
    void SetSlider(int id, int maximum, int at) override
    {
        controls[id].sliderMaximum = maximum;
        controls[id].selected = at;
    }

    std::map<int, ControlState> controls;
    std::map<int, bool> systemCommands;
    int settingRows = 0;
    std::vector<std::string> monitorLines;
    std::string offeredReport;
    int focus = 0;
    std::pair<int, int> position{0, 0};
    Size size{0, 0};
    // Stands in for the platform rescaling the dialog on a monitor of another DPI:
    // the size at the new top-left corner.
    std::function<Size(int x, int y)> rescale;
};

class FakeShell final : public Shell {
public:
    void EnumerateMonitors(MonitorList& out) override { out = monitors; }
    void GatherFacts(const char* name, MonitorFacts& out) override
    {
        if (const auto found = facts.find(name); found != facts.end()) out = found->second;
    }
    void PlacePatternWindow(Rect rect) override { patternRect = rect; }
    void ShowMotion(int speed) override { motionSpeed = speed; }
    void StopMotion() override { motionSpeed = 0; }
    void ShowPatternWindow(bool visible) override { patternVisible = visible; }
    void PaintPatternWindow() override { ++paints; }
    void DestroyPatternWindow() override { destroyed = true; }

    MonitorList monitors{};
    std::map<std::string, MonitorFacts> facts;  // by device name; none: nothing known
    Rect patternRect{};
    int motionSpeed = 0;
    bool patternVisible = false;
    int paints = 0;
    bool destroyed = false;
};

class FakeSettingsChannel final : public SettingsChannel {
public:
    void Post(const SettingsRequest& request) override { posted.push_back(request); }
    std::vector<SettingsRequest> posted;
};

// Files in memory, at a fixed moment.
class FakeRunFiles final : public RunFiles {
public:
    void Now(std::span<char> shown, std::span<char> stamp) override
    {
        CopyText(shown, "2026-12-09 14:03");
        CopyText(stamp, "2026-12-09 1403");
    }
    std::string ToUtf8(const char* text, TextEncoding) override { return text; }
    bool SaveReport(std::string_view fileName, std::string_view html, std::string& whereOrWhy) override
    {
        whereOrWhy = reportProblem.empty() ? "C:\\Reports\\" + std::string(fileName) : reportProblem;
        if (reportProblem.empty()) reports[std::string(fileName)] = html;
        return reportProblem.empty();
    }
    std::string ReadSavedSettings() override { return saved; }
    bool WriteSavedSettings(std::string_view text) override
    {
        saved = text;
        return true;
    }

    std::map<std::string, std::string> reports;
    std::string reportProblem;  // the reason every report fails, when set
    std::string saved;          // monitors.ini
};

// Frames are painted straight on one canvas and counted.
class FakeScreen final : public PatternScreen {
public:
    void ShowFrame(const std::function<void(Canvas&)>& paint) override
    {
        paint(canvas);
        ++frames;
    }

    SoftCanvas canvas{64, 48};
    int frames = 0;
};

// A fresh AppState and a scratch directory holding data.ini.
class FakePlatform {
public:
    FakePlatform()
    {
        g_app = AppState{};
        char pattern[] = "/tmp/lumetta-unit-XXXXXX";
        directory_ = mkdtemp(pattern);
        CopyText(g_app.configPath, directory_ + "/" + std::string(kConfigFileName));
    }
    ~FakePlatform() { std::filesystem::remove_all(directory_); }
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    void WriteIni(const std::string& text)
    {
        std::ofstream(g_app.configPath, std::ios::binary) << text;
    }
    std::string Directory() const { return directory_; }

    FakeMessageBoxes messages;
    FakeDialogControls dialog;
    FileIniReader ini;
    FakeScreen screen;
    SoftCanvas& canvas = screen.canvas;
    FakeShell shell;
    FakeSettingsChannel settings;
    FakeRunFiles files;
    Platform platform{ini, messages, dialog, screen, shell, settings, files};

private:
    std::string directory_;
};
