#pragma once

#include "files/RecoveryCopy.h"

#include <QStringList>
#include <QTimer>

struct Document;

// What the program does around its commands for as long as it runs: at
// start it offers back a list that a crash left unsaved, or else opens the
// tag file it was started with; after every command it keeps the recovery
// copy as the list asks; at a normal end the copy goes with the list.
class Session {
public:
    // The copy is written at most this long after a change not yet in it.
    static constexpr int kCopyDelayMs = 2000;

    // The copy in the user's own data folder, or in recoveryFolder.
    explicit Session(Document &doc);
    Session(Document &doc, const QString &recoveryFolder);
    // A normal end: the copy goes.
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // Once the window is shown. arguments as the program got them: the
    // first names the program, the second (when there is one and it is not
    // empty) a tag file to open as Arkiv > Öppna would; the rest are
    // ignored. A copy offered back comes first, and Ja leaves the file
    // unopened.
    void start(const QStringList &arguments);
    // After every command: while the list has unsaved changes a copy is
    // due, written by the timer a while after the first change not yet in
    // it (later changes do not put it off); once the list is saved or
    // replaced, the copy goes.
    void afterCommand();
    // What the timer does: writes the copy when there are changes.
    void writeCopy();

    const RecoveryCopy &recoveryCopy() const { return m_copy; }
    const QTimer &copyTimer() const { return m_timer; }

private:
    Document &m_doc;
    RecoveryCopy m_copy;
    QTimer m_timer;
    quint64 m_copiedChanges = 0;
};
