#include "win32/CommandLineIo.h"

#include <windows.h>

#include "win32/SystemDll.h"
#include "win32/WideText.h"

std::vector<std::string> ReadArguments()
{
    // shell32 is looked up, not imported, like every DLL the program does not always need.
    using SplitFn = LPWSTR*(WINAPI*)(LPCWSTR, int*);
    const auto split = LookUp<SplitFn>(LoadSystemDll(L"shell32.dll"), "CommandLineToArgvW");
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* words = split != nullptr ? split(GetCommandLineW(), &count) : nullptr;
    if (words == nullptr) return arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(Utf8OfWide(words[i]));
    LocalFree(words);
    return arguments;
}

void SayToUser(std::string_view utf8)
{
    const std::string text(utf8);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const DWORD type = out != nullptr && out != INVALID_HANDLE_VALUE ? GetFileType(out) : FILE_TYPE_UNKNOWN;
    if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) {
        DWORD written = 0;
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const std::wstring wide = WideOfUtf8(text.c_str());
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        HANDLE console = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (console != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteConsoleW(console, wide.c_str(), static_cast<DWORD>(wide.size()), &written, nullptr);
            CloseHandle(console);
            FreeConsole();
            return;
        }
        FreeConsole();
    }
    MessageBoxW(nullptr, wide.c_str(), L"Lumetta", MB_OK);
}
