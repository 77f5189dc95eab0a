#pragma once

#include "document/FileStamp.h"

#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class QLockFile;
struct Document;

// A copy of the list kept while it has unsaved changes, in the user's own
// data folder, so that a crash or a power cut loses nothing typed. Every
// cell text is kept exactly (not in the tag file's code page), with FilNamn,
// its file's stamp and the cursor row. Each running program owns its copy
// through a lock file beside it; the copy of a program that died is free
// for the next one. The folder and the copies are the user's alone.
class RecoveryCopy {
public:
    struct Content {
        QString fileName; // FilNamn
        // FilNamn's file as the list last read or wrote it, so that Spara
        // still asks when another program changed it meanwhile.
        std::optional<FileStamp> stamp;
        int cursorRow = 1;
        std::vector<std::array<QString, 3>> tags;
        bool whole = true; // false: the copy was cut short
    };

    // The folder: Qt's AppLocalDataLocation, "recovery" below it.
    RecoveryCopy();
    explicit RecoveryCopy(QString folder);
    // Another folder, before the first copy is written.
    void setFolder(const QString &folder) { m_folder = folder; }
    ~RecoveryCopy();
    RecoveryCopy(const RecoveryCopy &) = delete;
    RecoveryCopy &operator=(const RecoveryCopy &) = delete;

    // Writes the list atomically. False, and nothing else, when the folder
    // cannot be written.
    bool write(const Document &doc);
    // The copy goes: the list was saved, replaced, or the program ends.
    void remove();
    // The copy stays, no longer this program's: a later start offers it.
    void leave();
    // Takes over the newest copy that no running program owns; the others
    // wait for later starts. False when there is none.
    bool adoptOrphan();
    std::optional<Content> read() const;
    // This program's copy; empty while it has none.
    QString path() const { return m_path; }

private:
    bool own();

    QString m_folder;
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

// At start: when a copy is left that no running program owns, asks whether
// to bring it back ("Återställ", Ja the default). Ja puts the list, FilNamn,
// its file's stamp and the caption back with Andrad set and the copy kept,
// and locks the file as Open would (Avbryt there leaves the copy for a
// later start); Nej removes the copy. True when the list was brought back.
bool offerRecovery(Document &doc, RecoveryCopy &copy);
