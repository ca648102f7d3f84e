#include "settingsentries.h"

#include "chipcontrols.h"

#include <array>
#include <string_view>

namespace kestrelon {

namespace {

using enum EntryKind;

// Several chip #1 keys carry no chip digit, "optRHi1"/"optRLo1" are chip #1's second options,
// and chip #2's mode keys use the digit 2: the keys are kept exactly as earlier versions wrote
// them so that existing stores keep working.
constexpr auto& kChip2 = kChipControls[1];

constexpr std::array<SettingsEntry, 46> kEntries{{
    {"frmTop", "0", Position, "Top", -1},
    {"frmLeft", "0", Position, "Left", -1},

    {"Vin0", "5", Text, "txtVin", 0},
    {"RLo", "0", Text, "txtRLo", 0},
    {"RHi", "5", Text, "txtRHi", 0},
    {"Vsup", "5", Text, "Text1", 0},
    {"VsLED0", "5", Text, "txtLED", 0},
    {"hsR1val0", "700", Slider, "hsR1", 0},
    {"vsR2val0", "360", Slider, "vsR2", 0},
    {"vsVin", "500", Slider, "vsVin", 0},
    {"vsRHi", "500", Slider, "vsRHi", 0},
    {"vsRLo", "360", Slider, "vsRLo", 0},
    {"optMode0", "1", Option, "optMode", 0},
    {"optMode1", "0", Option, "optMode", 1},
    {"optRHi0", "1", Option, "optRHi", 0},
    {"optRHi1", "0", Option, "optRHi", 1},
    {"optRLo0", "1", Option, "optRLo", 0},
    {"optRLo1", "0", Option, "optRLo", 1},
    {"optLED00", "1", Option, "optLED", 0},
    {"optLED01", "0", Option, "optLED", 1},
    {"optLED02", "0", Option, "optLED", 2},
    {"optLED03", "0", Option, "optLED", 3},
    {"optLED04", "0", Option, "optLED", 4},

    {"Vin1", "5", Text, "txtVin", 1},
    {"RLo1", "0", Text, "txtRLo", 1},
    {"RHi1", "5", Text, "txtRHi", 1},
    {"Vsup1", "5", Text, "Text1", 1},
    {"VsLED1", "5", Text, "txtLED", 1},
    {"hsR1val1", "700", Slider, "hsR1", 1},
    {"vsR2val1", "360", Slider, "vsR2", 1},
    {"vsVin1", "500", Slider, "vsVin", 1},
    {"vsRHi1", "500", Slider, "vsRHi", 1},
    {"vsRLo1", "360", Slider, "vsRLo", 1},
    {"optMode20", "1", Option, kChip2.optMode, 0},
    {"optMode21", "0", Option, kChip2.optMode, 1},
    {"optRHi10", "1", Option, kChip2.optRHi, 0},
    {"optRHi11", "0", Option, kChip2.optRHi, 1},
    {"optRLo10", "1", Option, kChip2.optRLo, 0},
    {"optRLo11", "0", Option, kChip2.optRLo, 1},
    {"optLED10", "1", Option, kChip2.optLED, 0},
    {"optLED11", "0", Option, kChip2.optLED, 1},
    {"optLED12", "0", Option, kChip2.optLED, 2},
    {"optLED13", "0", Option, kChip2.optLED, 3},
    {"optLED14", "0", Option, kChip2.optLED, 4},

    {kChipControls[0].chipType, "3914", ChipType, "chipType", 0},
    {kChip2.chipType, "3914", ChipType, "chipType", 1},
}};

constexpr char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

constexpr bool sameKeyIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    }
    return true;
}

// Keys are matched without regard to case, so two keys that differ only in case would share
// one stored entry.
constexpr bool keysDistinctIgnoringCase() {
    for (std::size_t i = 0; i < kEntries.size(); ++i) {
        for (std::size_t j = i + 1; j < kEntries.size(); ++j) {
            if (sameKeyIgnoringCase(kEntries[i].key, kEntries[j].key))
                return false;
        }
    }
    return true;
}

constexpr bool positionsNameTopOrLeft() {
    for (const SettingsEntry& e : kEntries) {
        const std::string_view control = e.control;
        if ((e.kind == Position) != (control == "Top" || control == "Left"))
            return false;
    }
    return true;
}

static_assert(keysDistinctIgnoringCase());
static_assert(positionsNameTopOrLeft());

} // namespace

std::span<const SettingsEntry> settingsEntries() {
    return kEntries;
}

} // namespace kestrelon
