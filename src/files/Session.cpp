#include "files/Session.h"

#include "document/Document.h"
#include "files/FileCommands.h"

#include <new>

Session::Session(Document &doc) : m_doc(doc)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kCopyDelayMs);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { writeCopy(); });
}

Session::Session(Document &doc, const QString &recoveryFolder) : Session(doc)
{
    m_copy.setFolder(recoveryFolder);
}

Session::~Session()
{
    m_copy.remove();
}

void Session::start(const QStringList &arguments)
{
    if (offerRecovery(m_doc, m_copy))
        return;
    // An empty argument names no file: a launcher that passes "$1" when it
    // has none.
    if (arguments.size() > 1 && !arguments.at(1).isEmpty())
        openFromOutside(m_doc, arguments.at(1));
}

void Session::afterCommand()
{
    if (!m_doc.Andrad()) {
        m_timer.stop();
        m_copy.remove();
    } else if (m_doc.changes() != m_copiedChanges && !m_timer.isActive()) {
        m_timer.start();
    }
}

void Session::writeCopy()
{
    m_timer.stop();
    try {
        if (m_doc.Andrad() && m_copy.write(m_doc))
            m_copiedChanges = m_doc.changes();
    } catch (const std::bad_alloc &) {
        // No memory for the copy now: the list itself is untouched, and the
        // next change tries again.
    }
}
