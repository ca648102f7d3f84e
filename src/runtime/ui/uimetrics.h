#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

#include <cstdint>

// Glue between the design's units and Qt's: twips, 0x00BBGGRR colours, design fonts.
namespace kestrelon {

inline constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) {
    // Round to nearest, also for negative positions.
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

// A 0x00BBGGRR value, or 0x80000000 + n for the platform's system colour n.
QColor colourFromBgr(std::uint32_t bgr);
// The 0x00BBGGRR value of an RGB colour.
std::uint32_t bgrFromColour(const QColor& colour);

// The design asks for "MS Sans Serif"; hosts without it get a common sans-serif of the same size.
QFont designFont(double points, bool bold);

} // namespace kestrelon
