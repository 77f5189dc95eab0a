#include "help/HelpPlacement.h"

#include <algorithm>

QRect helpWindowPlace(const QRect &mainFrame, const QSize &helpSize, const QRect &screen, int minWidth)
{
    const int roomRight = screen.right() - mainFrame.right();
    const int roomLeft = mainFrame.left() - screen.left();
    const int height = std::min(helpSize.height(), screen.height());
    const int top = std::clamp(mainFrame.top(), screen.top(), screen.bottom() + 1 - height);
    int width = helpSize.width();
    int left;
    if (roomRight >= width) {
        left = mainFrame.right() + 1;
    } else if (roomLeft >= width) {
        left = mainFrame.left() - width;
    } else if (std::max(roomRight, roomLeft) >= minWidth) {
        width = std::max(roomRight, roomLeft);
        left = roomRight >= roomLeft ? mainFrame.right() + 1 : mainFrame.left() - width;
    } else {
        width = std::min(width, screen.width());
        left = screen.right() + 1 - width;
    }
    return QRect(left, top, width, height);
}
