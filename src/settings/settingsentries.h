#pragma once

#include <span>

namespace kestrelon {

enum class EntryKind {
    Position, // the main window's Top or Left, twips
    Text,     // a text box's text
    Slider,   // a scroll bar's value
    Option,   // an option button's state
    ChipType, // a chip's kind by its code ("3914"); only kept once it is not the default
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
// chip #1's 21 inputs, then chip #2's, then the two chips' kinds.
std::span<const SettingsEntry> settingsEntries();

} // namespace kestrelon
