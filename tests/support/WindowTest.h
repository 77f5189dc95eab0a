#pragma once

// For the widget and end-to-end tests, which link the widgets.
#include "OwnSettings.h"
#include "app/widgets/Huvudbild.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

// Fills the three fields and clicks "Uppdatera". setText, since QTest
// cannot type letters outside ASCII.
inline void commitTag(Huvudbild &w, const QString &a, const QString &b, const QString &c)
{
    w.txtRad1()->setText(a);
    w.txtRad2()->setText(b);
    w.txtAntal()->setText(c);
    QTest::mouseClick(w.cmdUppdatera(), Qt::LeftButton);
}

// Shows the window and waits until it is on the screen and, when asked, the
// active window.
inline bool shown(Huvudbild &w, bool active = false)
{
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return false;
    if (!active)
        return true;
    w.activateWindow();
    return QTest::qWaitForWindowActive(&w);
}

// Closes the window as a user who discards the changes, then deletes it.
// Closed first, as the program ends: destroying a shown window lets the
// table view read the document after it is gone.
inline bool closeDiscarding(std::unique_ptr<Huvudbild> &w)
{
    if (!w)
        return true;
    w->document().markSaved();
    const bool closed = w->close();
    w.reset();
    return closed;
}

// Calls look with the next message box once it shows: it is modal, so it is
// looked at (and closed) from the event loop while the command waits. The
// timer must live until then.
inline void whenMessageBoxShows(QTimer &poll, std::function<void(QMessageBox *)> look, int intervalMs = 20)
{
    QObject::connect(&poll, &QTimer::timeout, &poll, [&poll, look = std::move(look)] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll.stop();
        look(box);
    });
    poll.start(intervalMs);
}
