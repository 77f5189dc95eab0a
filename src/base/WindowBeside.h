#pragma once

#include <QRect>

// Where a window of the program's own (the help, Sök, Ersätt) goes, in
// screen pixels: beside the main window, so that the list and the fields
// stay in sight and free to click. To the right of it where the screen has
// room, else to the left, else below or above it; where none of these has
// room for the whole window, the wider side, made narrower down to
// minWidth; only on a screen too small even for that does it lie over the
// main window, at the screen's right edge. Its top is the main window's
// (beside it) as far as the screen allows; gap pixels lie between them.
QRect windowBeside(const QRect &mainFrame, const QSize &size, const QRect &screen, int minWidth, int gap = 0);
