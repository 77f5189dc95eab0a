#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Runs a program to its end while this program's event loop keeps turning,
// so a window under test answers the X requests the program causes (the
// clipboard owner must serve "xclip -o", a click must reach the window).
// Without out, the program's output goes nowhere: a program that stays
// behind (as "xclip -i" does to serve the text) keeps no pipe of ours open.
bool runProcess(const QString &program, const QStringList &args, QByteArray *out = nullptr, int timeoutMs = 20000);
