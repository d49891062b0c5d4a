#include <gtest/gtest.h>

#include <string>

#include "FakePlatform.h"
#include "resources/resource.h"
#include "wizard/Wizard.h"

namespace {

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;
constexpr int kDialogWidth = 523;
constexpr int kDialogHeight = 215;

std::string StepLine(const std::string& name)
{
    return name + " purpose," + name + " how\\nto," + name + "Spec," + name + " seen\n";
}

// Model A has three steps, B none, C one.
const std::string kIni =
    "[MODELS]\nMODEL_NUMBER=3\nMODEL0=A,Alpha\nMODEL1=B,Beta\nMODEL2=C,Gamma\n"
    "PURPOSE1=Pick one.\nHOWTO1=Select\\nthen Next.\n"
    "[BUTTONS]\nMODELS=Model :\nQUIT=E&xit\nNEXT=&Next\n"
    "[A]\nMENU_NUMBER=3\nMENU0=" + StepLine("a0") + "MENU1=" + StepLine("a1") + "MENU2=" + StepLine("a2") +
    "[B]\nMENU_NUMBER=0\n"
    "[C]\nMENU_NUMBER=1\nMENU0=" + StepLine("c0");

class Wizard : public ::testing::Test {
protected:
    void Start(const std::string& ini = kIni)
    {
        fake.WriteIni(ini);
        g_app.screenWidth = kScreenWidth;
        g_app.screenHeight = kScreenHeight;
        fake.dialog.size = {kDialogWidth, kDialogHeight};
        InitWizard(fake.platform);
    }
    void Choose(int index)
    {
        fake.dialog.SelectListEntry(IDC_MODEL_COMBO, index);
        ChooseModel(fake.platform);
    }
    ControlState& Control(int id) { return fake.dialog.controls[id]; }
    bool Enabled(int id) { return Control(id).enabled; }
    bool Visible(int id) { return Control(id).visible; }
    const std::string& Text(int id) { return Control(id).text; }

    void ExpectPatternStep(int step, int count, const std::string& name)
    {
        EXPECT_EQ(g_app.currentStep, step);
        EXPECT_EQ(Text(IDC_STEP), "STEP " + std::to_string(step) + " of " + std::to_string(count));
        EXPECT_EQ(Text(IDC_PURPOSE), name + " purpose");
        EXPECT_EQ(Text(IDC_HOWTO), name + " how\r\nto");
        EXPECT_EQ(Text(IDC_SEEN), name + " seen");
        for (int id : {IDC_PURPOSE_LABEL, IDC_PURPOSE, IDC_HOWTO_LABEL, IDC_HOWTO, IDC_SEEN_LABEL, IDC_SEEN})
            EXPECT_TRUE(Visible(id)) << id;
        EXPECT_EQ(Text(IDC_QUIT), "&Quit");
        EXPECT_EQ(fake.dialog.focus, IDC_NEXT);
        EXPECT_EQ(fake.dialog.position, std::make_pair((kScreenWidth - kDialogWidth) / 2,
                                                       kScreenHeight - kDialogHeight - 50));
        EXPECT_TRUE(fake.shell.patternVisible);
    }
    void ExpectLastStep(int count)
    {
        EXPECT_EQ(g_app.currentStep, count);
        EXPECT_EQ(Text(IDC_STEP), "STEP " + std::to_string(count) + " of " + std::to_string(count));
        EXPECT_EQ(Text(IDC_SEEN), "Your original screen.");
        EXPECT_EQ(Text(IDC_HOWTO), "Adjustments are complete. Click on Finish button.");
        EXPECT_EQ(Text(IDC_QUIT), "&Finish");
        EXPECT_TRUE(Visible(IDC_HOWTO) && Visible(IDC_SEEN_LABEL) && Visible(IDC_SEEN));
        EXPECT_FALSE(Visible(IDC_PURPOSE_LABEL) || Visible(IDC_PURPOSE) || Visible(IDC_HOWTO_LABEL));
        EXPECT_EQ(fake.dialog.focus, IDC_QUIT);
    }
    void ExpectFirstStep()
    {
        EXPECT_EQ(g_app.currentStep, 1);
        EXPECT_EQ(g_app.enableMask, 22);
        EXPECT_EQ(Text(IDC_PURPOSE), "Pick one.");
        EXPECT_EQ(Text(IDC_HOWTO), "Select\r\nthen Next.");
        EXPECT_TRUE(Visible(IDC_PURPOSE_LABEL) && Visible(IDC_PURPOSE) && Visible(IDC_HOWTO_LABEL));
        EXPECT_FALSE(Visible(IDC_SEEN_LABEL) || Visible(IDC_SEEN));
        EXPECT_TRUE(Enabled(IDC_MODEL_COMBO) && Enabled(IDC_NEXT) && Enabled(IDC_QUIT));
        EXPECT_FALSE(Enabled(IDC_PREVIOUS));
        EXPECT_EQ(fake.dialog.focus, IDC_NEXT);
    }
    void ExpectMask(int mask)
    {
        EXPECT_EQ(g_app.enableMask, mask);
        EXPECT_EQ(Enabled(IDC_PREVIOUS), (mask & 1) != 0);
        EXPECT_EQ(Enabled(IDC_NEXT), (mask & 2) != 0);
        EXPECT_EQ(Enabled(IDC_QUIT), (mask & 4) != 0);
        EXPECT_EQ(Enabled(IDC_MODEL_COMBO), (mask & 16) != 0);
    }

    FakePlatform fake;
};

TEST_F(Wizard, OpensCentredAtStepOneWithTheModelList)
{
    Start();
    EXPECT_EQ(fake.dialog.position, std::make_pair((kScreenWidth - kDialogWidth) / 2,
                                                   (kScreenHeight - kDialogHeight) / 2));
    EXPECT_EQ(Control(IDC_MODEL_COMBO).entries, (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(Control(IDC_MODEL_COMBO).selected, 0);
    EXPECT_EQ(Text(IDC_STEP), "STEP 1 of ?");
    EXPECT_EQ(Text(IDC_PATTERN_LABEL), "Model :");
    EXPECT_EQ(Text(IDC_QUIT), "E&xit");  // the file's caption until a step sets its own
    ExpectFirstStep();
    EXPECT_EQ(fake.shell.paints, 1);
    EXPECT_TRUE(fake.shell.patternVisible);
}

TEST_F(Wizard, WalksAModelForwardToFinishAndBack)
{
    Start();
    Choose(0);
    ExpectPatternStep(2, 5, "a0");
    ExpectMask(7);
    GoNext(fake.platform);
    ExpectPatternStep(3, 5, "a1");
    GoNext(fake.platform);
    ExpectPatternStep(4, 5, "a2");
    ExpectMask(7);
    GoNext(fake.platform);
    ExpectLastStep(5);
    ExpectMask(5);

    const int paints = fake.shell.paints;
    GoNext(fake.platform);  // disabled here; a stray press changes nothing
    EXPECT_EQ(g_app.currentStep, 5);
    EXPECT_EQ(fake.shell.paints, paints);

    GoPrevious(fake.platform);
    ExpectPatternStep(4, 5, "a2");
    ExpectMask(7);
    GoPrevious(fake.platform);
    GoPrevious(fake.platform);
    ExpectPatternStep(2, 5, "a0");
    GoPrevious(fake.platform);
    ExpectFirstStep();
    EXPECT_EQ(Text(IDC_STEP), "STEP 1 of 5");
    // The dialog stays at the bottom centre on step 1.
    EXPECT_EQ(fake.dialog.position.second, kScreenHeight - kDialogHeight - 50);
}

TEST_F(Wizard, EveryRefreshPaintsThePatternOnceFirstAndNavigationWithoutEffectDoesNot)
{
    Start();
    GoPrevious(fake.platform);
    EXPECT_EQ(fake.shell.paints, 1);
    Choose(0);
    GoNext(fake.platform);
    GoPrevious(fake.platform);
    EXPECT_EQ(fake.shell.paints, 4);
    // The pattern before the wizard's own updates: it is what the user waits for.
    int paintsAtCaption = 0;
    fake.dialog.onSetText = [&](int id) {
        if (id == IDC_STEP) paintsAtCaption = fake.shell.paints;
    };
    GoNext(fake.platform);
    EXPECT_EQ(paintsAtCaption, 5);
}

TEST_F(Wizard, NextBeforeAnyChoiceUsesTheFirstModel)
{
    Start();
    GoNext(fake.platform);
    ExpectPatternStep(2, 5, "a0");
}

TEST_F(Wizard, NextAfterComingBackUsesTheModelChosenBefore)
{
    Start();
    Choose(2);
    ExpectPatternStep(2, 3, "c0");
    GoPrevious(fake.platform);
    GoNext(fake.platform);
    ExpectPatternStep(2, 3, "c0");
    GoPrevious(fake.platform);
    Choose(0);
    ExpectPatternStep(2, 5, "a0");
}

TEST_F(Wizard, ModelWithoutStepsChosenGoesStraightToTheLastStep)
{
    Start();
    Choose(1);
    ExpectLastStep(2);
    ExpectMask(7);  // Next stays enabled, but does nothing
    GoNext(fake.platform);
    ExpectLastStep(2);
    GoPrevious(fake.platform);
    ExpectFirstStep();
    EXPECT_EQ(Text(IDC_QUIT), "&Quit");  // not Finish on step 1
    // Next takes the same stepless model again rather than the first one.
    GoNext(fake.platform);
    ExpectLastStep(2);
    ExpectMask(5);
}

TEST_F(Wizard, ModelWithoutStepsReachedWithNextDisablesNext)
{
    Start("[MODELS]\nMODEL_NUMBER=1\nMODEL0=NONE,Nothing\n");
    GoNext(fake.platform);
    ExpectLastStep(2);
    ExpectMask(5);
}

TEST_F(Wizard, NegativeStepNumberNoLongerEndsTheWizardOrStrandsNext)
{
    Start("[MODELS]\nMODEL_NUMBER=2\nMODEL0=NEG,Negative\nMODEL1=NEG,Again\n[NEG]\nMENU_NUMBER=-3\n");
    GoNext(fake.platform);
    ExpectLastStep(2);
    GoPrevious(fake.platform);
    Choose(1);
    ExpectLastStep(2);
}

TEST_F(Wizard, SelectionOutsideTheListIsIgnored)
{
    Start();
    const int paints = fake.shell.paints;
    fake.dialog.controls[IDC_MODEL_COMBO].selected = -1;
    ChooseModel(fake.platform);
    fake.dialog.controls[IDC_MODEL_COMBO].selected = 3;
    ChooseModel(fake.platform);
    EXPECT_EQ(g_app.currentStep, 1);
    EXPECT_EQ(g_app.stepCount, 0);
    EXPECT_EQ(fake.shell.paints, paints);
}

TEST_F(Wizard, ChoiceArrivingAfterStepOneIsIgnored)
{
    Start();
    Choose(0);
    GoNext(fake.platform);
    GoNext(fake.platform);
    GoNext(fake.platform);
    Choose(1);
    ExpectLastStep(5);
}

TEST_F(Wizard, TwentyStepModelEndsAtStepTwentyTwo)
{
    std::string ini = "[MODELS]\nMODEL_NUMBER=1\nMODEL0=BIG,Big\n[BIG]\nMENU_NUMBER=20\n";
    for (int i = 0; i < 20; ++i) ini += "MENU" + std::to_string(i) + "=" + StepLine("s" + std::to_string(i));
    Start(ini);
    for (int i = 0; i < 20; ++i) GoNext(fake.platform);
    ExpectPatternStep(21, 22, "s19");
    GoNext(fake.platform);
    ExpectLastStep(22);
}

TEST_F(Wizard, SmallScreenGivesNegativePositions)
{
    fake.WriteIni(kIni);
    g_app.screenWidth = 300;
    g_app.screenHeight = 200;
    fake.dialog.size = {kDialogWidth, kDialogHeight};
    InitWizard(fake.platform);
    EXPECT_EQ(fake.dialog.position, std::make_pair((300 - kDialogWidth) / 2, (200 - kDialogHeight) / 2));
    GoNext(fake.platform);
    EXPECT_EQ(fake.dialog.position, std::make_pair((300 - kDialogWidth) / 2, 200 - kDialogHeight - 50));
}

TEST_F(Wizard, LongNamesFullTextsAndMissingSectionsKeepEveryButtonWorking)
{
    std::string ini = "[MODELS]\nMODEL_NUMBER=20\n";
    for (int j = 0; j < 20; ++j)
        ini += "MODEL" + std::to_string(j) + "=S" + std::to_string(j) + "," + std::string(519, 'a' + j % 26) + "\n";
    // A step line holds 1039 characters: full purpose and what-is-seen in one, full how-to in the next.
    ini += "[S0]\nMENU_NUMBER=3\nMENU0=" + std::string(519, 'p') + ",h,White," + std::string(511, 's') +
           "\nMENU1=p," + std::string(519, 'h') + ",White," + std::string(500, 's') + "\nMENU2=,,,\n";
    Start(ini);
    ASSERT_EQ(Control(IDC_MODEL_COMBO).entries.size(), 20u);
    EXPECT_EQ(Control(IDC_MODEL_COMBO).entries[19], std::string(519, 't'));
    Choose(0);
    EXPECT_EQ(Text(IDC_PURPOSE), std::string(519, 'p'));
    EXPECT_EQ(Text(IDC_SEEN), std::string(511, 's'));
    GoNext(fake.platform);
    EXPECT_EQ(Text(IDC_HOWTO), std::string(519, 'h'));
    GoNext(fake.platform);
    EXPECT_EQ(Text(IDC_PURPOSE), "");
    EXPECT_EQ(Text(IDC_HOWTO), "");
    GoNext(fake.platform);
    ExpectLastStep(5);
    for (int i = 0; i < 4; ++i) GoPrevious(fake.platform);
    Choose(7);  // a section the file does not have
    ExpectLastStep(2);
    EXPECT_TRUE(fake.messages.shown.empty());
}

}  // namespace
