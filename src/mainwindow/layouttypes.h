#pragma once

#include "colours.h"

#include <QString>

#include <cstdint>
#include <string_view>

// The main window's design as data. Geometry is in twips (15 per device-independent pixel),
// colours are 0x00BBGGRR; 0x80000000 + n is the platform's system colour n.
namespace kestrelon::layout {

enum class Kind : std::uint8_t {
    Label,
    StaticLabel, // never changed at run time: drawn by the canvas, not a widget
    TextBox,
    HScroll,
    VScroll,
    Option,
    Check,
    Frame,
    Circle,    // an LED or over-range shape, filled
    Rectangle, // the chip body
};

enum class Align : std::uint8_t { Center, Left };

struct Font {
    double points = 8.25;
    bool bold = false;
};

inline constexpr Font kDefaultFont{8.25, false};
inline constexpr Font kBold825{8.25, true};
inline constexpr Font kBold975{9.75, true};
inline constexpr Font kRegular975{9.75, false};
inline constexpr Font kBold12{12.0, true};

struct Control {
    const char* name; // design name, e.g. "lblmA"
    int index;        // control-array element, -1 for a single control
    Kind kind;
    const char* parent; // enclosing frame's name, nullptr for the window
    int parentIndex;    // enclosing frame's element, -1 if single
    int left, top, width, height;
    const char* caption;                  // caption or initial text; nullptr for none
    std::uint32_t foreColour = kNoColour; // text colour, or outline colour of a shape
    std::uint32_t backColour = kNoColour; // back colour, or fill colour of a shape
    Font font = kDefaultFont;
    Align align = Align::Center;
    bool boxed = false; // drawn with a border
    bool visible = true;
    const char* toolTip = nullptr;
    int min = 0;   // sliders: value at the left or top
    int max = 0;   // sliders: value at the right or bottom
    int value = 0; // sliders: initial value; options and check box: 1 = selected
};

struct Line {
    const char* name;
    int index1;         // element for chip #1, -1 if the line is a single control
    int index2;         // element for chip #2's copy, -1 for none
    int x1, y1, x2, y2; // chip #1 coordinates; chip #2's copy is 5160 twips higher
    std::uint32_t colour = kWindowText;
    int width = 2;
};

inline constexpr int kChipOffset = 5160;

struct TabStop {
    const char* name;
    int index;
};

struct Table {
    const Control* controls;
    int controlCount;
    const Line* lines;
    int lineCount;
    const TabStop* tabOrder;
    int tabCount;
};

// A control's object name: "name_index" for an array element, the bare name for a single one.
inline QString controlName(std::string_view name, int index) {
    QString result = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    if (index >= 0)
        result += QLatin1Char('_') + QString::number(index);
    return result;
}

// Defined in layouttable.cpp.
const Table& mainWindowTable();

} // namespace kestrelon::layout
