// Hostile data.ini files: the program starts, shows only its own messages, lets the
// user walk every step of every model and quit with exit code 0.
#include <cstdlib>
#include <set>

#include "Harness.h"
#include "resource.h"

namespace {

constexpr DWORD kStepDeadlineMs = 10000;

const std::set<std::string> kAllowedMessages = {
    "Lumetta - Warning: Execeed maximun of the model number 20",
    "Lumetta - ERROR: Execeed maximun of the menu number 20",
    "Lumetta - ERROR: Execeed maximun of the How-To-Do text length 520",
};

class Walker {
public:
    Walker(Lumetta& app) : app_(app) {}

    // Answers every message box on the way; anything but the start-up messages and
    // the three configuration messages is a failure.
    bool Settle(const std::function<bool()>& reached)
    {
        return WaitUntil([&] {
            for (HWND window : app_.Windows()) {
                if (!IsWindowVisible(window) || ClassName(window) != "#32770") continue;
                const std::string caption = WindowText(window);
                // A box already answered may still show while it closes, without a caption.
                if (caption == "Lumetta" || caption.empty() || answered_.count(window)) continue;
                answered_.insert(window);
                if (caption != kWelcomeCaption && caption != kNotesCaption) {
                    const std::string seen = caption + ": " + MessageBoxText(window);
                    EXPECT_EQ(kAllowedMessages.count(seen), 1u) << "unexpected message " << seen;
                    messages.push_back(seen);
                }
                Answer(window, IDOK);
                return false;
            }
            return reached();
        }, kStepDeadlineMs);
    }

    bool AtStep(HWND dialog, int step, int* count = nullptr)
    {
        const std::string caption = WindowText(GetDlgItem(dialog, IDC_STEP));
        const std::string prefix = "STEP " + std::to_string(step) + " of ";
        if (caption.rfind(prefix, 0) != 0) return false;
        if (count) *count = std::atoi(caption.c_str() + prefix.size());
        return true;
    }

    // Every model, forwards to its last step and back to step 1.
    void WalkEveryModel()
    {
        HWND dialog = nullptr;
        ASSERT_TRUE(Settle([&] { return (dialog = app_.FindWindowOf("#32770", "Lumetta")) != nullptr; }));
        const size_t models = ComboEntries(GetDlgItem(dialog, IDC_MODEL_COMBO)).size();
        for (size_t model = 0; model < std::max<size_t>(models, 1); ++model) {
            int count = 0;
            if (models == 0)
                app_.Press(dialog, IDC_NEXT);
            else
                app_.Choose(dialog, static_cast<int>(model));
            ASSERT_TRUE(Settle([&] { return AtStep(dialog, 2, &count); }));
            ASSERT_TRUE(count >= 2 && count <= 22);
            for (int step = 3; step <= count; ++step) {
                app_.Press(dialog, IDC_NEXT);
                ASSERT_TRUE(Settle([&] { return AtStep(dialog, step); }));
            }
            for (int step = count - 1; step >= 1; --step) {
                app_.Press(dialog, IDC_PREVIOUS);
                ASSERT_TRUE(Settle([&] { return AtStep(dialog, step); }));
            }
            ++walked;
        }
        app_.Press(dialog, IDC_QUIT);
        EXPECT_TRUE(Settle([&] { return !app_.Running(); }));
    }

    std::vector<std::string> messages;
    int walked = 0;

private:
    Lumetta& app_;
    std::set<HWND> answered_;
};

void WalkAndQuit(Lumetta& app, Walker& walker)
{
    walker.WalkEveryModel();
    EXPECT_EQ(app.WaitForExit(), 0L);
    EXPECT_TRUE(WaitUntil(NoLumettaProcess, 5000));
}

std::string ModelsWithSteps(const std::string& modelNumber, int models, const std::string& menuNumber, int steps)
{
    std::string ini = "[MODELS]\r\nMODEL_NUMBER=" + modelNumber + "\r\n";
    for (int m = 0; m < models; ++m) ini += "MODEL" + std::to_string(m) + "=M" + std::to_string(m) + ",Model\r\n";
    for (int m = 0; m < models; ++m) {
        ini += "[M" + std::to_string(m) + "]\r\nMENU_NUMBER=" + menuNumber + "\r\n";
        for (int s = 0; s < steps; ++s) ini += "MENU" + std::to_string(s) + "=p,h,Border,s\r\n";
    }
    return ini;
}

}  // namespace

using Hostile = EndToEnd;

TEST_F(Hostile, hostile_binary_garbage)
{
    std::string garbage;
    for (int i = 0; i < 200000; ++i) garbage += static_cast<char>((i * 2654435761u) >> 24);
    Lumetta app(garbage);
    Walker walker(app);
    WalkAndQuit(app, walker);
    EXPECT_TRUE(walker.messages.empty());
}

TEST_F(Hostile, hostile_nul_bytes)
{
    const std::string ini("[MODELS]\r\nMODEL_NUMBER=2\0\r\nMODEL0=A\0X,First\r\nMODEL1=B,Se\0cond\r\n"
                          "[A]\r\nMENU_NUMBER=2\r\nMENU0=p\0q,h,Border\0,s\r\nMENU1=\0\r\n[B\0]\r\nMENU_NUMBER=1\r\n",
                          118);
    Lumetta app(ini);
    Walker walker(app);
    WalkAndQuit(app, walker);
    EXPECT_TRUE(walker.messages.empty());
    EXPECT_TRUE(walker.walked >= 1);
}

TEST_F(Hostile, hostile_ten_megabyte_line)
{
    const std::string huge(10 * 1024 * 1024, 'x');
    Lumetta app("[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=M," + huge + "\r\nHOWTO1=" + huge +
                "\r\n[M]\r\nMENU_NUMBER=2\r\nMENU0=" + huge + "\r\nMENU1=p," + huge + ",White,s\r\n");
    Walker walker(app);
    WalkAndQuit(app, walker);
    // Only the second step line has a how-to: cut to the line buffer, it is still too long.
    EXPECT_EQ(static_cast<long long>(walker.messages.size()), 1LL);
}

TEST_F(Hostile, hostile_directory_named_data_ini)
{
    StartOptions options;
    options.dataIniIsDirectory = true;
    Lumetta app(options);
    Walker walker(app);
    WalkAndQuit(app, walker);
    EXPECT_TRUE(walker.messages.empty());
}

TEST_F(Hostile, hostile_counts_of_21)
{
    Lumetta app(ModelsWithSteps("21", 21, "21", 21));
    Walker walker(app);
    WalkAndQuit(app, walker);
    EXPECT_EQ(walker.walked, 20);
    // One warning for the list, one error at each of the 20 loads.
    EXPECT_EQ(static_cast<long long>(walker.messages.size()), 21LL);
}

TEST_F(Hostile, hostile_counts_beyond_32_bits)
{
    Lumetta app(ModelsWithSteps("2147483648", 20, "2147483648", 20));
    Walker walker(app);
    WalkAndQuit(app, walker);
    EXPECT_EQ(walker.walked, 20);
    EXPECT_EQ(static_cast<long long>(walker.messages.size()), 21LL);
}

TEST_F(Hostile, hostile_twenty_models_of_twenty_steps_at_every_limit)
{
    const std::string full(519, 'x');
    std::string ini = "[MODELS]\r\nMODEL_NUMBER=20\r\nPURPOSE1=" + full + "\r\nHOWTO1=" + std::string(259, 'y') +
                      std::string(130, '\\') + std::string(130, 'n') + "\r\nWELCOME=" + full + "\r\nNOTES=" + full +
                      "\r\n[BUTTONS]\r\n";
    for (const char* key : {"MODELS", "NEXT", "QUIT", "BACK", "WHY", "HOW", "WHAT", "HIDE"})
        ini += std::string(key) + "=" + full + "\r\n";
    // Section names at the value limit, told apart by their last two characters.
    auto section = [](int m) {
        char number[3];
        std::snprintf(number, sizeof number, "%02d", m);
        return std::string(519 - 2, 'S') + number;
    };
    for (int m = 0; m < 20; ++m)
        ini += "MODEL" + std::to_string(m) + "=" + section(m) + "," + std::string(519, 'a' + m) + "\r\n";
    for (int m = 0; m < 20; ++m) {
        ini += "[" + section(m) + "]\r\nMENU_NUMBER=20\r\n";
        for (int s = 0; s < 20; ++s) {
            // A step line holds 1039 characters: the purpose at its limit, and the how-to
            // or the what-is-seen text filling the rest.
            const std::string line = s % 2 == 0 ? full + "," + std::string(500, 'h') + ",Border," + std::string(11, 's')
                                                : std::string(10, 'p') + "," + full + ",GLines," + std::string(501, 's');
            ini += "MENU" + std::to_string(s) + "=" + line + "\r\n";
        }
    }
    Lumetta app(ini);
    Walker walker(app);
    WalkAndQuit(app, walker);
    EXPECT_EQ(walker.walked, 20);
    EXPECT_TRUE(walker.messages.empty());
}

TEST_F(Hostile, hostile_keywords_at_the_32_bit_limits)
{
    const char* specs[] = {"V2147483647Lines", "V-2147483648Lines", "V99999999999Lines", "C-5Hatch",
                           "C2147483647Hatch", "C-2147483648Hatch", "Gray-2147483648", "Gray2147483647",
                           "Gray-1",           "V1073741824Lines",  "C0Hatch",           "V-0Lines"};
    std::string ini = "[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=K,Keywords\r\n[K]\r\nMENU_NUMBER=" +
                      std::to_string(std::size(specs)) + "\r\n";
    for (size_t i = 0; i < std::size(specs); ++i) ini += "MENU" + std::to_string(i) + "=p,h," + specs[i] + ",s\r\n";
    Lumetta app(ini);
    Walker walker(app);
    WalkAndQuit(app, walker);
    EXPECT_EQ(walker.walked, 1);
    EXPECT_TRUE(walker.messages.empty());
}
