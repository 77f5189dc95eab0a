#include "app/WindowPlace.h"

#include <algorithm>

namespace windowplace {

std::optional<QRect> restored(const QRect &saved, const QList<QRect> &screens)
{
    if (!saved.isValid())
        return std::nullopt;
    const QPoint middle = saved.center();
    for (const QRect &screen : screens) {
        if (!screen.isValid() || !screen.contains(middle))
            continue;
        if (saved.width() > screen.width() || saved.height() > screen.height())
            return std::nullopt;
        QRect r = saved;
        r.moveLeft(std::clamp(r.left(), screen.left(), screen.right() - r.width() + 1));
        r.moveTop(std::clamp(r.top(), screen.top(), screen.bottom() - r.height() + 1));
        return r;
    }
    return std::nullopt;
}

} // namespace windowplace
