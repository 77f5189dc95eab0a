#pragma once

#include "base/Twips.h"

#include <QPointer>
#include <QWidget>

class QTextBrowser;

// The program's own help window: the Swedish help page compiled into the
// program, with its links followed inside the window. It is a window of its
// own, not modal, owned by the main window; it closes when the main window
// closes and goes with it.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    HelpWindow(QWidget *mainWindow, const Twips &scale);

    QTextBrowser *browser() const { return m_browser; }

    static inline const QString kTitle = QStringLiteral("Ovelda Taggverk – hjälp");
    static inline const QString kPage = QStringLiteral("qrc:/hjalp.html");

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_main;
    QTextBrowser *m_browser = nullptr;
};
