// data.ini in any language: UTF-8 and UTF-16 files show every character through the
// wide functions; an ANSI file shows as it always did.
#include "Harness.h"
#include "resource.h"

namespace {

// French, Cyrillic, Greek and a character beyond the 16-bit range in every text.
const std::wstring kModel = L"Écran plat 24″ — Монитор Οθόνη 😀", kCaption = L"Modèle : Модель Μοντέλο 🙂";
const std::wstring kPurpose = L"Réglage de l’écran — Настройка — Ρύθμιση 🖥";
const std::wstring kHowTo = L"Appuyez sur « Auto ».\\nНажмите. Πατήστε. 👍";
const std::wstring kWelcome = L"Bienvenue ! Добро пожаловать. Καλώς ήρθατε. 🎉";
const std::wstring kIni = L"[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=P, " + kModel + L"\r\nWELCOME=" + kWelcome +
                          L"\r\n[BUTTONS]\r\nMODELS=" + kCaption + L"\r\n[P]\r\nMENU_NUMBER=1\r\nMENU0=" + kPurpose +
                          L"," + kHowTo + L",White,vu\r\n";

std::string Utf8(const std::wstring& text)
{
    std::string bytes(text.size() * 4, '\0');
    bytes.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                                     static_cast<int>(bytes.size()), nullptr, nullptr));
    return bytes;
}

void ExpectEveryTextShownExactly(const std::string& dataIni)
{
    Lumetta app(dataIni);
    HWND welcome = app.WaitForMessageBox(kWelcomeCaption);
    ASSERT_TRUE(welcome != nullptr);
    EXPECT_EQ(WideWindowText(GetDlgItem(welcome, 0xFFFF)), kWelcome);
    Answer(welcome, IDOK);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    EXPECT_EQ(WideComboEntries(GetDlgItem(dialog, IDC_MODEL_COMBO)), std::vector<std::wstring>{kModel});
    EXPECT_EQ(WideWindowText(GetDlgItem(dialog, IDC_PATTERN_LABEL)), kCaption);
    app.Choose(dialog, 0);
    ASSERT_TRUE(WaitForStep(dialog, 2, 3));
    EXPECT_EQ(WideWindowText(GetDlgItem(dialog, IDC_PURPOSE)), kPurpose);
    std::wstring howTo = kHowTo;
    EXPECT_EQ(WideWindowText(GetDlgItem(dialog, IDC_HOWTO)), howTo.replace(howTo.find(L"\\n"), 2, L"\r\n"));
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

}  // namespace

using Encoding = EndToEnd;

TEST_F(Encoding, utf8_file_shows_every_character) { ExpectEveryTextShownExactly(Utf8(kIni)); }

TEST_F(Encoding, utf16_file_shows_every_character)
{
    std::string bytes = "\xFF\xFE";
    for (const wchar_t unit : kIni) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    ExpectEveryTextShownExactly(bytes);
}

TEST_F(Encoding, ansi_file_with_code_page_1252_bytes_shows_as_before)
{
    Lumetta app("[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=P,Mod\xE8le \x80 l\x92\xE9" "cran\r\n"
                "[BUTTONS]\r\nMODELS=Mod\xE8le :\r\n[P]\r\nMENU_NUMBER=1\r\nMENU0=R\xE9glage,h,White,vu\r\n");
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    EXPECT_EQ(WideComboEntries(GetDlgItem(dialog, IDC_MODEL_COMBO)),
              std::vector<std::wstring>{L"Modèle € l’écran"});
    EXPECT_EQ(WideWindowText(GetDlgItem(dialog, IDC_PATTERN_LABEL)), L"Modèle :");
    app.Choose(dialog, 0);
    ASSERT_TRUE(WaitForStep(dialog, 2, 3));
    EXPECT_EQ(WideWindowText(GetDlgItem(dialog, IDC_PURPOSE)), L"Réglage");
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}
