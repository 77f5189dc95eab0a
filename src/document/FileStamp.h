#pragma once

#include <QDateTime>
#include <QtGlobal>

// The tag file as this program last read or wrote it, to tell when another
// program has changed or replaced it since.
struct FileStamp {
    qint64 size = -1;
    QDateTime modified;
    bool operator==(const FileStamp &) const = default;
};
