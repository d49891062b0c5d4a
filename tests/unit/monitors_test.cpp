// Several monitors on layouts that no test display gives: a monitor left of the
// primary (negative coordinates), a smaller one above it, shared edges, a monitor that
// disappears, and a dialog that the platform rescales on a monitor of another DPI.
#include <gtest/gtest.h>

#include <cstring>

#include "FakePlatform.h"
#include "resources/resource.h"
#include "wizard/Wizard.h"

namespace {

constexpr Rect kLeft{-1920, 0, 0, 1080};
constexpr Rect kPrimary{0, 0, 2560, 1440};
constexpr Rect kAbove{0, -768, 1024, 0};
constexpr Size kDialog{523, 215};

Monitor Make(const char* name, Rect rect, bool primary = false)
{
    Monitor monitor{rect, {}, primary};
    CopyText(monitor.name, name);
    return monitor;
}

// In the system's order, the primary not first.
const MonitorList kThree{3, {Make("\\\\.\\DISPLAY2", kLeft), Make("\\\\.\\DISPLAY1", kPrimary, true),
                             Make("\\\\.\\DISPLAY3", kAbove)}};

bool operator==(Rect a, Rect b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(MonitorGeometry, CentreOnASharedEdgeBelongsToTheMonitorRightOrBelow)
{
    EXPECT_EQ(MonitorAtCentre(kThree, {-100, 100, 100, 200}), 1);   // centre x 0
    EXPECT_EQ(MonitorAtCentre(kThree, {-101, 100, 100, 200}), 0);   // x -0.5 rounds down to -1
    EXPECT_EQ(MonitorAtCentre(kThree, {100, -100, 200, 100}), 1);   // centre y 0
    EXPECT_EQ(MonitorAtCentre(kThree, {100, -101, 200, 100}), 2);   // y -0.5 rounds up the screen
    EXPECT_EQ(MonitorAtCentre(kThree, {1500, -300, 1600, -200}), -1);  // beside the smaller one
    EXPECT_EQ(MonitorAtCentre(MonitorList{}, {0, 0, 10, 10}), -1);
}

TEST(MonitorGeometry, NextWrapsRoundAndAGoneNameFallsBackToThePrimary)
{
    EXPECT_EQ(NextMonitor(kThree, 0), 1);
    EXPECT_EQ(NextMonitor(kThree, 2), 0);
    EXPECT_EQ(NextMonitor(kThree, -1), 0);
    EXPECT_EQ(NextMonitor(MonitorList{}, 0), -1);
    EXPECT_EQ(MonitorNamed(kThree, "\\\\.\\DISPLAY3"), 2);
    EXPECT_EQ(MonitorNamed(kThree, "\\\\.\\DISPLAY9"), 1);
    EXPECT_EQ(MonitorNamed(MonitorList{}, "\\\\.\\DISPLAY1"), -1);
}

TEST(MonitorGeometry, NamesMatchWholeEvenWhenOneIsAPrefixOrFillsItsBuffer)
{
    Monitor full = Make("", kAbove);
    std::memset(full.name, 'D', sizeof full.name - 1);  // as long as the platform's whole buffer
    const MonitorList list{3, {Make("\\\\.\\DISPLAY10", kLeft), Make("\\\\.\\DISPLAY1", kPrimary, true), full}};
    EXPECT_EQ(MonitorNamed(list, "\\\\.\\DISPLAY1"), 1);
    EXPECT_EQ(MonitorNamed(list, "\\\\.\\DISPLAY10"), 0);
    g_app = AppState{};
    MakeCurrentMonitor(full);
    EXPECT_EQ(MonitorNamed(list, g_app.monitorName), 2);
}

TEST(MonitorGeometry, WizardPositionsAreMeasuredOnTheMonitor)
{
    const Point centred = CentredOn(kLeft, kDialog);
    EXPECT_EQ(centred.x, -1222);
    EXPECT_EQ(centred.y, 432);
    const Point bottom = BottomCentreOn(kAbove, kDialog);
    EXPECT_EQ(bottom.x, 250);
    EXPECT_EQ(bottom.y, -265);  // 50 pixels above the primary's top edge
}

class WizardOnMonitors : public ::testing::Test {
protected:
    WizardOnMonitors()
    {
        fake.WriteIni("[MODELS]\nMODEL_NUMBER=1\nMODEL0=A,Alpha\n[A]\nMENU_NUMBER=2\n"
                      "MENU0=p0,h0,Border,s0\nMENU1=p1,h1,White,s1\n");
        fake.shell.monitors = kThree;
        g_app.screenWidth = 2560;  // as measured at start-up
        g_app.screenHeight = 1440;
        fake.dialog.size = kDialog;
        InitWizard(fake.platform);
    }
    void Drag(int x, int y)
    {
        fake.dialog.position = {x, y};
        FollowWizard(fake.platform);
    }
    void ExpectCurrent(Rect monitor, std::pair<int, int> dialog)
    {
        EXPECT_TRUE(CurrentMonitorRect() == monitor);
        EXPECT_TRUE(fake.shell.patternRect == monitor);
        EXPECT_EQ(fake.dialog.position, dialog);
    }

    FakePlatform fake;
};

TEST_F(WizardOnMonitors, ADragEndingOnAnotherMonitorTakesThePatternThereAndLeavesTheWizard)
{
    EXPECT_STREQ(g_app.monitorName, "\\\\.\\DISPLAY1");
    EXPECT_EQ(fake.dialog.position, std::make_pair(1018, 612));
    GoNext(fake.platform);
    const int paints = fake.shell.paints;
    Drag(100, 100);  // still on the primary
    Drag(1400, -400);  // centre on no monitor
    EXPECT_EQ(fake.shell.paints, paints);
    EXPECT_TRUE(fake.shell.patternRect == Rect{});

    Drag(-700, 300);
    ExpectCurrent(kLeft, {-700, 300});
    EXPECT_EQ(fake.shell.paints, paints + 1);
    GoNext(fake.platform);
    EXPECT_EQ(fake.dialog.position, std::make_pair(-1222, 815));
}

TEST_F(WizardOnMonitors, NextMonitorWrapsRoundAndPlacesTheWizardByTheStep)
{
    // On the monitor above, of twice the DPI, the platform doubles the dialog.
    fake.dialog.rescale = [](int, int y) { return y < 0 ? Size{1046, 430} : kDialog; };
    MoveToNextMonitor(fake.platform);
    ExpectCurrent(kAbove, {-11, -599});  // centred at step 1, at its new size
    GoNext(fake.platform);
    EXPECT_EQ(fake.dialog.position, std::make_pair(-11, -480));
    MoveToNextMonitor(fake.platform);
    ExpectCurrent(kLeft, {-1222, 815});  // bottom centre on a pattern step
    MoveToNextMonitor(fake.platform);
    ExpectCurrent(kPrimary, {1018, 1175});

    fake.shell.monitors = MonitorList{1, {Make("\\\\.\\DISPLAY1", kPrimary, true)}};
    const int paints = fake.shell.paints;
    MoveToNextMonitor(fake.platform);
    EXPECT_EQ(fake.shell.paints, paints);
}

TEST_F(WizardOnMonitors, TheLastStepIsCentredAndARescaleOfOneSideAlonePlacesItAgain)
{
    for (int i = 0; i < 3; ++i) GoNext(fake.platform);
    ASSERT_EQ(g_app.currentStep, g_app.stepCount);
    MoveToNextMonitor(fake.platform);
    ExpectCurrent(kAbove, {250, -492});

    for (const auto& [rescaled, at] : {std::pair{Size{1046, 215}, std::pair{-11, -492}},
                                       std::pair{Size{523, 430}, std::pair{250, -599}}}) {
        MakeCurrentMonitor(kThree.monitors[1]);
        fake.dialog.size = kDialog;
        fake.dialog.rescale = [rescaled](int, int y) { return y < 0 ? rescaled : kDialog; };
        MoveToNextMonitor(fake.platform);
        ExpectCurrent(kAbove, at);
    }
}

TEST_F(WizardOnMonitors, DisplayChangeCoversTheMonitorAgainOrThePrimaryWhenItIsGone)
{
    EXPECT_TRUE(fake.dialog.systemCommands[IDM_NEXT_MONITOR]);
    GoNext(fake.platform);
    MoveToNextMonitor(fake.platform);
    ASSERT_EQ(fake.dialog.position, std::make_pair(250, -265));
    const Rect larger{0, -1024, 1280, 0};
    fake.shell.monitors.monitors[2].rect = larger;
    const int paints = fake.shell.paints;
    FollowDisplayChange(fake.platform);
    ExpectCurrent(larger, {250, -265});  // the wizard is still on a monitor: it stays
    EXPECT_EQ(fake.shell.paints, paints + 1);

    fake.shell.monitors.count = 2;  // the monitor above is unplugged
    FollowDisplayChange(fake.platform);
    EXPECT_STREQ(g_app.monitorName, "\\\\.\\DISPLAY1");
    ExpectCurrent(kPrimary, {1018, 1175});

    // Moving on needs a monitor to move to.
    fake.shell.monitors = MonitorList{1, {Make("\\\\.\\DISPLAY1", kPrimary, true)}};
    FollowDisplayChange(fake.platform);
    EXPECT_FALSE(fake.dialog.systemCommands[IDM_NEXT_MONITOR]);
    fake.shell.monitors = kThree;
    FollowDisplayChange(fake.platform);
    EXPECT_TRUE(fake.dialog.systemCommands[IDM_NEXT_MONITOR]);
}

}  // namespace
