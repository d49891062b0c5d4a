// The DDC/CI worker against a fake monitor whose every call takes callMs of a fake
// clock, driven by requests that arrive at set times.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "monitor/SettingsWorker.h"

namespace {

constexpr std::uint64_t kSlowCallMs = 40;

struct Event {
    std::uint64_t at;
    std::function<void(SettingsRequest&)> change;
};

struct Written {
    std::uint64_t at;
    std::string monitor;
    int physical;
    std::uint8_t code;
    std::uint32_t value;
};

class FakeRun final : public MonitorLink, public WorkerSide {
public:
    // The monitor.
    int Open(const char* name) override
    {
        opened.push_back(name);
        Spend();
        return physicals;
    }
    void Close() override { ++closes; }
    bool Capabilities(std::span<char> out) override
    {
        Spend();
        std::strncpy(out.data(), caps.c_str(), out.size());
        return !caps.empty();
    }
    bool Read(int, std::uint8_t code, VcpReading& reading) override
    {
        Spend();
        readTimes.push_back(now);
        if (failReads > 0 && failReads-- > 0) return false;
        if (!values.contains(code)) return false;
        reading = values[code];
        return true;
    }
    bool Write(int physical, std::uint8_t code, std::uint32_t value) override
    {
        Spend();
        writes.push_back({now, opened.back(), physical, code, value});
        if (!ignoreWrites && values.contains(code)) values[code].current = value;
        return true;
    }

    // The worker's side.
    bool Stopped() override { return now >= stopAt; }
    bool WaitForRequest() override
    {
        if (next == events.size()) return false;  // nothing more will come: the stop
        now = std::max(now, events[next].at);
        Apply();
        return true;
    }
    bool Pause(std::uint32_t ms) override
    {
        now += ms;
        Apply();
        return !Stopped();
    }
    // As the mailbox does: carried values are handed over once.
    void TakeRequest(SettingsRequest& out) override
    {
        out = request;
        request.carried.count = 0;
    }
    void Report(const SettingsReport& report) override { reports.push_back(report); }

    void At(std::uint64_t at, std::function<void(SettingsRequest&)> change) { events.push_back({at, std::move(change)}); }
    // A post from the wizard: the step or monitor moves on, carrying a row's last position.
    void PostCarrying(std::uint64_t at, CarriedValue carried, std::function<void(SettingsRequest&)> change)
    {
        At(at, [=](SettingsRequest& pending) {
            SettingsRequest newer = pending;
            newer.carried = {1, {carried}};
            change(newer);
            MergeRequest(pending, newer);
        });
    }
    // A step that names these settings, on monitor "\\.\DISPLAY1".
    void Ask(std::initializer_list<std::uint8_t> codes)
    {
        std::strcpy(request.monitorName, "\\\\.\\DISPLAY1");
        request.count = 0;
        for (std::uint8_t c : codes) request.codes[request.count++] = c;
        request.readGeneration = 1;
    }
    void Run()
    {
        SettingsWorker worker(*this, *this);
        worker.Run();
    }
    const SettingRow& Last(int row) const { return reports.back().rows[row]; }

    SettingsRequest request{};
    std::map<std::uint8_t, VcpReading> values{{0x10, {50, 100}}, {0x12, {70, 100}}};
    std::string caps = "(vcp(10 12))";
    std::uint64_t callMs = kSlowCallMs;
    int physicals = 1;
    int failReads = 0;
    bool ignoreWrites = false;
    std::uint64_t now = 0;
    std::uint64_t stopAt = ~std::uint64_t{0};
    std::vector<std::uint64_t> callStarts;
    std::vector<std::string> opened;
    int closes = 0;
    std::vector<std::uint64_t> readTimes;
    std::vector<Written> writes;
    std::vector<SettingsReport> reports;

private:
    void Spend()
    {
        callStarts.push_back(now);
        now += callMs;
        Apply();
    }
    void Apply()
    {
        while (next < events.size() && events[next].at <= now) events[next++].change(request);
    }
    std::vector<Event> events;
    std::size_t next = 0;
};

// A drag: one new position every 10 ms.
void Drag(FakeRun& run, std::uint64_t from, int row, std::uint32_t first, std::uint32_t last)
{
    for (std::uint32_t v = first; v <= last; ++v)
        run.At(from + (v - first) * 10, [row, v](SettingsRequest& r) {
            r.wanted[row] = v;
            r.wantedSerial[row] += 1;
        });
}

TEST(SettingsWorker, ReadsEachRowAndKeepsTheFirstReadingForRestore)
{
    FakeRun run;
    run.Ask({0x10, 0x12});
    Drag(run, 1000, 0, 80, 80);
    run.At(2000, [](SettingsRequest& r) { r.readGeneration = 2; });  // the next step
    run.Run();
    ASSERT_EQ(run.reports.front().count, 2);
    EXPECT_EQ(run.reports.front().rows[1].state, SettingState::Ready);
    EXPECT_EQ(run.reports.front().rows[1].reading.current, 70u);
    EXPECT_EQ(run.Last(0).reading.current, 80u);
    EXPECT_EQ(run.Last(0).original, 50u);
    EXPECT_EQ(run.opened.size(), 1u);
    EXPECT_EQ(run.closes, 1);
}

TEST(SettingsWorker, ADragWritesAtMostEvery50msAndAlwaysItsLastPosition)
{
    FakeRun run;
    run.callMs = 0;
    run.Ask({0x10});
    Drag(run, 1000, 0, 1, 40);  // 400 ms
    run.Run();
    ASSERT_FALSE(run.writes.empty());
    for (std::size_t i = 1; i < run.writes.size(); ++i)
        EXPECT_GE(run.writes[i].at - run.writes[i - 1].at, kWriteSpacingMs);
    EXPECT_LT(run.writes.size(), 12u);
    EXPECT_EQ(run.writes.back().value, 40u);
    EXPECT_EQ(run.Last(0).state, SettingState::Ready);
    EXPECT_EQ(run.values[0x10].current, 40u);
}

TEST(SettingsWorker, EveryLastPositionIsWrittenOnceToItsMonitorWhateverIsPostedBeforeTheWorkerTakesIt)
{
    FakeRun run;
    run.physicals = 2;
    run.Ask({0x10});
    Drag(run, 1000, 0, 60, 61);
    // Next while 60 is read back, then Next and another monitor before the worker takes it.
    run.PostCarrying(1020, {"\\\\.\\DISPLAY1", 0x10, 61}, [](SettingsRequest& r) {
        r.readGeneration = 2;
        r.codes[0] = 0x12;
        r.wantedSerial[0] = 0;
    });
    run.At(1025, [](SettingsRequest& r) { r.readGeneration = 3; });
    run.At(1030, [](SettingsRequest& r) {
        std::strcpy(r.monitorName, "\\\\.\\DISPLAY2");
        r.readGeneration = 4;
    });
    // A resume just after another drag: written once the monitor is open again, and once only.
    for (const std::uint32_t generation : {1, 2})
        run.PostCarrying(2000 + generation * 1000, {"\\\\.\\DISPLAY2", 0x12, 33}, [=](SettingsRequest& r) {
            r.readGeneration = 4 + generation;
            r.openGeneration = generation;
        });
    run.Run();
    std::vector<std::string> written;  // to both monitors of each clone
    for (const Written& w : run.writes)
        written.push_back(w.monitor.substr(4) + " " + std::to_string(w.code) + "=" + std::to_string(w.value));
    EXPECT_EQ(written, (std::vector<std::string>{"DISPLAY1 16=60", "DISPLAY1 16=60", "DISPLAY1 16=61", "DISPLAY1 16=61",
                                                 "DISPLAY2 18=33", "DISPLAY2 18=33"}));
    ASSERT_EQ(run.writes.size(), 6u);
    const std::uint64_t carriedAt = run.writes[3].at;  // when the carried write ended
    const auto next = std::find_if(run.callStarts.begin(), run.callStarts.end(), [&](auto t) { return t >= carriedAt; });
    ASSERT_NE(next, run.callStarts.end());
    EXPECT_GE(*next - carriedAt, kWriteSpacingMs);
    EXPECT_EQ(run.Last(0).code, 0x12);
}

TEST(SettingsWorker, CarriedValuesMergeAcrossPostsNewestLastAndTheOldestGoesWhenFull)
{
    SettingsRequest pending{}, newer{};
    for (const CarriedValue& carried : {CarriedValue{"A", 0x10, 61}, CarriedValue{"B", 0x10, 5}, CarriedValue{"A", 0x10, 62}}) {
        newer.readGeneration += 1;
        newer.carried = {1, {carried}};
        MergeRequest(pending, newer);
    }
    EXPECT_EQ(pending.readGeneration, 3u);
    ASSERT_EQ(pending.carried.count, 2);
    EXPECT_EQ(pending.carried.values[1].value, 62u);
    for (int i = 0; i < kMaxCarried; ++i) AddCarried(pending.carried, {"C", static_cast<std::uint8_t>(i), 1});
    EXPECT_STREQ(pending.carried.values[0].monitorName, "C");
}

// A monitor taking 500 ms per call, asked to stop while it reads the capabilities or a
// row: nothing more after the call under way.
TEST(SettingsWorker, TheStopIsLookedAtBetweenEveryTwoCallsToTheMonitor)
{
    for (const std::uint64_t stopAt : {100, 600}) {
        FakeRun run;
        run.callMs = 500;
        run.stopAt = stopAt;
        run.Ask({0x10, 0x12, 0x16});
        run.Run();
        ASSERT_FALSE(run.callStarts.empty());
        EXPECT_LT(run.callStarts.back(), run.stopAt);
        EXPECT_EQ(run.closes, 1);
    }
}

TEST(SettingsWorker, AWriteTheMonitorIgnoresIsReadBackThreeTimesThenReported)
{
    FakeRun run;
    run.ignoreWrites = true;
    run.Ask({0x10});
    Drag(run, 1000, 0, 90, 90);
    run.Run();
    ASSERT_EQ(run.writes.size(), 1u);
    const auto reads = std::count_if(run.readTimes.begin(), run.readTimes.end(), [](auto t) { return t > 1000; });
    EXPECT_EQ(reads, kReadTries);
    EXPECT_EQ(run.Last(0).state, SettingState::NotTaken);
    EXPECT_EQ(run.Last(0).reading.current, 50u);

    FakeRun silent;  // a read-back that never answers: the monitor no longer speaks DDC/CI
    silent.Ask({0x10});
    Drag(silent, 1000, 0, 90, 90);
    silent.At(1001, [&silent](SettingsRequest&) { silent.failReads = kReadTries; });
    silent.Run();
    EXPECT_EQ(silent.Last(0).state, SettingState::NoDdc);
}

// Whatever a guide names: resets, power, input and choices the monitor lists with values.
TEST(SettingsWorker, NoSliderReadsOrWritesASettingThatIsNoLevel)
{
    FakeRun run;
    run.caps = "(vcp(04 10 60(0F 11) 62(01 02) D6(01 04)))";
    for (const std::uint8_t code : {0x04, 0x60, 0x62, 0xD6}) run.values[code] = {1, 100};
    run.Ask({0x60, 0xD6, 0x10});
    Drag(run, 1000, 0, 5, 5);
    Drag(run, 1000, 1, 2, 2);
    run.PostCarrying(2000, {"\\\\.\\DISPLAY1", 0x04, 1}, [](SettingsRequest& r) { r.openGeneration = 1; });
    run.Run();
    EXPECT_EQ(run.Last(0).state, SettingState::NoDdc);
    EXPECT_EQ(run.Last(1).state, SettingState::NoDdc);
    EXPECT_EQ(run.Last(2).state, SettingState::Ready);
    EXPECT_EQ(run.readTimes.size(), 2u);  // 0x10, before and after the resume
    EXPECT_TRUE(run.writes.empty());
}

TEST(SettingsWorker, UnlistedCodesAreProbedAndNeverWrittenUnlessPlausible)
{
    for (const std::string caps : {"", "(vcp(02))", "(vcp(1 x))", "(vcp(10 12))"}) {
        FakeRun run;
        run.caps = caps;
        run.values[0x12] = {0, 0};  // no range: not plausible, and a listed code needs one
        run.values[0x16] = {150, 100};
        run.Ask({0x10, 0x12, 0x16});
        Drag(run, 1000, 1, 5, 5);
        Drag(run, 1000, 2, 5, 5);
        run.Run();
        EXPECT_EQ(run.Last(0).state, SettingState::Ready) << caps;
        EXPECT_EQ(run.Last(1).state, SettingState::NoDdc) << caps;
        EXPECT_EQ(run.Last(2).state, SettingState::NoDdc) << caps;
        EXPECT_TRUE(run.writes.empty()) << caps;
    }
}

TEST(SettingsWorker, NoDdcWithoutPhysicalMonitorsOrAfterThreeFailedReads)
{
    FakeRun none;
    none.physicals = 0;
    none.Ask({0x10});
    none.Run();
    EXPECT_EQ(none.Last(0).state, SettingState::NoDdc);

    FakeRun failing;
    failing.failReads = 3;
    failing.Ask({0x10});
    failing.Run();
    EXPECT_EQ(failing.Last(0).state, SettingState::NoDdc);
    ASSERT_EQ(failing.readTimes.size(), 3u);
    EXPECT_EQ(failing.readTimes[2] - failing.readTimes[1], kRetrySpacingMs + kSlowCallMs);

    FakeRun late;
    late.failReads = 2;
    late.Ask({0x10});
    late.Run();
    EXPECT_EQ(late.Last(0).state, SettingState::Ready);
}

TEST(SettingsWorker, ClonesAreAllWrittenAndResumeOpensTheMonitorsAfresh)
{
    FakeRun run;
    run.physicals = 2;
    run.Ask({0x10});
    Drag(run, 1000, 0, 60, 60);
    run.At(2000, [](SettingsRequest& r) { r.openGeneration += 1; });
    run.At(3000, [](SettingsRequest& r) { std::strcpy(r.monitorName, "\\\\.\\DISPLAY2"); r.readGeneration += 1; });
    run.Run();
    ASSERT_EQ(run.writes.size(), 2u);
    EXPECT_EQ(run.writes[0].physical, 0);
    EXPECT_EQ(run.writes[1].physical, 1);
    EXPECT_EQ(run.opened, (std::vector<std::string>{"\\\\.\\DISPLAY1", "\\\\.\\DISPLAY1", "\\\\.\\DISPLAY2"}));
    EXPECT_EQ(run.reports.size(), 4u);  // read, written, read after the resume, read on DISPLAY2
    EXPECT_EQ(run.Last(0).original, 60u);  // the first reading on DISPLAY2
}

}  // namespace
