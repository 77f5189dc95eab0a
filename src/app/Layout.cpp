#include "app/Layout.h"

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

std::optional<int> textColumnWidth(float tableWidth)
{
    const float w = (tableWidth - static_cast<float>(kNumberColWidth) - static_cast<float>(kQuantityColWidth) -
                     static_cast<float>(kUncoveredWidth)) /
                    2.0f;
    if (!std::isfinite(w))
        return std::nullopt;
    const double rounded = std::nearbyint(static_cast<double>(w)); // halves to even
    if (rounded < 0 || rounded > INT_MAX)
        return std::nullopt;
    return static_cast<int>(rounded);
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

    r.colWidth[0] = static_cast<int>(kNumberColWidth);
    const float readBack = readBackTableWidth ? readBackTableWidth(tableWidth) : tableWidth;
    const auto text = textColumnWidth(readBack);
    if (!text)
        return r;
    r.colWidth[1] = *text;
    r.colWidth[2] = *text;
    r.colWidth[3] = static_cast<int>(kQuantityColWidth);
    r.complete = true;
    return r;
}

} // namespace layout
