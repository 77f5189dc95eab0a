#include "app/Layout.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace layout {
namespace {
// A position or size the window system would refuse.
bool badPosition(float v)
{
    return !std::isfinite(v) || std::fabs(v) > 2.0e9f;
}
bool badSize(float v)
{
    return badPosition(v) || v < 0;
}
} // namespace

int numberColumnWidth(int largestRowNumber, double numberNeeds)
{
    if (largestRowNumber <= kWidestThreeDigits || !std::isfinite(numberNeeds) || numberNeeds <= kNumberColWidth)
        return static_cast<int>(kNumberColWidth);
    // A row number has at most five digits; anything wider is no measure.
    return static_cast<int>(std::ceil(std::min(numberNeeds, 100000.0)));
}

std::optional<int> textColumnWidth(float tableWidth, int numberColWidth)
{
    const float w = (tableWidth - static_cast<float>(numberColWidth) - static_cast<float>(kQuantityColWidth) -
                     static_cast<float>(kUncoveredWidth)) /
                    2.0f;
    if (!std::isfinite(w))
        return std::nullopt;
    const double rounded = std::nearbyint(static_cast<double>(w)); // halves to even
    if (rounded < 0 || rounded > INT_MAX)
        return std::nullopt;
    return static_cast<int>(rounded);
}

std::optional<std::array<int, 4>> columnWidths(float tableWidth, int largestRowNumber, double numberNeeds)
{
    const int number = numberColumnWidth(largestRowNumber, numberNeeds);
    const auto text = textColumnWidth(tableWidth, number);
    if (!text)
        return std::nullopt;
    return std::array<int, 4>{number, *text, *text, static_cast<int>(kQuantityColWidth)};
}

Result compute(const Input &in, const std::function<float(float)> &readBackTableWidth)
{
    Result r;
    if (in.outerHeight < kMinOuterHeight)
        r.newOuterHeight = kMinOuterHeight;
    if (in.outerWidth < kMinOuterWidth)
        r.newOuterWidth = kMinOuterWidth;
    if (r.newOuterHeight || r.newOuterWidth)
        return r;

    const auto sw = static_cast<float>(in.scaleWidth);
    const auto sh = static_cast<float>(in.scaleHeight);
    const auto fh = static_cast<float>(in.frameHeight);

    const float frameTop = sh - static_cast<float>(kMargin) - fh;
    if (badPosition(frameTop))
        return r;
    r.frameTop = frameTop;
    r.frameLeft = static_cast<float>(kMargin);
    r.tableTop = static_cast<float>(kTableTop);
    r.tableLeft = static_cast<float>(kMargin);

    const float tableHeight = sh - fh - 612.0f - 480.0f;
    if (badSize(tableHeight))
        return r;
    r.tableHeight = tableHeight;

    const float tableWidth = sw - 240.0f;
    if (badSize(tableWidth))
        return r;
    r.tableWidth = tableWidth;

    r.colWidth[0] = numberColumnWidth(in.largestRowNumber, in.numberNeeds);
    const float readBack = readBackTableWidth ? readBackTableWidth(tableWidth) : tableWidth;
    const auto text = textColumnWidth(readBack, *r.colWidth[0]);
    if (!text)
        return r;
    r.colWidth[1] = *text;
    r.colWidth[2] = *text;
    r.colWidth[3] = static_cast<int>(kQuantityColWidth);
    r.complete = true;
    return r;
}

} // namespace layout
