// What the DDC/CI worker thread does, apart from being a thread: opens the physical
// monitors of the wizard's monitor, reads the rows' settings, writes the newest wanted
// value at most once per kWriteSpacingMs and reads it back. Runs natively in tests
// against a fake monitor and a fake clock.
#pragma once

#include <cstdint>

#include "monitor/Capabilities.h"
#include "platform/Platform.h"

inline constexpr std::uint32_t kWriteSpacingMs = 50;
inline constexpr std::uint32_t kRetrySpacingMs = 50;
inline constexpr int kReadTries = 3;

// Adds a carried value in place of an older one for the same monitor and code; when
// the list is full, the oldest is given up.
void AddCarried(CarriedValues& list, const CarriedValue& value);
// What posting a newer request makes of one the worker has not taken yet: the newer
// one, carrying the values of both.
void MergeRequest(SettingsRequest& pending, const SettingsRequest& newer);

class SettingsWorker {
public:
    SettingsWorker(MonitorLink& link, WorkerSide& side) : link_(link), side_(side) {}
    SettingsWorker(const SettingsWorker&) = delete;
    SettingsWorker& operator=(const SettingsWorker&) = delete;
    // Until the stop; the physical monitors are released before it returns.
    void Run();

private:
    struct Original {
        char monitorName[kMonitorNameSize];
        std::uint8_t code;
        std::uint32_t value;
    };

    void TakeRequest();
    bool Going() { return !side_.Stopped(); }
    bool IsOpen(const char* monitorName) const;
    bool Open(const char* monitorName);
    bool WriteCarried();
    bool ReadRows();
    bool ReadWithRetries(std::uint8_t code, VcpReading& reading, bool& ok);
    bool Usable(std::uint8_t code, const VcpReading& reading) const;
    std::uint32_t OriginalOf(std::uint8_t code, std::uint32_t current);
    SettingRow* RowOf(std::uint8_t code);
    bool WriteToAll(std::uint8_t code, std::uint32_t value);
    // Writes the newest wanted value that is due; false on the stop.
    bool WriteDue(bool& wrote);
    bool WriteAndReadBack(int row);
    void ReportRows();

    MonitorLink& link_;
    WorkerSide& side_;
    SettingsRequest request_{};
    CarriedValues carried_{};  // taken, not yet written
    CarriedValues written_{};  // the last value written to each setting of each monitor
    std::uint32_t openGeneration_ = 0;
    std::uint32_t readGeneration_ = 0;
    bool opened_ = false;
    bool rowsRead_ = false;  // rows_ hold readings of the monitor open now
    char openedName_[kMonitorNameSize] = {};
    int physicalCount_ = 0;
    VcpCodes caps_;
    SettingRow rows_[kMaxSettingRows] = {};
    int rowCount_ = 0;
    Original originals_[kMaxOriginals] = {};
    int originalCount_ = 0;
    char capsText_[kCapabilitiesSize] = {};
};
