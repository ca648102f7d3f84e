#pragma once

#include <QColor>
#include <QHash>
#include <QImage>
#include <QRect>

#include <algorithm>
#include <cmath>

// How well a text reads, judged from rendered pixels alone: the colour covering most of the
// area is its background, the text is the colour of at least three pixels that stands out most
// from it, and the two are compared by the WCAG 2 contrast ratio (1 to 21).
namespace textcontrast {

inline double channel(int value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

inline double luminance(QRgb rgb) {
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) +
           0.0722 * channel(qBlue(rgb));
}

inline double ratio(QRgb a, QRgb b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct Reading {
    QRgb background = 0;
    QRgb text = 0;
    double contrast = 1.0; // 1 when nothing in the area stands out
};

constexpr int kMinTextPixels = 3;

// `area` in the image's own pixels; the part outside the image is ignored.
inline Reading measure(const QImage& image, const QRect& area) {
    QHash<QRgb, int> counts;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000u];
    Reading reading;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            reading.background = it.key();
        }
    reading.text = reading.background;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() < kMinTextPixels)
            continue;
        const double r = ratio(it.key(), reading.background);
        if (r > reading.contrast) {
            reading.contrast = r;
            reading.text = it.key();
        }
    }
    return reading;
}

} // namespace textcontrast
