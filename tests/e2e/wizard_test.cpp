// The wizard as a user drives it: every step's texts, buttons, position and focus,
// hiding and bringing it back, the cursor position, and the model choice.
#include "Harness.h"

#include "resource.h"

namespace {

const char kIni[] =
    "[MODELS]\r\nMODEL_NUMBER=2\r\nMODEL0=PANEL17, Flat panel 17 inch\r\nMODEL1=PANEL19,Flat panel 19 inch\r\n"
    "PURPOSE1=Choose the model of your monitor.\r\nHOWTO1=Select your model.\\nThen click Next.\r\n"
    "[BUTTONS]\r\nMODELS=Model :\r\nNEXT=&Next   >>\r\nQUIT=&Quit\r\nBACK=<<  &Previous\r\n"
    "WHY=Purpose:\r\nHOW=Do the following:\r\nWHAT=What is seen?\r\nHIDE=Hide Window\r\n"
    "[PANEL17]\r\nMENU_NUMBER=3\r\n"
    "MENU0=Screen position, Press auto-adjust.\\nWait., Border, A thin frame\r\n"
    "MENU1=Grey levels, Set the contrast., GLines, Grey bars\r\n"
    "MENU2=Sharpness, Adjust clock and phase., V2Lines, Fine lines, no shimmer\r\n"
    "[PANEL19]\r\nMENU_NUMBER=1\r\nMENU0=Only step, Do it., Border, Frame\r\n";

struct StepView {
    const char* caption;
    const char* purpose;  // nullptr: hidden with its label
    const char* howTo;
    const char* seen;     // nullptr: hidden with its label
    bool previous, next, combo;
    const char* quit;
    enum { Centred, BottomCentre, Unchanged } position;
    int focus;  // 0: any control of the dialog
};

class WizardView {
public:
    explicit WizardView(Lumetta& app) : app_(app), dialog_(app.WaitForDialog())
    {
        if (dialog_ == nullptr) return;
        const RECT r = WindowRect(dialog_);
        size_ = {r.right - r.left, r.bottom - r.top};
        last_ = r;
    }
    HWND Dialog() const { return dialog_; }
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    std::string Text(int id) const { return WindowText(Item(id)); }

    void Expect(const StepView& view, int line)
    {
        const std::string where = " (step view at line " + std::to_string(line) + ")";
        const bool reached = WaitUntil([&] { return Text(IDC_STEP) == view.caption; }, 5000);
        auto same = [&](bool ok, const std::string& what) {
            if (!ok) ADD_FAILURE_AT(__FILE__, line) << what << where;
        };
        same(reached, "caption " + Text(IDC_STEP) + " becomes " + view.caption);
        same(IsWindowVisible(Item(IDC_PURPOSE)) == (view.purpose != nullptr), "purpose visibility");
        same(IsWindowVisible(Item(IDC_PURPOSE_LABEL)) == (view.purpose != nullptr), "purpose label visibility");
        same(IsWindowVisible(Item(IDC_HOWTO_LABEL)) == (view.purpose != nullptr), "how-to label visibility");
        same(IsWindowVisible(Item(IDC_HOWTO)), "how-to visible");
        same(IsWindowVisible(Item(IDC_SEEN)) == (view.seen != nullptr), "seen visibility");
        same(IsWindowVisible(Item(IDC_SEEN_LABEL)) == (view.seen != nullptr), "seen label visibility");
        if (view.purpose) same(Text(IDC_PURPOSE) == view.purpose, "purpose text \"" + Text(IDC_PURPOSE) + "\"");
        same(Text(IDC_HOWTO) == view.howTo, "how-to text \"" + Text(IDC_HOWTO) + "\"");
        if (view.seen) same(Text(IDC_SEEN) == view.seen, "seen text \"" + Text(IDC_SEEN) + "\"");
        same(IsWindowEnabled(Item(IDC_PREVIOUS)) == view.previous, "Previous enabled");
        same(IsWindowEnabled(Item(IDC_NEXT)) == view.next, "Next enabled");
        same(IsWindowEnabled(Item(IDC_MODEL_COMBO)) == view.combo, "model list enabled");
        same(IsWindowEnabled(Item(IDC_QUIT)) != FALSE, "Quit enabled");
        same(IsWindowEnabled(Item(IDC_HIDE)) != FALSE, "Hide enabled");
        same(Text(IDC_QUIT) == view.quit, "Quit caption \"" + Text(IDC_QUIT) + "\"");
        const SIZE screen = ScreenSize();
        const RECT r = WindowRect(dialog_);
        RECT expected = last_;
        if (view.position == StepView::Centred)
            expected = Placed((screen.cx - size_.cx) / 2, (screen.cy - size_.cy) / 2);
        else if (view.position == StepView::BottomCentre)
            expected = Placed((screen.cx - size_.cx) / 2, screen.cy - size_.cy - 50);
        // The last step grows by the line about its report: its corner is what stays.
        same(r.left == expected.left && r.top == expected.top,
             "dialog at (" + std::to_string(r.left) + ", " + std::to_string(r.top) + "), expected (" +
                 std::to_string(expected.left) + ", " + std::to_string(expected.top) + ")");
        last_ = r;
        const bool focused = WaitUntil([&] {
            HWND focus = FocusedWindow(dialog_);
            return view.focus == 0 ? IsChild(dialog_, focus) != FALSE : focus == Item(view.focus);
        }, 2000);
        same(focused, "focus on control " + std::to_string(view.focus) + ", not " +
                          std::to_string(GetDlgCtrlID(FocusedWindow(dialog_))));
    }

private:
    RECT Placed(int x, int y) const { return {x, y, x + size_.cx, y + size_.cy}; }
    Lumetta& app_;
    HWND dialog_;
    SIZE size_{};
    RECT last_{};
};

#define EXPECT_STEP(wizard, ...) wizard.Expect(StepView{__VA_ARGS__}, __LINE__)

const char* const kFirstPurpose = "Choose the model of your monitor.";
const char* const kFirstHowTo = "Select your model.\r\nThen click Next.";
const char* const kLastHowTo = "Adjustments are complete. Click on Finish button.";

}  // namespace

using Wizard = EndToEnd;

TEST_F(Wizard, walking_a_model_to_finish_and_back)
{
    Lumetta app(kIni);
    WizardView wizard(app);
    ASSERT_TRUE(wizard.Dialog() != nullptr);
    HWND dialog = wizard.Dialog();
    EXPECT_STEP(wizard, "STEP 1 of ?", kFirstPurpose, kFirstHowTo, nullptr, false, true, true, "&Quit",
                StepView::Centred, IDC_MODEL_COMBO);
    // A monitor that tells nothing of itself leaves step 1 the template's, as tall as a
    // pattern step without settings.
    const RECT first = WindowRect(dialog);
    EXPECT_EQ(GetDlgItem(dialog, IDC_STEP_LINE), nullptr);
    app.Press(dialog, IDC_NEXT);
    EXPECT_STEP(wizard, "STEP 2 of 5", "Screen position", "Press auto-adjust.\r\nWait.", "A thin frame", true, true,
                false, "&Quit", StepView::BottomCentre, IDC_NEXT);
    EXPECT_EQ(WindowRect(dialog).bottom - WindowRect(dialog).top, first.bottom - first.top);
    app.Press(dialog, IDC_NEXT);
    EXPECT_STEP(wizard, "STEP 3 of 5", "Grey levels", "Set the contrast.", "Grey bars", true, true, false, "&Quit",
                StepView::BottomCentre, IDC_NEXT);
    app.Press(dialog, IDC_NEXT);
    EXPECT_STEP(wizard, "STEP 4 of 5", "Sharpness", "Adjust clock and phase.", "Fine lines, no shimmer", true, true,
                false, "&Quit", StepView::BottomCentre, IDC_NEXT);
    app.Press(dialog, IDC_NEXT);
    EXPECT_STEP(wizard, "STEP 5 of 5", nullptr, kLastHowTo, "Your original screen.", true, false, false, "&Finish",
                StepView::Unchanged, IDC_QUIT);
    app.Press(dialog, IDC_PREVIOUS);
    EXPECT_STEP(wizard, "STEP 4 of 5", "Sharpness", "Adjust clock and phase.", "Fine lines, no shimmer", true, true,
                false, "&Quit", StepView::BottomCentre, IDC_NEXT);
    app.Press(dialog, IDC_PREVIOUS);
    app.Press(dialog, IDC_PREVIOUS);
    EXPECT_STEP(wizard, "STEP 2 of 5", "Screen position", "Press auto-adjust.\r\nWait.", "A thin frame", true, true,
                false, "&Quit", StepView::BottomCentre, IDC_NEXT);
    app.Press(dialog, IDC_PREVIOUS);
    EXPECT_STEP(wizard, "STEP 1 of 5", kFirstPurpose, kFirstHowTo, nullptr, false, true, true, "&Quit",
                StepView::Unchanged, IDC_NEXT);
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

TEST_F(Wizard, finish_at_the_last_step_ends_with_exit_code_0)
{
    Lumetta app(kIni);
    WizardView wizard(app);
    ASSERT_TRUE(wizard.Dialog() != nullptr);
    app.Choose(wizard.Dialog(), 1);
    EXPECT_STEP(wizard, "STEP 2 of 3", "Only step", "Do it.", "Frame", true, true, false, "&Quit",
                StepView::BottomCentre, IDC_NEXT);
    app.Press(wizard.Dialog(), IDC_NEXT);
    EXPECT_STEP(wizard, "STEP 3 of 3", nullptr, kLastHowTo, "Your original screen.", true, false, false, "&Finish",
                StepView::Unchanged, IDC_QUIT);
    app.Press(wizard.Dialog(), IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
    EXPECT_TRUE(WaitUntil(NoLumettaProcess, 5000));
}

TEST_F(Wizard, hide_window_and_a_click_bring_the_wizard_back_at_the_same_step)
{
    Lumetta app(kIni);
    WizardView wizard(app);
    ASSERT_TRUE(wizard.Dialog() != nullptr);
    HWND dialog = wizard.Dialog();
    app.Press(dialog, IDC_NEXT);
    app.Press(dialog, IDC_NEXT);
    EXPECT_STEP(wizard, "STEP 3 of 5", "Grey levels", "Set the contrast.", "Grey bars", true, true, false, "&Quit",
                StepView::BottomCentre, IDC_NEXT);
    for (int round = 0; round < 2; ++round) {
        PostMessageA(wizard.Item(IDC_HIDE), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));
        EXPECT_TRUE(IsChecked(wizard.Item(IDC_HIDE)));
        EXPECT_TRUE(CaptureWindow(dialog) == app.PatternWindow());
        if (round == 0) {
            // A real click anywhere on the screen: the pattern window holds the capture.
            ClickAt(100, 100);
        } else {
            PostMessageA(app.PatternWindow(), WM_KEYDOWN, VK_SPACE, 0);
        }
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; }));
        EXPECT_TRUE(WaitUntil([&] { return !IsChecked(wizard.Item(IDC_HIDE)); }));
        EXPECT_TRUE(WaitUntil([&] { return CaptureWindow(dialog) == nullptr; }));
        EXPECT_STEP(wizard, "STEP 3 of 5", "Grey levels", "Set the contrast.", "Grey bars", true, true, false,
                    "&Quit", StepView::Unchanged, 0);
    }
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

TEST_F(Wizard, right_click_draws_the_cursor_position)
{
    Lumetta app(kIni);
    WizardView wizard(app);
    ASSERT_TRUE(wizard.Dialog() != nullptr);
    HWND dialog = wizard.Dialog();
    POINT origin = {0, 0};
    ClientToScreen(dialog, &origin);
    auto whiteCells = [&] {
        int white = 0;
        for (int x = 0; x < 100; ++x)
            for (int y = 0; y < 12; y += 3)
                if (ScreenPixel(origin.x + x, origin.y + y) == RGB(255, 255, 255)) ++white;
        return white;
    };
    const int before = whiteCells();
    SetCursorPos(5, 7);
    PostMessageA(dialog, WM_RBUTTONDOWN, 0, MAKELPARAM(3, 3));
    // Black digits on white cells, about eleven characters wide, at the client's top left.
    EXPECT_TRUE(WaitUntil([&] { return whiteCells() > before + 100; }, 5000));
    int rightmostWhite = 0;
    for (int x = 0; x < 150; ++x)
        if (ScreenPixel(origin.x + x, origin.y + 1) == RGB(255, 255, 255)) rightmostWhite = x;
    EXPECT_TRUE(rightmostWhite > 40 && rightmostWhite < 120);
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

// The lookup by text once chose the first entry that began with the chosen one's text.
TEST_F(Wizard, choosing_a_model_loads_the_selected_entry_whatever_its_text)
{
    Lumetta app(
        "[MODELS]\r\nMODEL_NUMBER=3\r\nMODEL0=LONG,Panel 17 inch wide\r\nMODEL1=SHORT,Panel 17 inch\r\n"
        "MODEL2=BRACKET,[Studio] monitor\r\n"
        "[LONG]\r\nMENU_NUMBER=1\r\nMENU0=Long model, h, Border, s\r\n"
        "[SHORT]\r\nMENU_NUMBER=1\r\nMENU0=Short model, h, Border, s\r\n"
        "[BRACKET]\r\nMENU_NUMBER=1\r\nMENU0=Bracket model, h, Border, s\r\n");
    WizardView wizard(app);
    ASSERT_TRUE(wizard.Dialog() != nullptr);
    HWND dialog = wizard.Dialog();
    HWND combo = wizard.Item(IDC_MODEL_COMBO);
    const std::pair<int, const char*> choices[] = {{1, "Short model"}, {2, "Bracket model"}, {0, "Long model"}};
    for (const auto& [index, purpose] : choices) {
        app.Choose(dialog, index);
        EXPECT_STEP(wizard, "STEP 2 of 3", purpose, "h", "s", true, true, false, "&Quit", StepView::BottomCentre,
                    IDC_NEXT);
        DWORD_PTR selected = 99;
        SendMessageTimeoutA(combo, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, 5000, &selected);
        EXPECT_EQ(static_cast<long long>(selected), static_cast<long long>(index));
        app.Press(dialog, IDC_PREVIOUS);
        EXPECT_TRUE(WaitForStep(dialog, 1, 3));
    }
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

// A negative step number once ended the whole program on the model's choice.
TEST_F(Wizard, model_with_a_negative_step_number_has_no_pattern_steps)
{
    Lumetta app("[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=NEG,Negative\r\n[NEG]\r\nMENU_NUMBER=-1\r\n");
    WizardView wizard(app);
    ASSERT_TRUE(wizard.Dialog() != nullptr);
    app.Choose(wizard.Dialog(), 0);
    EXPECT_STEP(wizard, "STEP 2 of 2", nullptr, kLastHowTo, "Your original screen.", true, true, false, "&Finish",
                StepView::Centred, IDC_QUIT);
    EXPECT_TRUE(app.Running());
    app.Press(wizard.Dialog(), IDC_PREVIOUS);
    EXPECT_STEP(wizard, "STEP 1 of 2", "", "", nullptr, false, true, true, "&Quit", StepView::Centred, IDC_NEXT);
    app.Press(wizard.Dialog(), IDC_NEXT);
    EXPECT_STEP(wizard, "STEP 2 of 2", nullptr, kLastHowTo, "Your original screen.", true, false, false, "&Finish",
                StepView::Centred, IDC_QUIT);
    app.Press(wizard.Dialog(), IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

TEST_F(Wizard, twenty_models_with_long_names_and_full_texts_keep_every_button_working)
{
    std::string ini = "[MODELS]\r\nMODEL_NUMBER=20\r\n";
    for (int j = 0; j < 20; ++j)
        ini += "MODEL" + std::to_string(j) + "=S" + std::to_string(j) + "," + std::string(519, 'a' + j) + "\r\n";
    ini += "[S3]\r\nMENU_NUMBER=2\r\nMENU0=" + std::string(519, 'p') + ",h,White," + std::string(511, 's') +
           "\r\nMENU1=,,,\r\n";
    Lumetta app(ini);
    WizardView wizard(app);
    ASSERT_TRUE(wizard.Dialog() != nullptr);
    const auto entries = ComboEntries(wizard.Item(IDC_MODEL_COMBO));
    ASSERT_TRUE(entries.size() == 20);
    EXPECT_EQ(entries[19], std::string(519, 't'));
    app.Choose(wizard.Dialog(), 3);
    const std::string purpose(519, 'p'), seen(511, 's');
    EXPECT_STEP(wizard, "STEP 2 of 4", purpose.c_str(), "h", seen.c_str(), true, true, false, "&Quit",
                StepView::BottomCentre, IDC_NEXT);
    app.Press(wizard.Dialog(), IDC_NEXT);
    EXPECT_STEP(wizard, "STEP 3 of 4", "", "", "", true, true, false, "&Quit", StepView::BottomCentre, IDC_NEXT);
    app.Press(wizard.Dialog(), IDC_NEXT);
    app.Press(wizard.Dialog(), IDC_PREVIOUS);
    app.Press(wizard.Dialog(), IDC_PREVIOUS);
    app.Press(wizard.Dialog(), IDC_PREVIOUS);
    EXPECT_TRUE(WaitForStep(wizard.Dialog(), 1, 4));
    app.Choose(wizard.Dialog(), 12);  // no section of its own
    EXPECT_TRUE(WaitForStep(wizard.Dialog(), 2, 2));
    app.Press(wizard.Dialog(), IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}
