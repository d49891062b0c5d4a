// Speed on the real pattern window: the time from a Next press to the step's pattern
// being on the screen, for every keyword, as a ratio to one full-screen fill measured
// in the same run; and the time from start to the welcome message. A benchmark, not a
// test: it prints figures, the worst keyword last, and fails only when something never
// appears.
//   lumetta_speed <lumetta.exe>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "Harness.h"
#include "patterns/Motion.h"
#include "patterns/PaintCycle.h"
#include "patterns/Painters.h"
#include "platform/SoftCanvas.h"
#include "resource.h"

namespace {

constexpr int kRounds = 9;
constexpr size_t kProbes = 16;  // each GetPixel is a round trip to the X server under Wine

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

struct Probe {
    int x, y;
    COLORREF colour;
};

std::unique_ptr<SoftCanvas> Render(const char* spec, SIZE size)
{
    auto canvas = std::make_unique<SoftCanvas>(size.cx, size.cy);
    FillBlack(*canvas);
    PaintPattern(*canvas, MatchPatternSpec(spec));
    return canvas;
}

// Points, away from the wizard and from the grey ramp's labels, where this pattern
// differs from the one before it: when all of them show, the new pattern is there.
// A moving pattern's points lie where no frame of it differs.
std::vector<Probe> ProbesFor(const SoftCanvas& now, const SoftCanvas& before, RECT avoid, bool moving)
{
    std::vector<Probe> all;
    for (int y = 40; y < now.Height(); ++y)
        for (int x = 0; x < now.Width() && !(moving && MotionRowMoves(y, now.Height())); ++x) {
            const POINT p = {x, y};
            if (PtInRect(&avoid, p) || now.Pixel(x, y) == before.Pixel(x, y)) continue;
            const Colour c = now.Pixel(x, y);
            all.push_back({x, y, RGB(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF)});
        }
    std::vector<Probe> chosen;
    for (size_t i = 0; i < kProbes && !all.empty(); ++i) chosen.push_back(all[i * all.size() / kProbes]);
    return chosen;
}

// Polls without sleeping: the figures are a few milliseconds.
bool SpinUntil(const std::function<bool()>& condition)
{
    const ULONGLONG end = GetTickCount64() + kDeadlineMs;
    while (!condition())
        if (GetTickCount64() >= end) return false;
    return true;
}

bool Showing(const std::vector<Probe>& probes)
{
    HDC screen = GetDC(nullptr);
    bool all = true;
    for (const Probe& p : probes)
        if (GetPixel(screen, p.x, p.y) != p.colour) {
            all = false;
            break;
        }
    ReleaseDC(nullptr, screen);
    return all;
}

// One full-screen fill through GDI, until it shows on the screen at as many points
// as a pattern is checked at.
double FillOnce(HWND window, COLORREF colour)
{
    const SIZE size = ScreenSize();
    std::vector<Probe> probes;
    for (size_t i = 0; i < kProbes; ++i)
        probes.push_back({static_cast<int>((i * 7919) % size.cx), static_cast<int>(40 + (i * 104729) % (size.cy / 2)), colour});
    const LARGE_INTEGER start = Now();
    HDC dc = GetDC(window);
    RECT all;
    GetClientRect(window, &all);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    ReleaseDC(window, dc);
    SpinUntil([&] { return Showing(probes); });
    return Milliseconds(start, Now());
}

// One step per keyword, in the order they are timed.
static_assert(std::size(kEveryKeyword) <= kMaxSteps, "every keyword must fit one model");
std::string EveryKeywordIni()
{
    std::string ini = "[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=ALL,Every keyword\r\nWELCOME=w\r\nNOTES=n\r\n"
                      "[ALL]\r\nMENU_NUMBER=" + std::to_string(std::size(kEveryKeyword)) + "\r\n";
    for (size_t i = 0; i < std::size(kEveryKeyword); ++i)
        ini += "MENU" + std::to_string(i) + "=how,seen," + std::string(kEveryKeyword[i].spec) + ",seen\r\n";
    return ini;
}

int MeasureSpeed()
{
    const std::string iniText = EveryKeywordIni();
    const SIZE screen = ScreenSize();
    std::printf("screen %ldx%ld, %d rounds, medians\n", screen.cx, screen.cy, kRounds);

    std::vector<double> startup;
    for (int round = 0; round < kRounds; ++round) {
        const LARGE_INTEGER start = Now();
        Lumetta app(iniText);
        HWND welcome = nullptr;
        WaitUntil([&] { return (welcome = app.FindWindowOf("#32770", kWelcomeCaption)) != nullptr; }, kDeadlineMs);
        if (welcome == nullptr) return 1;
        startup.push_back(Milliseconds(start, Now()));
        Answer(welcome, IDCANCEL);
        app.WaitForExit();
    }
    std::printf("start to welcome message: %.1f ms\n", Median(startup));

    Lumetta app(iniText);
    HWND dialog = app.WaitForDialog();
    if (dialog == nullptr) return 1;
    HWND pattern = app.PatternWindow();

    // The wizard stands at the bottom centre on every pattern step.
    app.Press(dialog, IDC_NEXT);
    if (!WaitForStep(dialog, 2)) return 1;
    RECT avoid = WindowRect(dialog);
    InflateRect(&avoid, 8, 8);
    std::vector<std::vector<Probe>> probes;
    auto previous = Render("Black", screen);  // each round starts from step 1, which is black
    for (const KeywordSample& keyword : kEveryKeyword) {
        auto now = Render(std::string(keyword.spec).c_str(), screen);
        probes.push_back(ProbesFor(*now, *previous, avoid, keyword.pattern == Pattern::Motion));
        if (probes.back().empty()) {
            std::printf("%s cannot be told from the pattern before it\n", std::string(keyword.spec).c_str());
            return 1;
        }
        previous = std::move(now);
    }

    std::vector<double> fills;

    std::vector<std::vector<double>> times(std::size(kEveryKeyword));
    const int count = static_cast<int>(std::size(kEveryKeyword)) + 2;
    for (int round = 0; round < kRounds; ++round) {
        // Back to the last keyword's step, so that every Next below changes the pattern.
        app.Press(dialog, IDC_PREVIOUS);
        WaitForStep(dialog, 1);
        // The caption changes before the paint: wait for step 1's black where the first
        // keyword is probed, or that keyword would be timed against what was there.
        std::vector<Probe> black = probes[0];
        for (Probe& p : black) p.colour = RGB(0, 0, 0);
        if (!SpinUntil([&] { return Showing(black); })) return 1;
        // The fills in every round, among the keywords, so that both meet the machine in
        // the same mood; the second leaves step 1's black as it was.
        fills.push_back(FillOnce(pattern, RGB(255, 255, 255)));
        fills.push_back(FillOnce(pattern, RGB(0, 0, 0)));
        for (size_t i = 0; i < std::size(kEveryKeyword); ++i) {
            // From a program at rest, as a user's press finds it: the wizard's own updates
            // that follow the last pattern are not this one's time.
            if (!Settled(dialog)) return 1;
            const LARGE_INTEGER start = Now();
            app.Press(dialog, IDC_NEXT);
            if (!SpinUntil([&] { return Showing(probes[i]); })) {
                std::printf("%s never showed\n", std::string(kEveryKeyword[i].spec).c_str());
                return 1;
            }
            times[i].push_back(Milliseconds(start, Now()));
        }
        for (size_t i = 0; i + 1 < std::size(kEveryKeyword); ++i) app.Press(dialog, IDC_PREVIOUS);
        WaitForStep(dialog, 2, count);
    }
    const double fill = Median(fills);
    std::printf("one full-screen fill: %.2f ms\n", fill);
    std::printf("%-10s %10s %8s\n", "keyword", "ms", "x fill");
    size_t worst = 0;
    for (size_t i = 0; i < std::size(kEveryKeyword); ++i) {
        const std::string name(kEveryKeyword[i].spec);
        std::printf("%-10s %10.2f %8.2f\n", name.c_str(), Median(times[i]), Median(times[i]) / fill);
        if (Median(times[i]) > Median(times[worst])) worst = i;
    }
    std::printf("worst: %s %.2f ms (%.2f x fill)\n", std::string(kEveryKeyword[worst].spec).c_str(),
                Median(times[worst]), Median(times[worst]) / fill);
    app.Press(dialog, IDC_QUIT);
    return app.WaitForExit() == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::printf("usage: lumetta_speed <lumetta.exe>\n");
        return 2;
    }
    Programs().lumetta = ToWindowsPath(argv[1]);
    return MeasureSpeed();
}
