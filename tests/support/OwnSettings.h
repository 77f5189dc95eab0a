#pragma once

#include "app/widgets/Huvudbild.h"

#include <QSettings>
#include <QTemporaryDir>

// Points the program's settings (QSettings' default format, which the main
// window uses) at a folder of this test program's own and empties them, so
// that no test reads or writes the user's settings (on Windows the registry)
// or those a window of an earlier test or run left behind. Call it before a
// main window is made.
inline void useOwnSettings()
{
    static QTemporaryDir dir;
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    QSettings(QSettings::IniFormat, QSettings::UserScope, Huvudbild::kSettingsOrganisation,
              Huvudbild::kSettingsApplication)
        .clear();
}
