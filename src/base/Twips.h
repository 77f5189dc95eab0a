#pragma once

#include <cmath>

// The window is laid out in twips (1/1440 inch). One value of this type,
// made from the screen's resolution at start-up, is handed to every widget
// that places itself in twips.
class Twips {
public:
    // 96 dots per inch: 15 twips a pixel.
    constexpr Twips() = default;
    static Twips forDotsPerInch(double dpi) { return dpi > 0 ? Twips(1440.0 / dpi) : Twips(); }

    double perPixel() const { return m_perPixel; }
    // The nearest whole pixel.
    int px(double twips) const { return static_cast<int>(std::lround(twips / m_perPixel)); }
    // Whole pixels covering at least the given twips, for minimum sizes.
    int pxAtLeast(double twips) const { return static_cast<int>(std::ceil(twips / m_perPixel - 1e-9)); }
    double twips(int px) const { return px * m_perPixel; }

private:
    explicit Twips(double perPixel) : m_perPixel(perPixel) {}
    double m_perPixel = 15.0;
};
