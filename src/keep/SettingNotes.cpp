#include "keep/SettingNotes.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "base/Text.h"

namespace {

SettingNote* Find(SettingNotes& notes, const char* monitorName, std::uint8_t code)
{
    for (int i = 0; i < std::clamp(notes.count, 0, kMaxOriginals); ++i)
        if (notes.notes[i].code == code && SameMonitorName(notes.notes[i].monitorName, monitorName)) return &notes.notes[i];
    return nullptr;
}

SettingNote* Add(SettingNotes& notes, const char* monitorName, std::uint8_t code, std::uint32_t first)
{
    if (notes.count < 0 || notes.count >= kMaxOriginals) return nullptr;
    SettingNote& note = notes.notes[notes.count++];
    CopyText(note.monitorName, std::string_view(monitorName, strnlen(monitorName, kMonitorNameSize - 1)));
    note.code = code;
    note.first = note.last = first;
    return &note;
}

void SetLast(SettingNotes& notes, SettingNote& note, std::uint32_t value)
{
    if (note.last == value) return;
    note.last = value;
    ++notes.revision;
}

}  // namespace

void NoteReading(SettingNotes& notes, const char* monitorName, std::uint8_t code, std::uint32_t first,
                 std::uint32_t current)
{
    SettingNote* note = Find(notes, monitorName, code);
    if (note == nullptr) note = Add(notes, monitorName, code, first);
    if (note != nullptr) SetLast(notes, *note, current);
}

void NoteSet(SettingNotes& notes, const char* monitorName, std::uint8_t code, std::uint32_t value)
{
    if (SettingNote* note = Find(notes, monitorName, code); note != nullptr) SetLast(notes, *note, value);
}

bool AnyChanged(const SettingNotes& notes)
{
    for (int i = 0; i < std::clamp(notes.count, 0, kMaxOriginals); ++i)
        if (notes.notes[i].first != notes.notes[i].last) return true;
    return false;
}
