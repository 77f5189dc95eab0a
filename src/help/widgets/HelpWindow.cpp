#include "help/widgets/HelpWindow.h"

#include "base/WindowBeside.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {
// Qt describes a plain widget as a "filler", even one that is a window of its
// own, and a screen reader then does not announce it as it opens. It stays a
// plain window (not a dialog kept above the main window), described as one.
QAccessibleInterface *describeAsWindow(const QString &className, QObject *object)
{
    if (className == QLatin1String("HelpWindow") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}
} // namespace

HelpWindow::HelpWindow(QWidget *mainWindow, const Twips &scale) : QWidget(mainWindow, Qt::Window), m_main(mainWindow)
{
    static const bool described = [] {
        QAccessible::installFactory(describeAsWindow);
        return true;
    }();
    Q_UNUSED(described);
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
        // Beside the main window, never over its list and fields; the frame
        // the window manager adds around the page is allowed for.
        if (const QScreen *screen = m_main->screen()) {
            const QSize frame(scale.px(120), scale.px(480));
            const QRect place =
                windowBeside(m_main->frameGeometry(), size() + frame, screen->availableGeometry(), scale.px(4800));
            resize(place.size() - frame);
            move(place.topLeft());
        }
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
