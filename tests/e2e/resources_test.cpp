// The resources inside lumetta.exe: the wizard's template control by control, the
// class icon and the manifest, read straight from the file.
#include "Harness.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "resource.h"
#include "version.h"

namespace {

constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

class ResourceFile {
public:
    ResourceFile() : module_(LoadLibraryExA(Programs().lumetta.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~ResourceFile() { if (module_) FreeLibrary(module_); }
    ResourceFile(const ResourceFile&) = delete;
    ResourceFile& operator=(const ResourceFile&) = delete;

    // Bytes of a resource, or empty when it is missing.
    std::string Find(LPCSTR type, LPCSTR name, WORD language) const
    {
        HRSRC found = module_ ? FindResourceExA(module_, type, name, language) : nullptr;
        if (found == nullptr) return {};
        HGLOBAL data = LoadResource(module_, found);
        return std::string(static_cast<const char*>(LockResource(data)), SizeofResource(module_, found));
    }

private:
    HMODULE module_;
};

// Reads a dialog template the way the dialog manager does.
class TemplateReader {
public:
    explicit TemplateReader(const std::string& bytes) : bytes_(bytes) {}
    WORD Word() { return Take<WORD>(); }
    DWORD Dword() { return Take<DWORD>(); }
    short Short() { return Take<short>(); }
    BYTE Byte() { return Take<BYTE>(); }
    void AlignDword() { at_ = (at_ + 3) & ~size_t{3}; }
    bool Overrun() const { return overrun_; }

    // A name or an ordinal; ordinals come back as "#<number>".
    std::string NameOrOrdinal()
    {
        const WORD first = Word();
        if (first == 0) return "";
        if (first == 0xFFFF) return "#" + std::to_string(Word());
        std::string text(1, static_cast<char>(first));
        return text + String();
    }
    std::string String()
    {
        std::string text;
        for (WORD c = Word(); c != 0 && !overrun_; c = Word()) text += static_cast<char>(c);
        return text;
    }

private:
    template <typename T>
    T Take()
    {
        T value{};
        if (at_ + sizeof value > bytes_.size()) {
            overrun_ = true;
            return value;
        }
        std::memcpy(&value, bytes_.data() + at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    const std::string& bytes_;
    size_t at_ = 0;
    bool overrun_ = false;
};

// The dialog manager takes a class by ordinal or by name in any case.
std::string ClassOrdinalName(const std::string& name)
{
    if (name == "#128") return "BUTTON";
    if (name == "#130") return "STATIC";
    if (name == "#133") return "COMBOBOX";
    std::string upper = name;
    CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    return upper;
}

}  // namespace

using Resources = EndToEnd;

TEST_F(Resources, dialog_template_matches_the_wizard_layout)
{
    ResourceFile file;
    const std::string bytes = file.Find(RT_DIALOG, "IDD_DLG_SETUP", kEnglishUs);
    ASSERT_TRUE(!bytes.empty());
    TemplateReader in(bytes);
    EXPECT_EQ(in.Word(), WORD{1});       // extended template
    EXPECT_EQ(in.Word(), WORD{0xFFFF});
    EXPECT_EQ(in.Dword(), DWORD{0});     // help id
    EXPECT_EQ(in.Dword(), DWORD{0});     // extended styles
    EXPECT_EQ(in.Dword(), DWORD{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT});
    const WORD count = in.Word();
    EXPECT_EQ(count, WORD{13});
    EXPECT_EQ(in.Short(), short{0});
    EXPECT_EQ(in.Short(), short{0});
    EXPECT_EQ(in.Short(), short{345});
    EXPECT_EQ(in.Short(), short{116});
    EXPECT_EQ(in.NameOrOrdinal(), std::string());  // menu
    EXPECT_EQ(in.NameOrOrdinal(), std::string());  // window class
    EXPECT_EQ(in.String(), std::string("Lumetta"));
    EXPECT_EQ(in.Word(), WORD{8});                 // points
    EXPECT_EQ(in.Word(), WORD{0});                 // weight
    EXPECT_EQ(in.Byte(), BYTE{0});                 // italic
    EXPECT_EQ(in.Byte(), BYTE{0});                 // character set
    EXPECT_EQ(in.String(), std::string("MS Sans Serif"));

    struct Control {
        int id;
        const char* className;
        DWORD style;
        const char* caption;
        short x, y, width, height;
    };
    const DWORD kStatic = WS_CHILD | WS_VISIBLE | WS_GROUP;
    const DWORD kTabStop = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    const Control expected[] = {
        {IDC_PATTERN_LABEL, "Static", kStatic | SS_RIGHT, "Pattern :", 55, 83, 33, 10},
        {IDC_MODEL_COMBO, "ComboBox", kTabStop | CBS_DROPDOWNLIST | WS_VSCROLL, "", 93, 82, 168, 51},
        {IDC_NEXT, "Button", kTabStop | BS_DEFPUSHBUTTON, "&Next   >>", 180, 97, 46, 18},
        {IDC_QUIT, "Button", kTabStop | BS_PUSHBUTTON, "&Quit", 272, 97, 45, 18},
        {IDC_PREVIOUS, "Button", kTabStop | BS_PUSHBUTTON, "<<  &Previous", 125, 97, 47, 18},
        {IDC_STEP, "Static", kStatic | SS_LEFT, "STEP  ?", 2, 1, 65, 8},
        {IDC_PURPOSE_LABEL, "Static", kStatic | SS_RIGHT, "Purpose:", 0, 11, 59, 9},
        {IDC_HOWTO_LABEL, "Static", kStatic | SS_RIGHT, "Do the following:", 0, 29, 59, 9},
        {IDC_SEEN_LABEL, "Static", kStatic | SS_RIGHT, "What is seen?", 0, 20, 59, 9},
        {IDC_PURPOSE, "Static", kStatic | SS_LEFT, "???? will be replaced ????", 62, 11, 276, 9},
        {IDC_SEEN, "Static", kStatic | SS_LEFT, "???? will be replaced ????", 62, 20, 275, 9},
        {IDC_HOWTO, "Static", kStatic | SS_LEFT, "Static", 61, 29, 272, 52},
        {IDC_HIDE, "Button",
         kTabStop | BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_CENTER | BS_VCENTER, "Hide Window", 28, 97, 59, 18},
    };
    for (const Control& control : expected) {
        in.AlignDword();
        EXPECT_EQ(in.Dword(), DWORD{0});  // help id
        EXPECT_EQ(in.Dword(), DWORD{0});  // extended styles
        EXPECT_EQ(in.Dword(), control.style);
        EXPECT_EQ(in.Short(), control.x);
        EXPECT_EQ(in.Short(), control.y);
        EXPECT_EQ(in.Short(), control.width);
        EXPECT_EQ(in.Short(), control.height);
        EXPECT_EQ(in.Dword(), static_cast<DWORD>(control.id));
        EXPECT_EQ(ClassOrdinalName(in.NameOrOrdinal()), ClassOrdinalName(control.className));
        EXPECT_EQ(in.NameOrOrdinal(), std::string(control.caption));
        const WORD extra = in.Word();
        for (WORD i = 0; i < extra; ++i) in.Byte();
    }
    EXPECT_TRUE(!in.Overrun());
}

TEST_F(Resources, class_icon_is_a_32_pixel_16_colour_picture)
{
    ResourceFile file;
    const std::string group = file.Find(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_MONITOR), kEnglishUs);
    // GRPICONDIR: reserved, type 1, count, then 14-byte entries.
    ASSERT_TRUE(group.size() >= 6 + 14);
    const auto* entry = reinterpret_cast<const BYTE*>(group.data()) + 6;
    EXPECT_EQ(static_cast<int>(entry[0]), 32);  // width
    EXPECT_EQ(static_cast<int>(entry[1]), 32);  // height
    EXPECT_EQ(static_cast<int>(entry[2]), 16);  // colours
    WORD bitCount = 0;
    std::memcpy(&bitCount, entry + 6, sizeof bitCount);
    EXPECT_EQ(bitCount, WORD{4});

    HICON icon = LoadIconA(LoadLibraryExA(Programs().lumetta.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE),
                           MAKEINTRESOURCEA(IDI_MONITOR));
    EXPECT_TRUE(icon != nullptr);
}

TEST_F(Resources, manifest_declares_dpi_awareness_and_keeps_classic_controls)
{
    ResourceFile file;
    const std::string manifest = file.Find(RT_MANIFEST, MAKEINTRESOURCEA(1), kEnglishUs);
    ASSERT_TRUE(!manifest.empty());
    // Per-monitor v2, else per-monitor; Windows before 10 1607 read only dpiAware, where
    // true/pm is per-monitor on 8.1 and system aware before it. An element in another
    // namespace would be ignored without a word.
    EXPECT_TRUE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                         "PerMonitorV2, PerMonitor</dpiAwareness>") != std::string::npos);
    EXPECT_TRUE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">"
                         "true/pm</dpiAware>") != std::string::npos);
    EXPECT_TRUE(manifest.find("Common-Controls") == std::string::npos);
    EXPECT_TRUE(manifest.find("<dependency") == std::string::npos);
}

TEST_F(Resources, manifest_lists_the_windows_versions_it_was_built_for)
{
    ResourceFile file;
    const std::string manifest = file.Find(RT_MANIFEST, MAKEINTRESOURCEA(1), kEnglishUs);
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("urn:schemas-microsoft-com:compatibility.v1"), std::string::npos);
    const char* const systems[] = {
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
    };
    for (const char* id : systems) {
        EXPECT_NE(manifest.find("<supportedOS Id=\"" + std::string(id) + "\"/>"), std::string::npos) << id;
    }
}

// What Windows shows in the file's Properties, read the way Windows reads it.
TEST_F(Resources, version_resource_names_the_product_and_the_project_version)
{
    const char* exe = Programs().lumetta.c_str();
    DWORD unused = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(exe, &unused));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoA(exe, 0, static_cast<DWORD>(info.size()), info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    const DWORD major = MAKELONG(LUMETTA_VERSION_MINOR, LUMETTA_VERSION_MAJOR);
    const DWORD minor = MAKELONG(0, LUMETTA_VERSION_PATCH);
    EXPECT_EQ(fixed->dwFileVersionMS, major);
    EXPECT_EQ(fixed->dwFileVersionLS, minor);
    EXPECT_EQ(fixed->dwProductVersionMS, major);
    EXPECT_EQ(fixed->dwProductVersionLS, minor);
    EXPECT_EQ(fixed->dwFileType, DWORD{VFT_APP});

    struct Translation {
        WORD language;
        WORD codePage;
    }* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_GE(length, sizeof *translation);
    EXPECT_EQ(translation->language, kEnglishUs);
    auto text = [&](const char* name) {
        char path[96];
        std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", translation->language,
                      translation->codePage, name);
        char* value = nullptr;
        UINT size = 0;
        return VerQueryValueA(info.data(), path, reinterpret_cast<void**>(&value), &size) && value ? std::string(value)
                                                                                                    : std::string();
    };
    EXPECT_EQ(text("ProductName"), "Lumetta");
    EXPECT_EQ(text("FileVersion"), LUMETTA_VERSION_TEXT);
    EXPECT_EQ(text("ProductVersion"), LUMETTA_VERSION_TEXT);
    EXPECT_EQ(text("OriginalFilename"), "lumetta.exe");
    EXPECT_NE(text("FileDescription").find("monitor adjustment"), std::string::npos);
    EXPECT_EQ(text("LegalCopyright").rfind("Copyright", 0), 0u);
}
