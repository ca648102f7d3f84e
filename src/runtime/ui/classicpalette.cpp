#include "classicpalette.h"

#include <QWidget>

#include <array>

namespace kestrelon::ui {

namespace {

struct RoleColours {
    QPalette::ColorRole role;
    QRgb active, disabled, inactive;
};

constexpr std::array<RoleColours, 21> kRoles{{
    {QPalette::WindowText, 0x000000, 0xbebebe, 0x000000},
    {QPalette::Button, 0xefefef, 0xefefef, 0xefefef},
    {QPalette::Light, 0xffffff, 0xffffff, 0xffffff},
    {QPalette::Midlight, 0xcacaca, 0xcacaca, 0xcacaca},
    {QPalette::Dark, 0x9f9f9f, 0xbebebe, 0x9f9f9f},
    {QPalette::Mid, 0xb8b8b8, 0xb8b8b8, 0xb8b8b8},
    {QPalette::Text, 0x000000, 0xbebebe, 0x000000},
    {QPalette::BrightText, 0xffffff, 0xffffff, 0xffffff},
    {QPalette::ButtonText, 0x000000, 0xbebebe, 0x000000},
    {QPalette::Base, 0xffffff, 0xefefef, 0xffffff},
    {QPalette::Window, 0xefefef, 0xefefef, 0xefefef},
    {QPalette::Shadow, 0x767676, 0xb1b1b1, 0x767676},
    {QPalette::Highlight, 0x308cc6, 0x919191, 0x308cc6},
    {QPalette::HighlightedText, 0xffffff, 0xffffff, 0xffffff},
    {QPalette::Link, 0x0000ff, 0x0000ff, 0x0000ff},
    {QPalette::LinkVisited, 0xff00ff, 0xff00ff, 0xff00ff},
    {QPalette::AlternateBase, 0xf7f7f7, 0xf7f7f7, 0xf7f7f7},
    {QPalette::NoRole, 0x000000, 0x000000, 0x000000},
    {QPalette::ToolTipBase, 0xffffdc, 0xffffdc, 0xffffdc},
    {QPalette::ToolTipText, 0x000000, 0x000000, 0x000000},
    {QPalette::PlaceholderText, 0x000000, 0x000000, 0x000000},
}};

} // namespace

const QPalette& classicPalette() {
    static const QPalette palette = [] {
        QPalette p;
        for (const RoleColours& r : kRoles) {
            p.setColor(QPalette::Active, r.role, QColor(r.active));
            p.setColor(QPalette::Disabled, r.role, QColor(r.disabled));
            p.setColor(QPalette::Inactive, r.role, QColor(r.inactive));
        }
        return p;
    }();
    return palette;
}

void keepClassicColours(QWidget* window) {
    // Every role is set on the window itself, so none is taken from the application palette,
    // now or after a theme change; the window's children inherit them.
    window->setPalette(classicPalette());
}

} // namespace kestrelon::ui
