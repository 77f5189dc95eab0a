#pragma once

#include <QString>
#include <QStringList>

class QSettings;

// The lists last opened or saved, newest first, for Arkiv's menu. Kept in the
// program's settings when it has a store, so they come back at the next
// start; in memory only without one (as in the core tests).
class RecentLists {
public:
    static constexpr int kMax = 4;
    static inline const QString kKey = QStringLiteral("recentLists");

    // Reads the lists from settings and keeps every change there; nullptr
    // keeps them in memory only. The settings outlive this object.
    void setStore(QSettings *settings);

    const QStringList &paths() const { return m_paths; }
    // path goes to the top; the same file further down goes, and the oldest
    // falls off past kMax.
    void add(const QString &path);
    void remove(const QString &path);

    // True when a and b name the same file as the list compares them: the
    // same absolute path, letter case aside where the file system ignores it.
    static bool samePath(const QString &a, const QString &b);

private:
    void load();
    bool drop(const QString &path);
    void save() const;

    QSettings *m_settings = nullptr;
    QStringList m_paths;
};
