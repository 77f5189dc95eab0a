#include "base/WindowBeside.h"

#include <algorithm>

QRect windowBeside(const QRect &mainFrame, const QSize &size, const QRect &screen, int minWidth, int gap)
{
    const int height = std::min(size.height(), screen.height());
    const int width = std::min(size.width(), screen.width());
    const int top = std::clamp(mainFrame.top(), screen.top(), screen.bottom() + 1 - height);
    const int left = std::clamp(mainFrame.right() + 1 - width, screen.left(), screen.right() + 1 - width);
    const QRect places[] = {
        {mainFrame.right() + 1 + gap, top, width, height},
        {mainFrame.left() - gap - width, top, width, height},
        {left, mainFrame.bottom() + 1 + gap, width, height},
        {left, mainFrame.top() - gap - height, width, height},
    };
    for (const QRect &place : places)
        if (screen.contains(place))
            return place;
    const int roomRight = screen.right() - mainFrame.right() - gap;
    const int roomLeft = mainFrame.left() - screen.left() - gap;
    const int room = std::max(roomRight, roomLeft);
    if (room >= minWidth) {
        return roomRight >= roomLeft ? QRect(mainFrame.right() + 1 + gap, top, room, height)
                                     : QRect(screen.left(), top, room, height);
    }
    return QRect(screen.right() + 1 - width, top, width, height);
}
