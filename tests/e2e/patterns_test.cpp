// The paint cycle on the real pattern window: the start-up messages, every keyword's
// pattern on the screen, and the pattern window hidden at the last step.
#include "Harness.h"

#include "resource.h"

namespace {

constexpr COLORREF kWhitePixel = RGB(255, 255, 255);
constexpr COLORREF kBlackPixel = RGB(0, 0, 0);
constexpr COLORREF kRedPixel = RGB(255, 0, 0);
constexpr COLORREF kBluePixel = RGB(0, 0, 255);
constexpr COLORREF Grey(int level) { return RGB(level, level, level); }

struct Probe {
    int x, y;
    COLORREF colour;
};

struct KeywordStep {
    const char* spec;
    std::vector<Probe> probes;  // for a 1280 x 1024 screen, clear of the wizard
};

const std::vector<KeywordStep>& KeywordSteps()
{
    static const std::vector<KeywordStep> steps = {
        {"Black", {{640, 300, kBlackPixel}, {0, 0, kBlackPixel}}},
        {"White", {{0, 0, kBlackPixel}, {1, 1, kWhitePixel}, {640, 300, kWhitePixel}, {1279, 300, kBlackPixel}}},
        {"Border",
         {{0, 0, kWhitePixel}, {1, 300, kWhitePixel}, {2, 300, kBlackPixel}, {1278, 300, kWhitePixel},
          {640, 1, kWhitePixel}, {640, 2, kBlackPixel}, {640, 300, kBlackPixel}}},
        {"VLines", {{100, 300, kWhitePixel}, {101, 300, kBlackPixel}, {0, 300, kBluePixel}, {1279, 300, kBluePixel}}},
        {"V3Lines", {{102, 300, kWhitePixel}, {104, 300, kWhitePixel}, {105, 300, kBlackPixel}, {1, 300, kBluePixel}}},
        {"HLines", {{300, 100, kRedPixel}, {300, 101, kBlackPixel}, {300, 0, kRedPixel}}},
        {"CLines",
         {{250, 300, RGB(100, 0, 0)}, {258, 300, RGB(95, 5, 0)}, {660, 300, RGB(0, 255, 0)},
          {915, 300, RGB(0, 95, 5)}, {1275, 300, RGB(0, 0, 230)}}},
        {"CHatch",
         {{640, 300, kWhitePixel}, {641, 300, kBlackPixel}, {1279, 300, kWhitePixel}, {300, 0, kWhitePixel},
          {300, 1, kBlackPixel}, {300, 512, kWhitePixel}}},
        {"C4Hatch", {{320, 300, kWhitePixel}, {321, 300, kBlackPixel}, {960, 300, kWhitePixel}, {300, 256, kWhitePixel}}},
        {"Plaid", {{640, 300, kBlackPixel}, {0, 0, kBlackPixel}, {100, 300, kBlackPixel}}},
        {"GLines",
         {{20, 300, Grey(255)}, {40, 300, Grey(250)}, {640, 300, Grey(130)}, {1277, 300, kBlackPixel}}},
        {"Gray", {{640, 300, Grey(128)}, {0, 0, Grey(128)}}},
        {"Gray64", {{640, 300, Grey(64)}, {1279, 0, Grey(64)}}},
    };
    return steps;
}

std::string KeywordIni(const char* welcome, const char* notes)
{
    std::string ini = "[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=ALL,Every keyword\r\n";
    if (welcome) ini += std::string("WELCOME=") + welcome + "\r\n";
    if (notes) ini += std::string("NOTES=") + notes + "\r\n";
    ini += "[ALL]\r\nMENU_NUMBER=" + std::to_string(KeywordSteps().size()) + "\r\n";
    for (size_t i = 0; i < KeywordSteps().size(); ++i)
        ini += "MENU" + std::to_string(i) + "=" + KeywordSteps()[i].spec + ", how, " + KeywordSteps()[i].spec + ", seen\r\n";
    return ini;
}

std::string Hex(COLORREF c)
{
    char text[16];
    wsprintfA(text, "%06lX", static_cast<unsigned long>(c));
    return text;
}

void ExpectPattern(const KeywordStep& step, int line)
{
    for (const Probe& p : step.probes) {
        const bool seen = WaitUntil([&] { return ScreenPixel(p.x, p.y) == p.colour; }, 5000);
        if (!seen) {
            ADD_FAILURE_AT(__FILE__, line) << step.spec << " at (" << p.x << ", " << p.y << "): "
                                           << Hex(ScreenPixel(p.x, p.y)) << ", expected " << Hex(p.colour);
        }
    }
}

}  // namespace

using Patterns = EndToEnd;

TEST_F(Patterns, every_keyword_paints_its_pattern_and_the_last_step_hides_the_window)
{
    Lumetta app(KeywordIni("w", "n"));
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    HWND pattern = app.PatternWindow();
    ASSERT_TRUE(pattern != nullptr);
    const SIZE screen = ScreenSize();
    ASSERT_TRUE(screen.cx == 1280 && screen.cy == 1024);
    const int total = static_cast<int>(KeywordSteps().size()) + 2;

    for (size_t i = 0; i < KeywordSteps().size(); ++i) {
        app.Press(dialog, IDC_NEXT);
        ASSERT_TRUE(WaitForStep(dialog, static_cast<int>(i) + 2, total));
        ExpectPattern(KeywordSteps()[i], __LINE__);
    }
    app.Press(dialog, IDC_NEXT);
    ASSERT_TRUE(WaitForStep(dialog, total, total));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(pattern); }));
    EXPECT_TRUE(IsWindowVisible(dialog));

    app.Press(dialog, IDC_PREVIOUS);
    ASSERT_TRUE(WaitForStep(dialog, total - 1, total));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(pattern) != FALSE; }));
    ExpectPattern(KeywordSteps().back(), __LINE__);

    // Ending at a pattern step still ends cleanly.
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
    EXPECT_TRUE(WaitUntil(NoLumettaProcess, 5000));
}

TEST_F(Patterns, a_pattern_survives_hiding_and_restoring_the_wizard)
{
    Lumetta app(KeywordIni(nullptr, nullptr));
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    for (int i = 0; i < 3; ++i) app.Press(dialog, IDC_NEXT);  // Border
    ASSERT_TRUE(WaitForStep(dialog, 4, 15));
    const KeywordStep& border = KeywordSteps()[2];
    ExpectPattern(border, __LINE__);
    PostMessageA(GetDlgItem(dialog, IDC_HIDE), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));
    // Where the wizard was, the pattern shows: black inside the frame.
    const RECT r = WindowRect(dialog);
    EXPECT_TRUE(WaitUntil([&] { return ScreenPixel((r.left + r.right) / 2, (r.top + r.bottom) / 2) == kBlackPixel; }));
    ExpectPattern(border, __LINE__);
    PostMessageA(app.PatternWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; }));
    ExpectPattern(border, __LINE__);
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

TEST_F(Patterns, welcome_and_notes_show_their_expanded_texts)
{
    Lumetta app(KeywordIni("Welcome.\\nClick OK.", "Native resolution\\nfirst."));
    HWND welcome = app.WaitForMessageBox(kWelcomeCaption);
    ASSERT_TRUE(welcome != nullptr);
    EXPECT_EQ(MessageBoxText(welcome), std::string("Welcome.\r\nClick OK."));
    EXPECT_TRUE(GetWindow(welcome, GW_OWNER) == app.PatternWindow());
    EXPECT_TRUE(GetDlgItem(welcome, IDCANCEL) != nullptr && IsWindowVisible(GetDlgItem(welcome, IDCANCEL)));
    EXPECT_TRUE(app.FindWindowOf("#32770", "Lumetta") == nullptr);  // the wizard comes after
    Answer(welcome, IDOK);
    HWND notes = app.WaitForMessageBox(kNotesCaption);
    ASSERT_TRUE(notes != nullptr);
    EXPECT_EQ(MessageBoxText(notes), std::string("Native resolution\r\nfirst."));
    HWND cancel = GetDlgItem(notes, IDCANCEL);
    EXPECT_TRUE(cancel == nullptr || !IsWindowVisible(cancel));
    Answer(notes, IDOK);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

TEST_F(Patterns, missing_welcome_and_notes_still_show_empty_boxes)
{
    Lumetta app(KeywordIni(nullptr, nullptr));
    HWND welcome = app.WaitForMessageBox(kWelcomeCaption);
    ASSERT_TRUE(welcome != nullptr);
    EXPECT_EQ(MessageBoxText(welcome), std::string());
    Answer(welcome, IDOK);
    HWND notes = app.WaitForMessageBox(kNotesCaption);
    ASSERT_TRUE(notes != nullptr);
    EXPECT_EQ(MessageBoxText(notes), std::string());
    Answer(notes, IDOK);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

TEST_F(Patterns, cancel_in_the_welcome_ends_the_program_before_the_wizard)
{
    Lumetta app(KeywordIni("w", "n"));
    HWND welcome = app.WaitForMessageBox(kWelcomeCaption);
    ASSERT_TRUE(welcome != nullptr);
    Answer(welcome, IDCANCEL);
    EXPECT_EQ(app.WaitForExit(), 0L);
    EXPECT_TRUE(WaitUntil(NoLumettaProcess, 5000));
}
