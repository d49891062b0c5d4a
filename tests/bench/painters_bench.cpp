// Times every painter on an in-memory screen and relates it to one plain fill of the
// whole canvas, the cheapest way to touch every pixel once; and the same drawing
// recorded and composed into runs of rows, as the pattern window takes it.
//
//   cmake --preset bench && cmake --build --preset bench
//   build/bench/tests/bench/lumetta_painters_bench --benchmark_repetitions=10
//       --benchmark_report_aggregates_only=true
#include "patterns/Motion.h"
#include "patterns/PaintCycle.h"
#include "patterns/Painters.h"
#include "patterns/PatternGrammar.h"
#include "platform/SoftCanvas.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr Size kScreens[] = {{1920, 1080}, {3840, 2160}};
constexpr char kBaseline[] = "Fill";
constexpr char kFastest[] = "min";
constexpr char kAsRows[] = " as rows";

using Paint = std::function<void(Canvas&)>;

// What the paint cycle draws for the keyword after its black fill.
Paint Keyword(const char* spec)
{
    return [choice = MatchPatternSpec(spec)](Canvas& c) { PaintPattern(c, choice); };
}

const std::vector<std::pair<std::string, Paint>>& Painters()
{
    static const std::vector<std::pair<std::string, Paint>> painters{
        {kBaseline,
         [](Canvas& c) {
             const Size size = c.ClientSize();
             c.Open()->Fill({0, 0, size.width, size.height}, kWhite);
         }},
        {"FillBlack", [](Canvas& c) { FillBlack(c); }},
        {"FillSolid(white)", [](Canvas& c) { FillSolid(c, kWhite); }},
        {"DrawFrame", [](Canvas& c) { DrawFrame(c, kBlue); }},
        {"DrawVerticalLines(1)", [](Canvas& c) { DrawVerticalLines(c, kWhite, 1); }},
        {"DrawVerticalLines(3)", [](Canvas& c) { DrawVerticalLines(c, kWhite, 3); }},
        {"DrawHorizontalLines(1)", [](Canvas& c) { DrawHorizontalLines(c, kRed, 1); }},
        {"DrawHatch(2)", [](Canvas& c) { DrawHatch(c, 2); }},
        {"DrawGreyRamp(0) labelled", [](Canvas& c) { DrawGreyRamp(c, 0); }},
        {"DrawGreyRamp(128) uniform", [](Canvas& c) { DrawGreyRamp(c, 128); }},
        {"DrawColourRamp(8)", [](Canvas& c) { DrawColourRamp(c, 8); }},
        {"Red", Keyword("Red")},
        {"Green", Keyword("Green")},
        {"Blue", Keyword("Blue")},
        {"BlackLevel", Keyword("BlackLevel")},
        {"WhiteLevel", Keyword("WhiteLevel")},
        {"Gamma", Keyword("Gamma")},
        {"Checker", Keyword("Checker")},
        {"Gradient", Keyword("Gradient")},
        // What the motion player paints each frame: the object's old and new columns.
        {"Motion (one frame)",
         [frame = std::int64_t{0}](Canvas& c) mutable {
             const Size size = c.ClientSize();
             const int step = MotionStepPerFrame(kMotionDefaultSpeed, 60);
             Rect columns[4];
             const int count = MotionChangedColumns(frame, frame + 1, step, size, columns);
             ++frame;
             for (int i = 0; i < count; ++i) DrawMotionFrame(c, frame, step, columns[i]);
         }},
    };
    return painters;
}

std::string BenchmarkName(const std::string& painter, Size screen)
{
    char text[96];
    std::snprintf(text, sizeof text, "%s/%dx%d", painter.c_str(), screen.width, screen.height);
    return text;
}

// Prints the usual table, then each painter's time as a multiple of the fill's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        // With --benchmark_repetitions the fastest repetition, the one least disturbed by
        // anything else on the machine, replaces the single runs reported before it.
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != kFastest) continue;
            times_[run.run_name.str()] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios() const
    {
        for (const Size screen : kScreens) {
            const auto baseline = times_.find(BenchmarkName(kBaseline, screen));
            if (baseline == times_.end()) continue;
            std::printf("\n%dx%d, CPU time relative to one full fill (%.0f us):\n", screen.width,
                        screen.height, baseline->second);
            for (const auto& [painter, paint] : Painters())
                for (const std::string& name : {painter, painter + kAsRows}) {
                    const auto found = times_.find(BenchmarkName(name, screen));
                    if (found == times_.end()) continue;
                    std::printf("  %-36s %6.2f\n", name.c_str(), found->second / baseline->second);
                }
        }
    }

private:
    std::map<std::string, double> times_;  // CPU microseconds: the machine may be shared
};

double Fastest(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

}  // namespace

int main(int argc, char** argv)
{
    for (const Size screen : kScreens) {
        for (const auto& [name, paint] : Painters()) {
            benchmark::RegisterBenchmark(BenchmarkName(name, screen).c_str(),
                                         [screen, paint = paint](benchmark::State& state) {
                                             SoftCanvas canvas(screen.width, screen.height);
                                             for (auto _ : state) {
                                                 paint(canvas);
                                                 benchmark::ClobberMemory();
                                             }
                                         })
                ->Unit(benchmark::kMicrosecond)
                ->ComputeStatistics(kFastest, Fastest);
            benchmark::RegisterBenchmark(BenchmarkName(name + kAsRows, screen).c_str(),
                                         [screen, paint = paint](benchmark::State& state) {
                                             RecordingCanvas canvas({screen.width, screen.height}, kBlack,
                                                                    PixelOrder::Dib);
                                             for (auto _ : state) {
                                                 paint(canvas);
                                                 benchmark::DoNotOptimize(canvas.TakeRows());
                                             }
                                         })
                ->Unit(benchmark::kMicrosecond)
                ->ComputeStatistics(kFastest, Fastest);
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
