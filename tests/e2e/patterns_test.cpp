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

// The adjustment guide's keywords, for a 1280 x 1024 screen, clear of the wizard at the
// bottom centre.
const std::vector<KeywordStep>& GuideKeywordSteps()
{
    static const std::vector<KeywordStep> steps = {
        {"Red", {{0, 0, kRedPixel}, {640, 300, kRedPixel}, {1279, 1023, kRedPixel}}},
        {"Green", {{0, 0, RGB(0, 255, 0)}, {640, 300, RGB(0, 255, 0)}, {1279, 1023, RGB(0, 255, 0)}}},
        {"Blue", {{0, 0, kBluePixel}, {640, 300, kBluePixel}, {1279, 1023, kBluePixel}}},
        // Bands of 80 columns.
        {"BlackLevel",
         {{0, 300, Grey(0)}, {79, 0, Grey(0)}, {80, 300, Grey(1)}, {1199, 300, Grey(14)}, {1200, 300, Grey(15)},
          {1279, 1023, Grey(15)}}},
        {"WhiteLevel", {{0, 0, Grey(255)}, {80, 300, Grey(254)}, {1279, 1023, Grey(240)}}},
        // Lines in columns 0 to 639; bands start at rows 0, 204, 409, 614 and 819.
        {"Gamma",
         {{0, 0, kWhitePixel}, {0, 1, kBlackPixel}, {639, 300, kWhitePixel}, {639, 301, kBlackPixel},
          {640, 0, Grey(174)}, {1279, 203, Grey(174)}, {1279, 204, Grey(180)}, {1279, 409, Grey(186)},
          {1279, 614, Grey(191)}, {1279, 818, Grey(191)}, {1279, 819, Grey(195)}, {1279, 1023, Grey(195)}}},
        {"Checker",
         {{0, 0, kWhitePixel}, {1, 0, kBlackPixel}, {0, 1, kBlackPixel}, {640, 301, kBlackPixel},
          {641, 301, kWhitePixel}, {1278, 1023, kBlackPixel}, {1279, 1023, kWhitePixel}}},
        // Five columns per level; stripes start at rows 0, 256, 512 and 768.
        {"Gradient",
         {{0, 0, kBlackPixel}, {5, 0, Grey(1)}, {1274, 255, Grey(254)}, {1279, 0, Grey(255)},
          {640, 300, RGB(128, 0, 0)}, {1279, 256, RGB(255, 0, 0)}, {640, 600, RGB(0, 128, 0)},
          {4, 767, kBlackPixel}, {1279, 768, RGB(0, 0, 255)}, {0, 1023, kBlackPixel}}},
    };
    return steps;
}

std::string KeywordIni(const std::vector<KeywordStep>& steps, const char* welcome = nullptr,
                       const char* notes = nullptr)
{
    std::string ini = "[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=ALL,Every keyword\r\n";
    if (welcome) ini += std::string("WELCOME=") + welcome + "\r\n";
    if (notes) ini += std::string("NOTES=") + notes + "\r\n";
    ini += "[ALL]\r\nMENU_NUMBER=" + std::to_string(steps.size()) + "\r\n";
    for (size_t i = 0; i < steps.size(); ++i)
        ini += "MENU" + std::to_string(i) + "=" + steps[i].spec + ", how, " + steps[i].spec + ", seen\r\n";
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

// Next through every step, each showing its pattern on the 1280 x 1024 screen.
void WalkKeywordSteps(const Lumetta& app, HWND dialog, const std::vector<KeywordStep>& steps)
{
    const SIZE screen = ScreenSize();
    ASSERT_TRUE(screen.cx == 1280 && screen.cy == 1024);
    const int total = static_cast<int>(steps.size()) + 2;
    for (size_t i = 0; i < steps.size(); ++i) {
        app.Press(dialog, IDC_NEXT);
        ASSERT_TRUE(WaitForStep(dialog, static_cast<int>(i) + 2, total));
        ExpectPattern(steps[i], __LINE__);
    }
}

}  // namespace

using Patterns = EndToEnd;

TEST_F(Patterns, every_keyword_paints_its_pattern_and_the_last_step_hides_the_window)
{
    Lumetta app(KeywordIni(KeywordSteps(), "w", "n"));
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    HWND pattern = app.PatternWindow();
    ASSERT_TRUE(pattern != nullptr);
    ASSERT_NO_FATAL_FAILURE(WalkKeywordSteps(app, dialog, KeywordSteps()));
    const int total = static_cast<int>(KeywordSteps().size()) + 2;
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
    Lumetta app(KeywordIni(KeywordSteps()));
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
    Lumetta app(KeywordIni(KeywordSteps(), "Welcome.\\nClick OK.", "Native resolution\\nfirst."));
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
    Lumetta app(KeywordIni(KeywordSteps()));
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
    Lumetta app(KeywordIni(KeywordSteps(), "w", "n"));
    HWND welcome = app.WaitForMessageBox(kWelcomeCaption);
    ASSERT_TRUE(welcome != nullptr);
    Answer(welcome, IDCANCEL);
    EXPECT_EQ(app.WaitForExit(), 0L);
    EXPECT_TRUE(WaitUntil(NoLumettaProcess, 5000));
}

TEST_F(Patterns, guide_keywords_paint_their_patterns)
{
    Lumetta app(KeywordIni(GuideKeywordSteps()));
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    ASSERT_NO_FATAL_FAILURE(WalkKeywordSteps(app, dialog, GuideKeywordSteps()));
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}
