// Every monitor setting a run read or set, with its first and last value: what the
// report tells, what is saved for --restore, and what Restore puts back.
#pragma once

#include <cstdint>

#include "base/Limits.h"

// One monitor setting the run read or set.
struct SettingNote {
    char monitorName[kMonitorNameSize];
    std::uint8_t code;
    std::uint32_t first;  // as first read in this run
    std::uint32_t last;   // as last set or read
};

struct SettingNotes {
    int count;
    SettingNote notes[kMaxOriginals];
    std::uint32_t revision;  // counts the changes of a last value, so that a save knows it is up to date
};

// A reading: the first value it gives is the setting's first, any later one its last.
void NoteReading(SettingNotes& notes, const char* monitorName, std::uint8_t code, std::uint32_t first,
                 std::uint32_t current);
// A value the user set, which is the setting's last from now on.
void NoteSet(SettingNotes& notes, const char* monitorName, std::uint8_t code, std::uint32_t value);
// Whether any setting ends other than it began.
bool AnyChanged(const SettingNotes& notes);
