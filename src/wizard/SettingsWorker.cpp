#include "wizard/SettingsWorker.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "app/Text.h"

// The read-back's pause is what spaces the writes.
static_assert(kRetrySpacingMs >= kWriteSpacingMs);

namespace {

bool Plausible(const VcpReading& reading) { return reading.maximum > 0 && reading.current <= reading.maximum; }

bool Writable(const SettingRow& row) { return row.state == SettingState::Ready || row.state == SettingState::NotTaken; }

}  // namespace

void SettingsWorker::TakeRequest()
{
    side_.TakeRequest(request_);
    request_.monitorName[kDeviceNameBufferSize - 1] = '\0';
}

void SettingsWorker::Run()
{
    for (;;) {
        TakeRequest();
        const bool sameMonitor = std::strncmp(openedName_, request_.monitorName, sizeof openedName_) == 0;
        if (request_.count > 0 && (!opened_ || !sameMonitor || request_.openGeneration != openGeneration_)) {
            if (!OpenMonitors()) break;
            continue;
        }
        if (request_.readGeneration != readGeneration_) {
            if (!WriteCarried() || !ReadRows()) break;
            continue;
        }
        bool wrote = false;
        if (!WriteDue(wrote)) break;
        if (wrote) continue;  // the request may have moved on meanwhile
        if (!side_.WaitForRequest()) break;
    }
    if (opened_) link_.Close();
}

// Stale handles are what stops these tools working after sleep: every new monitor,
// and every resume, opens the physical monitors afresh and reads the rows again.
bool SettingsWorker::OpenMonitors()
{
    openGeneration_ = request_.openGeneration;
    CopyText(openedName_, request_.monitorName);
    physicalCount_ = link_.Open(openedName_);
    opened_ = true;
    caps_ = {};
    if (physicalCount_ > 0 && link_.Capabilities(capsText_)) {
        capsText_[kCapabilitiesSize - 1] = '\0';
        caps_ = ParseCapabilities(capsText_);
    }
    return ReadRows();
}

// Only onto the monitor that the rows just left were read from, and only codes that
// proved writable there.
bool SettingsWorker::WriteCarried()
{
    for (int c = 0; c < std::clamp(request_.carryCount, 0, kMaxSettingRows); ++c) {
        for (int i = 0; i < rowCount_; ++i) {
            SettingRow& row = rows_[i];
            const std::uint32_t value = std::min(request_.carryValues[c], row.reading.maximum);
            if (row.code != request_.carryCodes[c] || !Writable(row) || row.reading.current == value) continue;
            for (int p = 0; p < physicalCount_; ++p) link_.Write(p, row.code, value);
            row.reading.current = value;
            if (!side_.Pause(kWriteSpacingMs)) return false;
        }
    }
    return true;
}

bool SettingsWorker::ReadRows()
{
    readGeneration_ = request_.readGeneration;
    rowCount_ = std::clamp(request_.count, 0, kMaxSettingRows);
    for (int i = 0; i < rowCount_; ++i) {
        SettingRow& row = rows_[i];
        row = {};
        row.code = request_.codes[i];
        // Wanted values made before this reading are the old rows'.
        row.serial = request_.wantedSerial[i];
        row.state = SettingState::NoDdc;
        if (physicalCount_ <= 0) continue;
        bool ok = false;
        if (!ReadWithRetries(row.code, row.reading, ok)) return false;
        if (!ok || !Usable(row.code, row.reading)) continue;
        row.state = SettingState::Ready;
        row.original = OriginalOf(row.code, row.reading.current);
    }
    ReportRows();
    return true;
}

bool SettingsWorker::ReadWithRetries(std::uint8_t code, VcpReading& reading, bool& ok)
{
    for (int attempt = 0; attempt < kReadTries; ++attempt) {
        if (attempt > 0 && !side_.Pause(kRetrySpacingMs)) return false;
        ok = link_.Read(0, code, reading);
        if (ok) return true;
    }
    return true;
}

// A listed code needs a reading with a range; one the string does not list, or any
// code when the string could not be read, must give a plausible reading: many
// monitors list too little and still take the setting.
bool SettingsWorker::Usable(std::uint8_t code, const VcpReading& reading) const
{
    if (caps_.parsed && caps_.listed.test(code)) return reading.maximum > 0;
    return Plausible(reading);
}

std::uint32_t SettingsWorker::OriginalOf(std::uint8_t code, std::uint32_t current)
{
    for (int i = 0; i < originalCount_; ++i) {
        const Original& o = originals_[i];
        if (o.code == code && std::strncmp(o.monitorName, openedName_, sizeof openedName_) == 0) return o.value;
    }
    if (originalCount_ < kMaxOriginals) {
        Original& o = originals_[originalCount_++];
        std::memcpy(o.monitorName, openedName_, sizeof o.monitorName);
        o.code = code;
        o.value = current;
    }
    return current;
}

bool SettingsWorker::WriteDue(bool& wrote)
{
    for (int i = 0; i < rowCount_; ++i) {
        if (!Writable(rows_[i]) || request_.wantedSerial[i] == rows_[i].serial) continue;
        wrote = true;
        return WriteAndReadBack(i);
    }
    return true;
}

// Writes go to every physical monitor of a cloned display; readings come from the
// first. A write that "succeeds" may change nothing, so only a read-back tells. The
// pause before it also keeps writes kWriteSpacingMs apart, however fast the drag.
bool SettingsWorker::WriteAndReadBack(int i)
{
    SettingRow& row = rows_[i];
    const std::uint32_t value = std::min(request_.wanted[i], row.reading.maximum);
    row.serial = request_.wantedSerial[i];
    for (int p = 0; p < physicalCount_; ++p) link_.Write(p, row.code, value);

    bool readOnce = false;
    for (int attempt = 0; attempt < kReadTries; ++attempt) {
        if (!side_.Pause(kRetrySpacingMs)) return false;
        VcpReading reading{};
        if (link_.Read(0, row.code, reading)) {
            readOnce = true;
            row.reading = reading;
            if (reading.current == value) break;
        }
        // A newer position makes this one moot; its own read-back will tell.
        TakeRequest();
        if (request_.readGeneration != readGeneration_ || request_.wantedSerial[i] != row.serial) return true;
    }
    if (!readOnce)
        row.state = SettingState::NoDdc;
    else
        row.state = row.reading.current == value ? SettingState::Ready : SettingState::NotTaken;
    ReportRows();
    return true;
}

void SettingsWorker::ReportRows()
{
    SettingsReport report{};
    report.readGeneration = readGeneration_;
    report.count = rowCount_;
    std::copy(rows_, rows_ + rowCount_, report.rows);
    side_.Report(report);
}
