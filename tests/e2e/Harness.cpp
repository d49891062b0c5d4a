#include "Harness.h"

#include <tlhelp32.h>

#include "resource.h"

#include <fstream>
#include <string_view>
#include <utility>

namespace {

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId) search->found.push_back(window);
    return TRUE;
}

}  // namespace

ProgramPaths& Programs()
{
    static ProgramPaths paths;
    return paths;
}

bool ReadProgramPaths(int argc, char** argv)
{
    const std::pair<std::string_view, std::string*> options[] = {
        {"--lumetta=", &Programs().lumetta},
        {"--instrumented=", &Programs().instrumented},
        {"--packaged=", &Programs().packaged},
        {"--fake-dxva2=", &Programs().fakeDxva2},
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        bool known = false;
        for (const auto& [prefix, path] : options) {
            if (!argument.starts_with(prefix)) continue;
            *path = ToWindowsPath(std::string(argument.substr(prefix.size())));
            known = true;
        }
        if (!known) return false;
    }
    return true;
}

void EndToEnd::TearDown()
{
    EXPECT_TRUE(WaitUntil(NoLumettaProcess, 5000)) << "a lumetta.exe is still running";
}

std::string ToWindowsPath(std::string path)
{
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD deadlineMs)
{
    const ULONGLONG end = GetTickCount64() + deadlineMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(5);
    }
}

std::string WindowText(HWND window)
{
    char text[4096] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, &length);
    return text;
}

std::wstring WideWindowText(HWND window)
{
    wchar_t text[4096] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        &length);
    return text;
}

std::string ClassName(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return pixel;
}

SIZE ScreenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

FakeDxva2::FakeDxva2()
{
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    installed_ = std::string(system) + "\\dxva2.dll";
    EXPECT_TRUE(CopyFileA(installed_.c_str(), (installed_ + ".wine").c_str(), FALSE));
    EXPECT_TRUE(CopyFileA(Programs().fakeDxva2.c_str(), installed_.c_str(), FALSE));
    const char* overrides = std::getenv("WINEDLLOVERRIDES");
    overrides_ = overrides != nullptr ? overrides : "";
    SetEnvironmentVariableA("WINEDLLOVERRIDES", (overrides_ + (overrides_.empty() ? "" : ";") + "dxva2=n").c_str());
}

FakeDxva2::~FakeDxva2()
{
    SetEnvironmentVariableA("WINEDLLOVERRIDES", overrides_.c_str());
    MoveFileExA((installed_ + ".wine").c_str(), installed_.c_str(), MOVEFILE_REPLACE_EXISTING);
}

namespace {

std::wstring Variable(const wchar_t* name)
{
    wchar_t value[MAX_PATH * 4] = {};
    GetEnvironmentVariableW(name, value, MAX_PATH * 4);
    return value;
}

}  // namespace

UserFolders::UserFolders(bool localIsAFile)
    : root_(std::filesystem::temp_directory_path() / ("lumetta-folders-" + std::to_string(GetCurrentProcessId()))),
      oldLocal_(Variable(L"LOCALAPPDATA")),
      oldRoaming_(Variable(L"APPDATA"))
{
    local = root_ / "Local";
    roaming = root_ / "Roaming";
    std::filesystem::create_directories(roaming);
    if (localIsAFile)
        std::ofstream(local) << "not a folder";
    else
        std::filesystem::create_directories(local);
    SetEnvironmentVariableW(L"LOCALAPPDATA", local.c_str());
    SetEnvironmentVariableW(L"APPDATA", roaming.c_str());
}

UserFolders::~UserFolders()
{
    SetEnvironmentVariableW(L"LOCALAPPDATA", oldLocal_.c_str());
    SetEnvironmentVariableW(L"APPDATA", oldRoaming_.c_str());
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

StartOptions Instrumented(const std::string& dataIni)
{
    StartOptions options;
    options.exe = Programs().instrumented;
    options.dataIni = dataIni;
    return options;
}

Lumetta::Lumetta(const StartOptions& options) { Start(options); }

Lumetta::Lumetta(const std::string& dataIni)
{
    StartOptions options;
    options.dataIni = dataIni;
    Start(options);
}

void Lumetta::Start(const StartOptions& options)
{
    const std::string exe = options.exe.empty() ? Programs().lumetta : options.exe;
    if (!options.existingDirectory.empty()) {
        directory_ = options.existingDirectory;
        Launch(exe, options);
        return;
    }
    static int serial = 0;
    root_ = std::filesystem::temp_directory_path() /
            ("lumetta-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial));
    directory_ = root_ / options.subdirectory;
    std::filesystem::create_directories(directory_);
    const std::filesystem::path dataIni = directory_ / "data.ini";
    if (options.dataIniIsDirectory) {
        std::filesystem::create_directory(dataIni);
    } else if (options.writeDataIni) {
        std::ofstream(dataIni, std::ios::binary) << options.dataIni;
    }
    for (const auto& [name, bytes] : options.files) {
        const std::filesystem::path path = directory_ / std::filesystem::path(reinterpret_cast<const char8_t*>(name.c_str()));
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    Launch(exe, options);
}

namespace {

std::wstring Wide(const std::string& utf8)
{
    std::wstring wide(utf8.size() + 1, L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), static_cast<int>(wide.size())) - 1));
    return wide;
}

}  // namespace

void Lumetta::Launch(const std::string& exe, const StartOptions& options)
{
    std::wstring commandLine = L"\"" + Wide(exe) + L"\"";
    for (const std::string& argument : options.arguments) commandLine += L" \"" + Wide(argument) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    HANDLE write = nullptr;
    if (options.captureOutput) {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        constexpr DWORD kPipeBytes = 1 << 20;  // more than the program ever says: it never waits on the pipe
        CreatePipe(&output_, &write, &inherit, kPipeBytes);
        SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = write;
    }
    PROCESS_INFORMATION info = {};
    const std::wstring directory = directory_.wstring();
    const BOOL made = CreateProcessW(Wide(exe).c_str(), commandLine.data(), nullptr, nullptr, options.captureOutput,
                                     0, nullptr, directory.c_str(), &startup, &info);
    if (write != nullptr) CloseHandle(write);
    if (!made) {
        ADD_FAILURE() << "CreateProcess " << exe << " in " << directory_.string() << " failed, error " << GetLastError();
        return;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
}

std::string Lumetta::Output()
{
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (output_ != nullptr && ReadFile(output_, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    return text;
}

Lumetta::~Lumetta()
{
    if (output_ != nullptr) CloseHandle(output_);
    if (process_ != nullptr) {
        if (Running()) {
            ADD_FAILURE() << "lumetta.exe was still running at the end of the test; killed";
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, kDeadlineMs);
        } else if (DWORD code = 0; !exitSeen_ && GetExitCodeProcess(process_, &code) && code != 0) {
            ADD_FAILURE() << "lumetta.exe ended with exit code " << code;
        }
        CloseHandle(process_);
    }
    if (root_.empty()) return;
    // The process may hold the directory a moment longer under Wine.
    WaitUntil([&] {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
        return !std::filesystem::exists(root_, ignored);
    }, 2000);
}

std::vector<HWND> Lumetta::Windows() const
{
    WindowSearch search{processId_, {}};
    if (process_ != nullptr) EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Lumetta::FindWindowOf(const char* className, const char* title) const
{
    for (HWND window : Windows()) {
        if (!IsWindowVisible(window) || ClassName(window) != className) continue;
        if (title != nullptr && WindowText(window) != title) continue;
        return window;
    }
    return nullptr;
}

HWND Lumetta::WaitForWindow(const char* className, const char* title, DWORD deadlineMs) const
{
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindWindowOf(className, title)) != nullptr; }, deadlineMs);
    return window;
}

HWND Lumetta::WaitForDialog() const
{
    HWND dialog = nullptr;
    WaitUntil([&] {
        for (const char* caption : {kWelcomeCaption, kNotesCaption})
            if (HWND box = FindWindowOf("#32770", caption)) Answer(box, IDOK);
        return (dialog = FindWindowOf("#32770", "Lumetta")) != nullptr;
    });
    return dialog;
}

void Lumetta::Press(HWND dialog, int controlId) const
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, controlId)));
}

void Lumetta::Choose(HWND dialog, int index) const
{
    HWND combo = GetDlgItem(dialog, IDC_MODEL_COMBO);
    PostMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_MODEL_COMBO, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

bool Lumetta::Running() const
{
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

long Lumetta::WaitForExit(DWORD deadlineMs)
{
    if (process_ == nullptr) return -1;
    if (WaitForSingleObject(process_, deadlineMs) != WAIT_OBJECT_0) {
        TerminateProcess(process_, 1);
        exitSeen_ = true;
        WaitForSingleObject(process_, kDeadlineMs);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    exitSeen_ = true;
    return static_cast<long>(code);
}

std::vector<std::wstring> WideComboEntries(HWND combo)
{
    std::vector<std::wstring> entries;
    DWORD_PTR count = 0;
    SendMessageTimeoutA(combo, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
    // The wide form: Wine hands the narrow one across processes as its first character only.
    for (DWORD_PTR i = 0; i < count && i < 1000; ++i) {
        wchar_t text[4096] = {};
        DWORD_PTR length = 0;
        SendMessageTimeoutW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                            &length);
        entries.push_back(text);
    }
    return entries;
}

std::vector<std::string> ComboEntries(HWND combo)
{
    std::vector<std::string> entries;
    for (const std::wstring& wide : WideComboEntries(combo)) {
        std::string narrow;
        for (const wchar_t c : wide) narrow += static_cast<char>(c);
        entries.push_back(narrow);
    }
    return entries;
}

bool WaitForStep(HWND dialog, int step, int count, DWORD deadlineMs)
{
    const std::string expected = "STEP " + std::to_string(step) + " of " + (count ? std::to_string(count) : "");
    return WaitUntil([&] {
        const std::string caption = WindowText(GetDlgItem(dialog, IDC_STEP));
        return count ? caption == expected : caption.rfind(expected, 0) == 0;
    }, deadlineMs);
}

bool Settled(HWND window)
{
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, 5000, &ignored) != 0;
}

namespace {
GUITHREADINFO ThreadInfo(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info;
}
}  // namespace

HWND FocusedWindow(HWND anyWindowOfThread) { return ThreadInfo(anyWindowOfThread).hwndFocus; }
HWND CaptureWindow(HWND anyWindowOfThread) { return ThreadInfo(anyWindowOfThread).hwndCapture; }

bool IsChecked(HWND button)
{
    DWORD_PTR state = 0;
    SendMessageTimeoutA(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
    return state == BST_CHECKED;
}

UINT SystemCommandState(HWND patternWindow, UINT command)
{
    static const UINT query = RegisterWindowMessageA("Lumetta.SystemCommandState");
    DWORD_PTR state = ~DWORD_PTR{0};
    SendMessageTimeoutA(patternWindow, query, command, 0, SMTO_ABORTIFHUNG, 5000, &state);
    return static_cast<UINT>(state);
}

void ClickAt(int x, int y)
{
    SetCursorPos(x, y);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
}

std::string MessageBoxText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }

void Answer(HWND box, int button) { PostMessageA(box, WM_COMMAND, button, 0); }

bool NoLumettaProcess()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, "lumetta.exe") == 0) found = true;
    CloseHandle(snapshot);
    return !found;
}

// The screen as 0x00BBGGRR values, row by row.
std::vector<std::uint32_t> CaptureScreen()
{
    const SIZE size = ScreenSize();
    return CaptureScreen({0, 0, size.cx, size.cy});
}

std::vector<std::uint32_t> CaptureScreen(RECT area)
{
    const SIZE size = {area.right - area.left, area.bottom - area.top};
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<std::uint32_t> pixels;
    if (bitmap != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, size.cx, size.cy, screen, area.left, area.top, SRCCOPY);
        GdiFlush();
        const auto* bgra = static_cast<const std::uint32_t*>(bits);
        pixels.resize(static_cast<size_t>(size.cx) * size.cy);
        for (size_t i = 0; i < pixels.size(); ++i) {
            const std::uint32_t p = bgra[i] & 0xFFFFFF;  // 0x00RRGGBB
            pixels[i] = ((p & 0xFF) << 16) | (p & 0xFF00) | (p >> 16);
        }
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

bool SaveScreen(const std::string& path)
{
    const SIZE size = ScreenSize();
    const std::vector<std::uint32_t> pixels = CaptureScreen();
    if (pixels.empty()) return false;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = size.cx;
    header.biHeight = -size.cy;  // top-down, as captured
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(pixels.size() * sizeof pixels[0]);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    for (std::uint32_t p : pixels) {
        const std::uint32_t bgrx = ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
        out.write(reinterpret_cast<const char*>(&bgrx), sizeof bgrx);
    }
    return out.good();
}
