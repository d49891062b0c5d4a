#include "monitor/SettingsWorker.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "base/Text.h"

// The read-back's pause is what spaces the writes.
static_assert(kRetrySpacingMs >= kWriteSpacingMs);

namespace {

bool Plausible(const VcpReading& reading) { return reading.maximum > 0 && reading.current <= reading.maximum; }


// Where the list holds a value for the same monitor and code; -1 where it holds none.
int IndexOf(const CarriedValues& list, const CarriedValue& value)
{
    for (int i = 0; i < std::clamp(list.count, 0, kMaxCarried); ++i)
        if (list.values[i].code == value.code && SameMonitorName(list.values[i].monitorName, value.monitorName)) return i;
    return -1;
}

}  // namespace

void AddCarried(CarriedValues& list, const CarriedValue& value)
{
    list.count = std::clamp(list.count, 0, kMaxCarried);
    CarriedValue* const end = list.values + list.count;
    const int same = IndexOf(list, value);
    // The newest stays last; the one it replaces, or the oldest when there is no room, goes.
    CarriedValue* const gone = same >= 0 ? list.values + same : list.count == kMaxCarried ? list.values : end;
    if (gone != end) {
        std::copy(gone + 1, end, gone);
        --list.count;
    }
    CarriedValue& added = list.values[list.count++];
    added = value;
    added.monitorName[kMonitorNameSize - 1] = '\0';
}

void MergeRequest(SettingsRequest& pending, const SettingsRequest& newer)
{
    const CarriedValues carried = pending.carried;
    pending = newer;
    pending.carried = carried;
    for (int i = 0; i < std::clamp(newer.carried.count, 0, kMaxCarried); ++i)
        AddCarried(pending.carried, newer.carried.values[i]);
}

void SettingsWorker::TakeRequest()
{
    side_.TakeRequest(request_);
    request_.monitorName[kMonitorNameSize - 1] = '\0';
    for (int i = 0; i < std::clamp(request_.carried.count, 0, kMaxCarried); ++i)
        AddCarried(carried_, request_.carried.values[i]);
    request_.carried.count = 0;
}

void SettingsWorker::Run()
{
    for (;;) {
        TakeRequest();
        if (!WriteCarried()) break;
        if (request_.count > 0 && !IsOpen(request_.monitorName)) {
            if (!Open(request_.monitorName) || !ReadRows()) break;
            continue;
        }
        if (!rowsRead_ || request_.readGeneration != readGeneration_) {
            if (!ReadRows()) break;
            continue;
        }
        bool wrote = false;
        if (!WriteDue(wrote)) break;
        if (wrote) continue;  // the request may have moved on meanwhile
        if (!side_.WaitForRequest()) break;
    }
    if (opened_) link_.Close();
}

bool SettingsWorker::IsOpen(const char* monitorName) const
{
    return opened_ && SameMonitorName(openedName_, monitorName) && openGeneration_ == request_.openGeneration;
}

// Stale handles are what stops these tools working after sleep: every new monitor,
// and every resume, opens the physical monitors afresh and reads the rows again.
bool SettingsWorker::Open(const char* monitorName)
{
    CopyText(openedName_, std::string_view(monitorName, strnlen(monitorName, kMonitorNameSize - 1)));
    openGeneration_ = request_.openGeneration;
    opened_ = true;
    rowsRead_ = false;
    rowCount_ = 0;
    caps_ = {};
    physicalCount_ = link_.Open(openedName_);
    if (physicalCount_ > 0 && Going() && link_.Capabilities(capsText_)) {
        capsText_[kCapabilitiesSize - 1] = '\0';
        caps_ = ParseCapabilities(capsText_);
    }
    return Going();
}

// Each to the monitor it was read from, opened again if the worker has moved on from
// it, before anything else; on that monitor, only codes that proved writable there. A
// value written already, whose read-back the wizard had not yet seen, is not written again.
bool SettingsWorker::WriteCarried()
{
    for (int i = 0; i < carried_.count; ++i) {
        const CarriedValue& carried = carried_.values[i];
        const int written = IndexOf(written_, carried);
        if (written >= 0 && written_.values[written].value == carried.value) continue;
        if (!IsOpen(carried.monitorName) && !Open(carried.monitorName)) return false;
        std::uint32_t value = carried.value;
        if (SettingRow* row = RowOf(carried.code); row != nullptr) {
            value = std::min(value, row->reading.maximum);
            if (!Writable(row->state) || row->reading.current == value) continue;
            row->reading.current = value;
        }
        // Rows never offer such a setting; a value carried to a monitor opened again has no row.
        if (physicalCount_ == 0 || !SliderMayWrite(carried.code, caps_)) continue;
        if (!WriteToAll(carried.code, value) || !side_.Pause(kWriteSpacingMs)) return false;
    }
    carried_.count = 0;
    return true;
}

bool SettingsWorker::ReadRows()
{
    readGeneration_ = request_.readGeneration;
    rowsRead_ = true;
    rowCount_ = std::clamp(request_.count, 0, kMaxSettingRows);
    for (int i = 0; i < rowCount_; ++i) {
        SettingRow& row = rows_[i];
        row = {};
        row.code = request_.codes[i];
        // Wanted values made before this reading are the old rows'.
        row.serial = request_.wantedSerial[i];
        row.state = SettingState::NoDdc;
        // A setting no trackbar may move is shown as one the monitor does not offer.
        if (physicalCount_ <= 0 || !SliderMayWrite(row.code, caps_)) continue;
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
        if (!Going()) return false;
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
        if (o.code == code && SameMonitorName(o.monitorName, openedName_)) return o.value;
    }
    if (originalCount_ < kMaxOriginals) {
        Original& o = originals_[originalCount_++];
        std::memcpy(o.monitorName, openedName_, sizeof o.monitorName);
        o.code = code;
        o.value = current;
    }
    return current;
}

SettingRow* SettingsWorker::RowOf(std::uint8_t code)
{
    if (!rowsRead_) return nullptr;
    SettingRow* const end = rows_ + rowCount_;
    SettingRow* const row = std::find_if(rows_, end, [code](const SettingRow& r) { return r.code == code; });
    return row != end ? row : nullptr;
}

// Every physical monitor of a cloned display.
bool SettingsWorker::WriteToAll(std::uint8_t code, std::uint32_t value)
{
    for (int p = 0; p < physicalCount_; ++p) {
        if (!Going()) return false;
        link_.Write(p, code, value);
    }
    CarriedValue written{};
    std::memcpy(written.monitorName, openedName_, sizeof written.monitorName);
    written.code = code;
    written.value = value;
    AddCarried(written_, written);
    return true;
}

bool SettingsWorker::WriteDue(bool& wrote)
{
    for (int i = 0; i < rowCount_; ++i) {
        if (!Writable(rows_[i].state) || request_.wantedSerial[i] == rows_[i].serial) continue;
        wrote = true;
        return WriteAndReadBack(i);
    }
    return true;
}

// Readings come from the first physical monitor. A write that "succeeds" may change
// nothing, so only a read-back tells. The pause before it also keeps writes
// kWriteSpacingMs apart, however fast the drag.
bool SettingsWorker::WriteAndReadBack(int i)
{
    SettingRow& row = rows_[i];
    const std::uint32_t value = std::min(request_.wanted[i], row.reading.maximum);
    row.serial = request_.wantedSerial[i];
    if (!WriteToAll(row.code, value)) return false;

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
