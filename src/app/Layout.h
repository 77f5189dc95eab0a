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
    // The largest row number the table shows and what it needs in the
    // number column (the view measures it in its font).
    int largestRowNumber = 1;
    double numberNeeds = 0;
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

// Three digits always had kNumberColWidth and keep it.
constexpr int kWidestThreeDigits = 999;

// Width of the number column: as wide as its largest number needs, in whole
// twips, never below kNumberColWidth; up to kWidestThreeDigits exactly that.
int numberColumnWidth(int largestRowNumber, double numberNeeds);

// Width of each text column for a table of the given width, beside a number
// column of the given width: halves go to the even neighbour. nullopt when
// it cannot be a column width.
std::optional<int> textColumnWidth(float tableWidth, int numberColWidth = static_cast<int>(kNumberColWidth));

// The four column widths for a table of the given width; nullopt when the
// text columns cannot be given a width.
std::optional<std::array<int, 4>> columnWidths(float tableWidth, int largestRowNumber, double numberNeeds);

// readBackTableWidth gives the width the table reports after it was set
// (a real control may round it); by default the width as set.
Result compute(const Input &in, const std::function<float(float)> &readBackTableWidth = {});

} // namespace layout
