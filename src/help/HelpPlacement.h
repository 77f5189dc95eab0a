#pragma once

#include <QRect>

// Where the help window goes, in screen pixels: beside the main window, to
// the right of it where the screen has room, else to the left, so that the
// list and the fields stay free to click while the help is read. Where
// neither side has room for the whole window it takes the wider side, made
// narrower down to minWidth; only on a screen too small even for that does
// it lie over the main window, at the screen's right edge. Its top is the
// main window's, as far as the screen allows.
QRect helpWindowPlace(const QRect &mainFrame, const QSize &helpSize, const QRect &screen, int minWidth);
