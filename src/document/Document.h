#pragma once

#include "document/Desktop.h"
#include "document/EditorFields.h"
#include "table/TagGrid.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// The tag file as this program last read or wrote it, to tell when another
// program has changed or replaced it since.
struct Filstampel {
    qint64 storlek = -1;
    QDateTime andrad; // modification time
    bool operator==(const Filstampel &) const = default;
};

// The open list: the table, its file and whether it has unsaved changes.
struct Document {
    Document(EditorFields &f, Desktop &d) : fields(f), desktop(d) {}

    TagGrid grid;
    QString FilNamn;
    bool Andrad = false;
    // FilNamn's file as last read or written here; nullopt when this program
    // has neither read nor written it (nothing to compare against).
    std::optional<Filstampel> stampel;
    EditorFields &fields;
    Desktop &desktop;

    static inline const QString kTitel = QStringLiteral("Ovelda Taggverk");
    static inline const QString kNamnlos = QStringLiteral("Namnlös");
    // Most tags a list can hold: row indices are 16-bit.
    static constexpr int kMaxTags = 32765;
    static constexpr int kMaxRows = kMaxTags + 2;
    // Longest text a cell holds, in characters; keeps every command quick.
    static constexpr int kMaxTextLangd = 65535;

    // Caption for a file title, or the untitled caption for "".
    static QString caption(const QString &fileTitle);
    void setFileCaption(const QString &fileTitle) { desktop.setCaption(caption(fileTitle)); }
    // Warns that the list is full; used by every command that adds rows.
    void warnListFull();
    // Row or line numbers as warnings list them: "3, 7." or, past 20
    // numbers, "1, 2, ..., 20, ...".
    static QString radlista(const QList<qsizetype> &rows);
};
