// data.ini as the real program reads it: the model list, the captions, the limits.
#include "ExampleIni.h"
#include "Harness.h"

#include "resource.h"

namespace {

std::string ManyModels(int number)
{
    std::string ini = "[MODELS]\r\nMODEL_NUMBER=" + std::to_string(number) + "\r\n";
    for (int j = 0; j < 25; ++j) ini += "MODEL" + std::to_string(j) + "=S" + std::to_string(j) + ",Model " + std::to_string(j) + "\r\n";
    return ini;
}

void ExpectModelList(HWND dialog, const std::vector<std::string>& expected)
{
    const auto entries = ComboEntries(GetDlgItem(dialog, IDC_MODEL_COMBO));
    EXPECT_EQ(static_cast<long long>(entries.size()), static_cast<long long>(expected.size()));
    for (size_t i = 0; i < entries.size() && i < expected.size(); ++i) EXPECT_EQ(entries[i], expected[i]);
}

void Quit(Lumetta& app, HWND dialog)
{
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

}  // namespace

using Config = EndToEnd;

TEST_F(Config, example_file_lists_its_models_and_sets_the_captions)
{
    Lumetta app(kExampleIni);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    ExpectModelList(dialog, {"Flat panel 17 inch", "Flat panel 19 inch, analogue input"});
    const std::pair<int, const char*> captions[] = {
        {IDC_PATTERN_LABEL, "Model :"}, {IDC_NEXT, "&Next   >>"},  {IDC_QUIT, "&Quit"},
        {IDC_PREVIOUS, "<<  &Previous"}, {IDC_PURPOSE_LABEL, "Purpose:"}, {IDC_HOWTO_LABEL, "Do the following:"},
        {IDC_SEEN_LABEL, "What is seen?"}, {IDC_HIDE, "Hide Window"},
    };
    for (const auto& [id, caption] : captions) EXPECT_EQ(WindowText(GetDlgItem(dialog, id)), std::string(caption));
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_HOWTO)), std::string("Select your model in the list below.\r\nThen click Next."));
    Quit(app, dialog);
}

TEST_F(Config, missing_buttons_section_empties_the_eight_captions)
{
    Lumetta app("[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=A,Alpha\r\n");
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    for (int id : {IDC_PATTERN_LABEL, IDC_NEXT, IDC_QUIT, IDC_PREVIOUS, IDC_PURPOSE_LABEL, IDC_HOWTO_LABEL,
                   IDC_SEEN_LABEL, IDC_HIDE})
        EXPECT_EQ(WindowText(GetDlgItem(dialog, id)), std::string());
    Quit(app, dialog);
}

TEST_F(Config, twenty_five_models_warn_and_list_twenty)
{
    Lumetta app(ManyModels(25));
    HWND box = app.WaitForMessageBox("Lumetta - Warning");
    ASSERT_TRUE(box != nullptr);
    EXPECT_EQ(MessageBoxText(box), std::string("Execeed maximun of the model number 20"));
    // Owned by the wizard, which is not shown yet.
    HWND owner = GetWindow(box, GW_OWNER);
    EXPECT_TRUE(owner != nullptr && ClassName(owner) == "#32770" && WindowText(owner) == "Lumetta");
    Answer(box, IDOK);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    std::vector<std::string> expected;
    for (int j = 0; j < 20; ++j) expected.push_back("Model " + std::to_string(j));
    ExpectModelList(dialog, expected);
    Quit(app, dialog);
}

TEST_F(Config, data_ini_is_found_in_a_working_directory_longer_than_120_characters)
{
    StartOptions options;
    options.dataIni = kExampleIni;
    options.subdirectory = std::filesystem::path(std::string(60, 'a')) / std::string(60, 'b') / std::string(40, 'c');
    Lumetta app(options);
    EXPECT_GT(app.WorkingDirectory().string().size(), 160u);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    ExpectModelList(dialog, {"Flat panel 17 inch", "Flat panel 19 inch, analogue input"});
    Quit(app, dialog);
}
