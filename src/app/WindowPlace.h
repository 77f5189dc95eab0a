#pragma once

#include <QList>
#include <QRect>

#include <optional>

// Where the main window opens when it remembers a place from the last run,
// as a pure function of that place and the screens there are now.
namespace windowplace {

// saved: the window when it last closed, as the top left corner of its frame
// and the size of what lies inside the frame (what Qt's pos() and size() give
// and move() and resize() take);
// screens: the area each screen now offers windows. The saved rectangle when
// it lies on a screen; moved just far enough to lie wholly on the screen that
// holds its middle when it hangs over that screen's edge; nullopt (the first
// place: the described size, centred) when its middle lies on no screen there
// is now, when it does not fit that screen, or when there is none.
std::optional<QRect> restored(const QRect &saved, const QList<QRect> &screens);

} // namespace windowplace
