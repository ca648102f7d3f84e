#pragma once

#include <QProxyStyle>

namespace kestrelon::ui {

// For a menu bar of commands without menus: Alt alone takes the keyboard to it, and the command
// the arrow keys reach is drawn highlighted, as a pressed one is, so the user sees where they are.
class MenuBarStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
};

} // namespace kestrelon::ui
