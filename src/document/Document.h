#pragma once

#include "base/Limits.h"
#include "document/Desktop.h"
#include "document/EditorFields.h"
#include "document/FileStamp.h"
#include "document/FindSettings.h"
#include "document/History.h"
#include "document/ListLock.h"
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
    // FilNamn's file as last read or written here; nullopt when this program
    // has neither read nor written it (nothing to compare against).
    std::optional<FileStamp> stamp;
    // The list's changes, for Ångra and Gör om.
    History history;
    // The lock this program holds on FilNamn's file, if any.
    ListLock lock;
    // Opened while another program held it, at the user's word: Spara
    // asks for a new name, and the caption says so.
    bool readOnly = false;
    // The last search of Sök and Ersätt, for Sök nästa from the menu.
    FindSettings find;
    // The lists last opened or saved, for Arkiv's menu.
    RecentLists recent;
    EditorFields &fields;
    Desktop &desktop;

    static inline const QString kTitle = QStringLiteral("Ovelda Taggverk");
    static inline const QString kUntitled = QStringLiteral("Namnlös");

    // True while the list has changes that are not saved.
    bool Andrad() const { return m_andrad; }
    // The one place the list becomes unchanged: saved from the menu, read
    // from a file, or reset. (A save from the save prompt leaves Andrad as
    // it was: the command that asked decides what follows.)
    void markSaved() { m_andrad = false; }
    // Every command that changed the list says so here.
    void markChanged()
    {
        m_andrad = true;
        ++m_changes;
    }
    // Counts the changes, so a copy of the list can tell when it is behind.
    quint64 changes() const { return m_changes; }

    // Caption for a file title, or the untitled caption for "".
    static QString caption(const QString &fileTitle, bool readOnly = false);
    void setFileCaption(const QString &fileTitle) { desktop.setCaption(caption(fileTitle, readOnly)); }
    // Warns that the list is full; used by every command that adds rows.
    void warnListFull();
    // "Fil skadad": a file or copy stopped early; rows tags were read.
    void warnReadStopped(int rows);
    // Row or line numbers as warnings list them: "3, 7." or, past 20
    // numbers, "1, 2, ..., 20, ...".
    static QString rowList(const QList<qsizetype> &rows);

private:
    bool m_andrad = false;
    quint64 m_changes = 0;
};
