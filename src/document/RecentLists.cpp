#include "document/RecentLists.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>

namespace {
QString normalised(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}
} // namespace

void RecentLists::setStore(QSettings *settings)
{
    m_settings = settings;
    load();
}

bool RecentLists::samePath(const QString &a, const QString &b)
{
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity kCase = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity kCase = Qt::CaseSensitive;
#endif
    return normalised(a).compare(normalised(b), kCase) == 0;
}

void RecentLists::add(const QString &path)
{
    if (path.isEmpty())
        return;
    // Another running copy of the program may have added lists since; its
    // entries stay.
    load();
    drop(path);
    m_paths.prepend(normalised(path));
    while (m_paths.size() > kMax)
        m_paths.removeLast();
    save();
}

void RecentLists::remove(const QString &path)
{
    if (drop(path))
        save();
}

bool RecentLists::drop(const QString &path)
{
    return m_paths.removeIf([&](const QString &p) { return samePath(p, path); }) > 0;
}

void RecentLists::load()
{
    if (!m_settings)
        return;
    m_paths.clear();
    // Whatever the store holds (edited by hand, or older), the menu shows
    // at most kMax distinct, non-empty paths.
    const QStringList stored = m_settings->value(kKey).toStringList();
    for (const QString &p : stored) {
        if (m_paths.size() == kMax)
            break;
        if (!p.isEmpty() &&
            std::none_of(m_paths.cbegin(), m_paths.cend(), [&](const QString &q) { return samePath(p, q); }))
            m_paths.append(p);
    }
}

void RecentLists::save() const
{
    if (m_settings)
        m_settings->setValue(kKey, m_paths);
}
