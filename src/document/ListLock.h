#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// Who holds a list: what its lock file says.
struct LockOwner {
    QString user;
    QString host;
    qint64 pid = 0;
    QDateTime since; // local time, to the second
    bool operator==(const LockOwner &) const = default;

    // This program, as its lock names it: the account's name and the
    // computer's name as the system gives them, never from a setting.
    static LockOwner thisProgram();
    // The lock file's bytes: UTF-8 lines "user=", "host=", "pid=" and
    // "since=" (2026-12-07T14:02:00), the same on every system.
    QByteArray toBytes() const;
    // Reads those lines (CR LF too; unknown keys are passed over). A key
    // that is missing leaves its field empty.
    static LockOwner fromBytes(QByteArrayView bytes);
    // True for a lock this computer made whose process no longer runs:
    // what a crash leaves. A lock of another computer is never stale.
    bool isStale() const;
    // True for this very program.
    bool isThisProgram() const;
};

// The lock a program holds on a list it has open, so that others on the
// same computer or on a shared folder know: ".NAME.taggverk-lock" beside
// the file itself (a symbolic link followed; Windows: hidden). It goes when
// the list is closed, replaced or saved under another name, and with the
// object.
class ListLock {
public:
    enum class Result {
        Taken,     // created, or ours already
        HeldBy,    // another running program holds it (holder says who)
        Unwritable // no lock can be made there: the list goes without one
    };

    ListLock() = default;
    ~ListLock() { release(); }
    ListLock(ListLock &&other) noexcept;
    ListLock &operator=(ListLock &&other) noexcept;
    ListLock(const ListLock &) = delete;
    ListLock &operator=(const ListLock &) = delete;

    // The lock file of the list at listPath.
    static QString lockPathFor(const QString &listPath);
    // What the lock of the list at listPath says; nullopt when it has none.
    static std::optional<LockOwner> holderOf(const QString &listPath);

    // Takes the lock of the list at listPath: created exclusively, never
    // over another's; a stale one is removed first, without a word. The
    // lock this object holds already is kept.
    Result take(const QString &listPath, LockOwner *holder = nullptr);
    // The lock goes, if this object holds one.
    void release();
    bool isHeld() const { return !m_path.isEmpty(); }
    // The lock file held; empty when none.
    QString path() const { return m_path; }

private:
    QString m_path;
};
