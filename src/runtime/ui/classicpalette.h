#pragma once

#include <QPalette>

class QWidget;

// The light system colours the windows are designed on. The schematic is a drawing on a light
// sheet, its boxes and read-outs have fixed pastel and signal colours, and every text colour was
// chosen against that sheet; so the windows keep these colours whatever the desktop's theme.
namespace kestrelon::ui {

// Qt's own light palette, complete in every role and group.
const QPalette& classicPalette();

// Gives a window, and everything in it, the classic palette for good: a theme switched while it
// is open (a new application palette or style) does not reach it, so nothing is half-switched.
void keepClassicColours(QWidget* window);

} // namespace kestrelon::ui
