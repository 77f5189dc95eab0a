#include "app/widgets/QtDesktop.h"

#include "help/widgets/Om.h"
#include "reports/widgets/QtPrintJob.h"

#include <QApplication>
#include <QDesktopServices>
#include <QPrinter>
#include <QPrinterInfo>
#include <QUrl>

std::unique_ptr<PrintJob> QtDesktop::startPrintJob(QString *error)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        if (error)
            *error = QStringLiteral("Ingen skrivare är installerad.");
        return nullptr;
    }
    // The default printer with its default settings; a printer that cannot
    // start is reported when the job ends, as a printer error.
    return std::make_unique<QtPrintJob>(std::make_unique<QPrinter>(info, QPrinter::HighResolution));
}

void QtDesktop::showHelp(const QString &path)
{
    // The desktop's viewer runs on its own; its outcome is not looked at.
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void QtDesktop::showAbout()
{
    // While the About window is open the main window is disabled, so this
    // only finds one when called from elsewhere; bring it forward then.
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *om = qobject_cast<Om *>(w); om && om->isVisible()) {
            om->raise();
            om->activateWindow();
            return;
        }
    }
    auto *om = new Om(m_window);
    om->show();
}
