#include "help/widgets/HelpWindow.h"

#include <QEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

HelpWindow::HelpWindow(QWidget *mainWindow, const Twips &scale) : QWidget(mainWindow, Qt::Window), m_main(mainWindow)
{
    setWindowTitle(kTitle);
    setAccessibleName(kTitle);
    m_browser = new QTextBrowser(this);
    m_browser->setAccessibleName(QStringLiteral("Hjälp"));
    // Anchors stay in the window; a link out of the page goes to the desktop.
    m_browser->setOpenExternalLinks(true);
    m_browser->setSource(QUrl(kPage));
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(m_browser);
    resize(scale.px(9000), scale.px(8000));
    if (m_main) {
        m_main->installEventFilter(this);
        // Over the main window, as far as the screen allows.
        QRect r = rect();
        r.moveCenter(m_main->frameGeometry().center());
        if (const QScreen *screen = m_main->screen()) {
            const QRect avail = screen->availableGeometry();
            r.moveLeft(std::max(avail.left(), std::min(r.left(), avail.right() - r.width())));
            r.moveTop(std::max(avail.top(), std::min(r.top(), avail.bottom() - r.height())));
        }
        move(r.topLeft());
    }
}

bool HelpWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The main window hidden by the program (closed, not minimised) takes
    // its help along.
    if (watched == m_main && event->type() == QEvent::Hide && !event->spontaneous())
        close();
    return QWidget::eventFilter(watched, event);
}
