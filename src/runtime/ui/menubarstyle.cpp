#include "menubarstyle.h"

#include <QStyleOptionMenuItem>
#include <QWidget>

namespace kestrelon::ui {

int MenuBarStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const {
    if (hint == SH_MenuBar_AltKeyNavigation)
        return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void MenuBarStyle::drawControl(ControlElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
    // Styles mark a menu bar item only while its menu is open; these commands open none. The bar
    // has the focus only while the keyboard is in it, so a mouse passing over marks nothing.
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element == CE_MenuBarItem && item && (item->state & State_Selected) && widget &&
        widget->hasFocus()) {
        QStyleOptionMenuItem reached = *item;
        reached.state |= State_Sunken;
        QProxyStyle::drawControl(element, &reached, painter, widget);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

} // namespace kestrelon::ui
