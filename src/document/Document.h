#pragma once

#include "base/Limits.h"
#include "document/Desktop.h"
#include "document/EditorFields.h"
#include "document/FileStamp.h"
#include "document/History.h"
#include "document/RecentLists.h"
#include "table/TagGrid.h"

#include <QList>
#include <QString>

#include <optional>

// The open list: the table, its file and whether it has unsaved changes.
struct Document {
    Document(EditorFields &f, Desktop &d) : fields(f), desktop(d) {}

    TagGrid grid;
    QString FilNamn;
    bool Andrad = false;
    // FilNamn's file as last read or written here; nullopt when this program
    // has neither read nor written it (nothing to compare against).
    std::optional<FileStamp> stamp;
    // The list's changes, for Ångra and Gör om.
    History history;
    // The lists last opened or saved, for Arkiv's menu.
    RecentLists recent;
    EditorFields &fields;
    Desktop &desktop;

    static inline const QString kTitle = QStringLiteral("Ovelda Taggverk");
    static inline const QString kUntitled = QStringLiteral("Namnlös");

    // The one place the list becomes unchanged: saved from the menu, read
    // from a file, or reset. (A save from the save prompt leaves Andrad as
    // it was: the command that asked decides what follows.)
    void markSaved() { Andrad = false; }
    // Every command that changed the list says so here.
    void markChanged()
    {
        Andrad = true;
        ++m_changes;
    }
    // Counts the changes, so a copy of the list can tell when it is behind.
    quint64 changes() const { return m_changes; }

    // Caption for a file title, or the untitled caption for "".
    static QString caption(const QString &fileTitle);
    void setFileCaption(const QString &fileTitle) { desktop.setCaption(caption(fileTitle)); }
    // Warns that the list is full; used by every command that adds rows.
    void warnListFull();
    // Row or line numbers as warnings list them: "3, 7." or, past 20
    // numbers, "1, 2, ..., 20, ...".
    static QString rowList(const QList<qsizetype> &rows);

private:
    quint64 m_changes = 0;
};
