#pragma once

#include <array>
#include <functional>
#include <optional>

// The main window's resize rule as a pure function, in twips.
namespace layout {

constexpr double kMinOuterWidth = 6756;
constexpr double kMinOuterHeight = 3492;
constexpr double kMargin = 120;
constexpr double kTableTop = 852;
constexpr double kNumberColWidth = 300;
constexpr double kQuantityColWidth = 800;
constexpr double kUncoveredWidth = 325;

struct Input {
    double outerWidth = 0, outerHeight = 0; // window with border, title and menu bar
    double scaleWidth = 0, scaleHeight = 0; // client area
    double frameHeight = 972;
};

// What one pass sets. A step that failed and every step after it stay unset.
struct Result {
    // The window was below its minimum size: resize it to these and run the
    // rule again for the corrected size.
    std::optional<double> newOuterHeight, newOuterWidth;
    std::optional<float> frameTop, frameLeft;
    std::optional<float> tableTop, tableLeft, tableHeight, tableWidth;
    std::array<std::optional<int>, 4> colWidth;
    // True when the pass got through every step and the cursor row is to be
    // brought into view.
    bool complete = false;
};

// Width of each text column for a table of the given width: halves go to
// the even neighbour. nullopt when it cannot be a column width.
std::optional<int> textColumnWidth(float tableWidth);

// readBackTableWidth gives the width the table reports after it was set
// (a real control may round it); by default the width as set.
Result compute(const Input &in, const std::function<float(float)> &readBackTableWidth = {});

} // namespace layout
