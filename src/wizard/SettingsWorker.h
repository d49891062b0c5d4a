// What the DDC/CI worker thread does, apart from being a thread: opens the physical
// monitors of the wizard's monitor, reads the rows' settings, writes the newest wanted
// value at most once per kWriteSpacingMs and reads it back. Runs natively in tests
// against a fake monitor and a fake clock.
#pragma once

#include <cstdint>

#include "platform/Platform.h"
#include "wizard/Capabilities.h"

inline constexpr std::uint32_t kWriteSpacingMs = 50;
inline constexpr std::uint32_t kRetrySpacingMs = 50;
inline constexpr int kReadTries = 3;
// Buffers of the worker: longer capabilities strings are cut, and the originals of
// more settings than this are not kept.
inline constexpr std::size_t kCapabilitiesSize = 8192;
inline constexpr int kMaxOriginals = 64;

class SettingsWorker {
public:
    SettingsWorker(MonitorLink& link, WorkerSide& side) : link_(link), side_(side) {}
    SettingsWorker(const SettingsWorker&) = delete;
    SettingsWorker& operator=(const SettingsWorker&) = delete;
    // Until the stop; the physical monitors are released before it returns.
    void Run();

private:
    struct Original {
        char monitorName[kDeviceNameBufferSize];
        std::uint8_t code;
        std::uint32_t value;
    };

    void TakeRequest();
    bool OpenMonitors();
    bool WriteCarried();
    bool ReadRows();
    bool ReadWithRetries(std::uint8_t code, VcpReading& reading, bool& ok);
    bool Usable(std::uint8_t code, const VcpReading& reading) const;
    std::uint32_t OriginalOf(std::uint8_t code, std::uint32_t current);
    // Writes the newest wanted value that is due; false on the stop.
    bool WriteDue(bool& wrote);
    bool WriteAndReadBack(int row);
    void ReportRows();

    MonitorLink& link_;
    WorkerSide& side_;
    SettingsRequest request_{};
    std::uint32_t openGeneration_ = 0;
    std::uint32_t readGeneration_ = 0;
    bool opened_ = false;
    char openedName_[kDeviceNameBufferSize] = {};
    int physicalCount_ = 0;
    VcpCodes caps_;
    SettingRow rows_[kMaxSettingRows] = {};
    int rowCount_ = 0;
    Original originals_[kMaxOriginals] = {};
    int originalCount_ = 0;
    char capsText_[kCapabilitiesSize] = {};
};
