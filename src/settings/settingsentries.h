#pragma once

#include <span>

namespace kestrelon {

enum class EntryKind {
    Position, // the main window's Top or Left, twips
    Text,     // a text box's text
    Slider,   // a scroll bar's value
    Option,   // an option button's state
};

// One stored input: its key in the store's "Properties" group, the text read when the store
// has no entry, and the control it belongs to.
struct SettingsEntry {
    const char* key;
    const char* defaultText;
    EntryKind kind;
    const char* control; // design name, e.g. "txtVin"; "Top" or "Left" for a position
    int index;           // control-array element; -1 for a position
};

// All entries, in the order in which they are saved and restored: the window's position, then
// chip #1's 21 inputs, then chip #2's.
std::span<const SettingsEntry> settingsEntries();

// The ambient temperature the design checks assume, in °C; stored only once it differs from the
// default, so that a store without it keeps every byte.
inline constexpr char16_t kAmbientKey[] = u"Ambient";

} // namespace kestrelon
