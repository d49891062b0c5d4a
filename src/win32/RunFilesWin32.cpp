#include "win32/RunFilesWin32.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <iterator>

#include "config/IniFile.h"
#include "win32/WideText.h"

namespace {

// A folder that the environment names, then Lumetta's own in it.
std::filesystem::path Folder(const wchar_t* variable, const wchar_t* below)
{
    wchar_t base[MAX_PATH * 4];
    const DWORD length = GetEnvironmentVariableW(variable, base, static_cast<DWORD>(std::size(base)));
    if (length == 0 || length >= std::size(base)) return {};
    return std::filesystem::path(base) / L"Lumetta" / below;
}

// The system's own words for an error, in UTF-8, without the closing full stop.
std::string Reason(DWORD error)
{
    wchar_t text[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                   static_cast<DWORD>(std::size(text)), nullptr);
    std::string reason(Trim(Utf8OfWide(text), "\r\n. "));
    if (reason.empty()) reason = "error " + std::to_string(error);
    return reason;
}

// Write, then rename over the old one: a crash leaves the old file or the new, never half.
bool WriteWhole(const std::filesystem::path& path, std::string_view bytes, std::string& why)
{
    std::error_code made;
    std::filesystem::create_directories(path.parent_path(), made);
    const std::filesystem::path temporary = path.wstring() + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        why = Reason(GetLastError());
        return false;
    }
    DWORD written = 0;
    const bool whole = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                       written == bytes.size() && FlushFileBuffers(file);
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (!whole || !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        why = Reason(whole ? GetLastError() : error);
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

std::filesystem::path SavedSettingsFile() { return Folder(L"APPDATA", L"monitors.ini"); }

class Files final : public RunFiles {
public:
    void Now(std::span<char> shown, std::span<char> stamp) override
    {
        SYSTEMTIME now = {};
        GetLocalTime(&now);
        std::snprintf(shown.data(), shown.size(), "%04u-%02u-%02u %02u:%02u", now.wYear, now.wMonth, now.wDay,
                      now.wHour, now.wMinute);
        std::snprintf(stamp.data(), stamp.size(), "%04u-%02u-%02u %02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                      now.wMinute);
    }
    std::string ToUtf8(const char* text, TextEncoding encoding) override
    {
        if (encoding == TextEncoding::Utf8) return text;
        return Utf8OfWide(WideText(text, encoding).Get());
    }
    bool SaveReport(std::string_view fileName, std::string_view html, std::string& whereOrWhy) override
    {
        const std::filesystem::path folder = Folder(L"LOCALAPPDATA", L"Reports");
        if (folder.empty()) {
            whereOrWhy = "the local application data folder is not known";
            return false;
        }
        const std::filesystem::path path = folder / WideOfUtf8(std::string(fileName).c_str());
        if (!WriteWhole(path, html, whereOrWhy)) return false;
        whereOrWhy = Utf8OfWide(path.c_str());
        return true;
    }
    std::string ReadSavedSettings() override { return ReadSavedSettingsFile(); }
    bool WriteSavedSettings(std::string_view text) override
    {
        const std::filesystem::path path = SavedSettingsFile();
        std::string why;
        return !path.empty() && WriteWhole(path, text, why);
    }
};

}  // namespace

RunFiles& Win32RunFiles()
{
    static Files files;
    return files;
}

std::string ReadSavedSettingsFile()
{
    const std::filesystem::path path = SavedSettingsFile();
    return path.empty() ? std::string() : ReadFileBytes(path, kMaxSavedFileBytes);
}
