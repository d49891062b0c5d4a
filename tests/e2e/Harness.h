// End-to-end harness: starts the real lumetta.exe in a scratch working directory and
// drives it from outside, the way a user would, through its windows. Every wait has
// a deadline so that a hung program fails its test instead of hanging the run.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

constexpr DWORD kDeadlineMs = 15000;
constexpr char kWelcomeCaption[] = "Lumetta - Version 1.00";
constexpr char kNotesCaption[] = "Lumetta - Setup Notes";

// The programs under test, as the driver's command line names them.
struct ProgramPaths {
    std::string lumetta;       // --lumetta=
    std::string instrumented;  // --instrumented=: the build that reports its GDI objects
    std::string packaged;      // --packaged=: lumetta.exe unpacked from the Windows package
    std::string fakeDxva2;     // --fake-dxva2=: the test-only dxva2.dll
};
ProgramPaths& Programs();
// Takes the --lumetta=, --instrumented=, --packaged= and --fake-dxva2= arguments;
// false on any other.
bool ReadProgramPaths(int argc, char** argv);

// The fixture of every case: when a case ends, no lumetta.exe may be left running.
class EndToEnd : public ::testing::Test {
protected:
    void TearDown() override;
};

// Polls until the condition holds or the deadline passes; true when it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD deadlineMs = kDeadlineMs);

// --- reading windows --------------------------------------------------------

std::string WindowText(HWND window);
// Every character, as the W functions give it.
std::wstring WideWindowText(HWND window);
std::string ClassName(HWND window);
RECT WindowRect(HWND window);
// Screen pixel as 0x00BBGGRR; the screen may lag a paint, so poll where it matters.
COLORREF ScreenPixel(int x, int y);
SIZE ScreenSize();

// --- a running program ------------------------------------------------------

struct StartOptions {
    // The program to start; Programs().lumetta when empty.
    std::string exe;
    // Contents of data.ini; no file at all when absent.
    bool writeDataIni = true;
    std::string dataIni;
    // Puts data.ini in place as a directory instead of a file.
    bool dataIniIsDirectory = false;
    // Extra directory levels below the scratch directory, to lengthen the working directory.
    std::filesystem::path subdirectory;
    // Runs in this existing directory instead of a scratch one; data.ini is left as it is.
    std::string existingDirectory;
    // The command line after the program's name, UTF-8, each argument quoted as given.
    std::vector<std::string> arguments;
    // Standard output goes to a pipe that Output() reads.
    bool captureOutput = false;
    // More files, by their UTF-8 paths relative to the working directory, and their bytes.
    std::vector<std::pair<std::string, std::string>> files;
};

// The test-only dxva2.dll in place of Wine's stub in the system directory, for programs
// started while it lives (with dxva2=n): their monitors live in fake-monitors.ini in the
// program's working directory.
class FakeDxva2 {
public:
    FakeDxva2();
    ~FakeDxva2();
    FakeDxva2(const FakeDxva2&) = delete;
    FakeDxva2& operator=(const FakeDxva2&) = delete;

private:
    std::string installed_;
    std::string overrides_;
};

// %LOCALAPPDATA% and %APPDATA% of the programs started while it lives: scratch folders,
// or, for local, a file in place of a folder, which no report can be written under.
class UserFolders {
public:
    explicit UserFolders(bool localIsAFile = false);
    ~UserFolders();
    UserFolders(const UserFolders&) = delete;
    UserFolders& operator=(const UserFolders&) = delete;
    std::filesystem::path local;
    std::filesystem::path roaming;

private:
    std::filesystem::path root_;
    std::wstring oldLocal_;
    std::wstring oldRoaming_;
};

// Starts the instrumented build, which answers the test queries, with this data.ini.
StartOptions Instrumented(const std::string& dataIni);

// One run of lumetta.exe. Whatever the test did, the end of the object fails the test
// if the program is still running (it is then killed) or ended with a code other than 0.
class Lumetta {
public:
    explicit Lumetta(const StartOptions& options);
    explicit Lumetta(const std::string& dataIni);
    ~Lumetta();
    Lumetta(const Lumetta&) = delete;
    Lumetta& operator=(const Lumetta&) = delete;

    bool Started() const { return process_ != nullptr; }
    // Everything the program wrote to standard output, once it has ended.
    std::string Output();
    const std::filesystem::path& WorkingDirectory() const { return directory_; }
    DWORD ProcessId() const { return processId_; }

    // A visible top-level window of the program with this class (and title, if given).
    HWND WaitForWindow(const char* className, const char* title = nullptr,
                       DWORD deadlineMs = kDeadlineMs) const;
    HWND FindWindowOf(const char* className, const char* title = nullptr) const;
    // Waits for the wizard, answering the welcome and notes messages with OK on the way.
    HWND WaitForDialog() const;
    HWND WaitForMessageBox(const char* caption) const { return WaitForWindow("#32770", caption); }
    HWND PatternWindow() const { return FindWindowOf("MONITOR"); }
    // Every top-level window of the program, visible or not.
    std::vector<HWND> Windows() const;

    // Posted, never sent: a handler may open a message box that only we can answer.
    void Press(HWND dialog, int controlId) const;
    // Selects a list entry and tells the dialog, as a user's choice would.
    void Choose(HWND dialog, int index) const;

    // Exit code, or -1 when the program did not end within the deadline (it is then killed).
    long WaitForExit(DWORD deadlineMs = kDeadlineMs);
    bool Running() const;

private:
    void Start(const StartOptions& options);
    void Launch(const std::string& exe, const StartOptions& options);

    std::filesystem::path root_;       // scratch directory, removed afterwards
    std::filesystem::path directory_;  // working directory of the program
    HANDLE process_ = nullptr;
    HANDLE output_ = nullptr;  // the pipe's reading end
    DWORD processId_ = 0;
    bool exitSeen_ = false;  // the test has been told how the program ended
};

std::vector<std::string> ComboEntries(HWND combo);
std::vector<std::wstring> WideComboEntries(HWND combo);
// Waits until the wizard's step caption reads "STEP <step> of <count>"; a count of 0
// accepts any count.
bool WaitForStep(HWND dialog, int step, int count = 0, DWORD deadlineMs = kDeadlineMs);
// Returns once the window's thread has handled every message sent to it before, so
// that a check after it sees what the program did, or did not do, in response; false
// when the window is gone or does not answer.
bool Settled(HWND window);
// The window that has the keyboard focus in the thread of the given window.
HWND FocusedWindow(HWND anyWindowOfThread);
HWND CaptureWindow(HWND anyWindowOfThread);
bool IsChecked(HWND button);
// The state (MF_GRAYED and the like) of a command in the wizard's system menu, as the
// instrumented build's pattern window answers it; ~0U when there is no such command.
UINT SystemCommandState(HWND patternWindow, UINT command);

// A real left click at a screen point, as the user's mouse gives it.
void ClickAt(int x, int y);

// Message box text (the static control 0xFFFF) and answer.
std::string MessageBoxText(HWND box);
void Answer(HWND box, int button);

// True when no process runs lumetta.exe any more.
bool NoLumettaProcess();

// The whole screen as 0x00BBGGRR values, row by row from the top; empty on failure.
std::vector<std::uint32_t> CaptureScreen();
// Any area of the virtual screen, in one go: a moving picture read pixel by pixel
// would move while it is read.
std::vector<std::uint32_t> CaptureScreen(RECT area);
// Saves the whole screen as a BMP file.
bool SaveScreen(const std::string& path);

// Windows path of a Linux one (Wine maps the Linux root to drive Z:).
std::string ToWindowsPath(std::string path);
