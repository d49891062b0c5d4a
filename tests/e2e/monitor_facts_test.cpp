// Step 1 on two monitors that Windows can describe (scripts/with-monitor-facts.sh): a
// 1920x1080 desktop on a digital 2560x1440 monitor, and a 1280x1024 desktop on an
// analogue 1280x1024 one, each with its own EDID (tests/e2e/edid).
#include "Harness.h"

#include <vector>

#include "resource.h"

namespace {

const char kIni[] =
    "[MODELS]\r\nMODEL_NUMBER=3\r\nMODEL0=Q,Quick check\r\nMODEL1=L,Flat panel\r\nMODEL2=C,CRT\r\n"
    "[Q]\r\nMENU_NUMBER=1\r\nMENU0=q, Look., White, White\r\n"
    "[L]\r\nSIGNAL=digital\r\nMENU_NUMBER=1\r\nMENU0=l, Look., White, White\r\n"
    "[C]\r\nSIGNAL=analogue\r\nMENU_NUMBER=1\r\nMENU0=c, Look., White, White\r\n";
const char kDigital[] = "LUMETTA TEST (LMT 1234), 2560 x 1440 native, digital input";
const char kNotNative[] =
    "The desktop is 1920 x 1080; this monitor's native mode is 2560 x 1440. Set 2560 x 1440 before you adjust.";
const char kAnalogue[] = "LUMETTA CRT (LMT 4321), 1280 x 1024 native, analogue input";
const char kCurve[] = "Another program has changed the colours: a calibration curve, f.lux or a vendor tool. Turn it "
                      "off, and Night light too, before you adjust.";

std::vector<std::string> Lines(HWND dialog)
{
    std::vector<std::string> lines;
    for (int id = IDC_STEP_LINE; HWND line = GetDlgItem(dialog, id); ++id) lines.push_back(WindowText(line));
    return lines;
}

// Every line stands between the model list and the buttons, whole.
bool LaidOut(HWND dialog)
{
    const RECT model = WindowRect(GetDlgItem(dialog, IDC_MODEL_COMBO));
    const RECT next = WindowRect(GetDlgItem(dialog, IDC_NEXT));
    LONG top = model.bottom;
    for (int id = IDC_STEP_LINE; HWND line = GetDlgItem(dialog, id); ++id) {
        const RECT r = WindowRect(line);
        if (r.top < top || r.bottom > next.top || !IsWindowVisible(line)) return false;
        top = r.bottom;
    }
    return true;
}

// The gamma ramp of the whole X screen, put back when the case ends.
class AlteredRamp {
public:
    AlteredRamp()
    {
        for (int i = 0; i < 256; ++i) ramp_[0][i] = ramp_[1][i] = ramp_[2][i] = static_cast<WORD>(i * 180);
        Set(ramp_);
    }
    ~AlteredRamp()
    {
        for (int i = 0; i < 256; ++i) ramp_[0][i] = ramp_[1][i] = ramp_[2][i] = static_cast<WORD>(i * 257);
        Set(ramp_);
    }
    AlteredRamp(const AlteredRamp&) = delete;
    AlteredRamp& operator=(const AlteredRamp&) = delete;

private:
    static void Set(WORD (&ramp)[3][256])
    {
        HDC screen = GetDC(nullptr);
        SetDeviceGammaRamp(screen, ramp);
        ReleaseDC(nullptr, screen);
    }
    WORD ramp_[3][256];
};

}  // namespace

using MonitorFacts = EndToEnd;

TEST_F(MonitorFacts, each_monitor_tells_who_it_is_and_what_would_spoil_the_adjustment)
{
    Lumetta app(kIni);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    EXPECT_EQ(Lines(dialog), (std::vector<std::string>{kDigital, kNotNative}));
    EXPECT_TRUE(LaidOut(dialog));
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_MODEL_COMBO), CB_GETCURSEL, 0, 0), 1);  // the digital model

    // What Ctrl+M does: the analogue monitor's own lines, and the model made for it; a ramp
    // another program set since is told.
    AlteredRamp ramp;
    PostMessageA(dialog, WM_SYSCOMMAND, IDM_NEXT_MONITOR, 0);
    ASSERT_TRUE(WaitUntil([&] { return Lines(dialog) == std::vector<std::string>{kAnalogue, kCurve}; }));
    EXPECT_TRUE(LaidOut(dialog));
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_MODEL_COMBO), CB_GETCURSEL, 0, 0), 2);
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}
