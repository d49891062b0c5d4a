// Long sessions: the program keeps answering and holds no more GDI objects at the end
// than after its first steps, whichever keyword it paints.
#include "Harness.h"

#include <algorithm>
#include <iterator>

#include "patterns/PatternGrammar.h"
#include "resource.h"

namespace {

constexpr DWORD kAnswerMs = 5000;
constexpr int kSteps = static_cast<int>(std::size(kEveryKeyword));
constexpr int kStepCount = kSteps + 2;

// One step per keyword: a leak in any painting path shows.
std::string LargeModel()
{
    std::string ini = "[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=BIG,Large model\r\nWELCOME=w\r\nNOTES=n\r\n"
                      "[BIG]\r\nMENU_NUMBER=" + std::to_string(kSteps) + "\r\n";
    for (int i = 0; i < kSteps; ++i)
        ini += "MENU" + std::to_string(i) + "=Step " + std::to_string(i) + ", Look.\\nThen go on., " +
               std::string(kEveryKeyword[i].spec) + ", Seen " + std::to_string(i) + "\r\n";
    return ini;
}

bool Answers(HWND window)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &result) != 0;
}

bool CaptionIs(HWND dialog, int step) { return WaitForStep(dialog, step, kStepCount, kAnswerMs); }

struct GdiCount {
    long live;     // held right now
    long created;  // ever; -1 where only the platform's count is known
};

// The platform's own count where it keeps one (Windows); under Wine it reads 0, and
// the instrumented build's ledger answers instead.
// The fewest held over a few reads: the motion player holds a drawing context for a
// moment in every frame.
GdiCount GdiObjects(HANDLE process, HWND pattern)
{
    constexpr int kReads = 5;
    if (const DWORD held = GetGuiResources(process, GR_GDIOBJECTS); held != 0) return {static_cast<long>(held), -1};
    static const UINT query = RegisterWindowMessageA("Lumetta.GdiLedger");
    DWORD_PTR live = 0, fewest = ~DWORD_PTR{0}, created = 0;
    for (int i = 0; i < kReads; ++i, Sleep(3)) {
        SendMessageTimeoutA(pattern, query, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &live);
        fewest = std::min(fewest, live);
    }
    SendMessageTimeoutA(pattern, query, 1, 0, SMTO_ABORTIFHUNG, kAnswerMs, &created);
    return {static_cast<long>(fewest), static_cast<long>(created)};
}

HANDLE OpenProcessOf(HWND window)
{
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    return OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, id);
}

}  // namespace

using Stress = EndToEnd;

TEST_F(Stress, thousand_steps_and_two_hundred_hides_keep_it_answering_without_growing)
{
    Lumetta app(Instrumented(LargeModel()));
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    HWND pattern = app.PatternWindow();
    HANDLE process = OpenProcessOf(dialog);
    ASSERT_TRUE(process != nullptr);

    // Warm up: every pattern once, then back to step 2.
    const int lastPatternStep = kStepCount - 1;
    for (int step = 2; step <= lastPatternStep; ++step) {
        app.Press(dialog, IDC_NEXT);
        ASSERT_TRUE(CaptionIs(dialog, step));
    }
    for (int step = lastPatternStep - 1; step >= 2; --step) app.Press(dialog, IDC_PREVIOUS);
    ASSERT_TRUE(CaptionIs(dialog, 2));
    const GdiCount before = GdiObjects(process, pattern);

    // Back and forth over every keyword, each some fifty times; each press must have been
    // answered before the next one comes.
    ULONGLONG slowest = 0;
    int step = 2;
    bool forward = true;
    for (int press = 0; press < 1000; ++press) {
        if (step == lastPatternStep) forward = false;
        if (step == 2) forward = true;
        step += forward ? 1 : -1;
        const ULONGLONG start = GetTickCount64();
        app.Press(dialog, forward ? IDC_NEXT : IDC_PREVIOUS);
        ASSERT_TRUE(CaptionIs(dialog, step));
        slowest = std::max(slowest, GetTickCount64() - start);
    }
    std::printf("slowest of 1000 presses: %llu ms\n", slowest);
    ASSERT_TRUE(Answers(dialog));

    for (int cycle = 0; cycle < 200; ++cycle) {
        PostMessageA(GetDlgItem(dialog, IDC_HIDE), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, kAnswerMs));
        if (cycle % 2 == 0)
            PostMessageA(pattern, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        else
            PostMessageA(pattern, WM_KEYDOWN, VK_RETURN, 0);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; }, kAnswerMs));
    }
    ASSERT_TRUE(Answers(pattern));
    const GdiCount after = GdiObjects(process, pattern);
    std::printf("GDI objects held: %ld after warm-up, %ld at the end (created: %ld, then %ld)\n", before.live,
                after.live, before.created, after.created);
    EXPECT_TRUE(after.live <= before.live);
    if (before.created >= 0) {
        EXPECT_EQ(before.live, 2L);  // between paints only the frame memory's bitmap and its DC
        EXPECT_TRUE(after.created > before.created + 1000);
    }
    CloseHandle(process);
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

TEST_F(Stress, a_thousand_frames_of_motion_hold_no_more_gdi_objects)
{
    Lumetta app(Instrumented("[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=M,Moving\r\n[M]\r\nMENU_NUMBER=1\r\n"
                      "MENU0=Overdrive, Look., Motion, Squares\r\n"));
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    HANDLE process = OpenProcessOf(dialog);
    ASSERT_TRUE(process != nullptr);
    app.Press(dialog, IDC_NEXT);
    ASSERT_TRUE(WaitForStep(dialog, 2, 3));
    Sleep(500);  // past the player's first frames
    const GdiCount before = GdiObjects(process, app.PatternWindow());
    Sleep(1000 * 1000 / 60);  // a thousand frames at Wine's 60 Hz
    const GdiCount after = GdiObjects(process, app.PatternWindow());
    EXPECT_EQ(after.live, before.live);
    if (after.created >= 0) {
        EXPECT_GT(after.created, before.created + 900) << "fewer frames than expected";
    }
    CloseHandle(process);
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}
