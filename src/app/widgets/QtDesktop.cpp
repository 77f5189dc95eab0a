#include "app/widgets/QtDesktop.h"

#include "app/widgets/PdfJob.h"
#include "edit/RowText.h"
#include "help/widgets/HelpWindow.h"
#include "help/widgets/Om.h"
#include "reports/widgets/QtPrintJob.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QSettings>
#include <QWidget>

Desktop::Answer QtDesktop::messageBox(const QString &prompt, const QString &title, Icon icon, Buttons buttons,
                                      std::optional<Answer> defaultButton)
{
    // Over the window the user works in: a message of the Sök or Ersätt
    // window shows over it and gives the keyboard back to it.
    QWidget *parent = m_window;
    if (QWidget *active = QApplication::activeWindow(); active && m_window && active->parentWidget() == m_window)
        parent = active;
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(prompt);
    switch (icon) {
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::None:
        break;
    }
    switch (buttons) {
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setEscapeButton(QMessageBox::No); // Esc and the close box answer No
        break;
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    if (buttons != Buttons::Ok) {
        const Answer d = defaultButton.value_or(Answer::Yes);
        box.setDefaultButton(d == Answer::No                                          ? QMessageBox::No
                             : d == Answer::Cancel && buttons == Buttons::YesNoCancel ? QMessageBox::Cancel
                                                                                      : QMessageBox::Yes);
    }
    beforeModal();
    const int answer = box.exec();
    // Not every window manager gives the keyboard back to a window of our
    // own; the Sök window must have it for the next Return.
    if (parent != m_window)
        parent->activateWindow();
    switch (answer) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return buttons == Buttons::Ok ? Answer::Ok : buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
}

std::optional<Desktop::FileChoice> QtDesktop::fileDialog(const FileDialogSettings &settings)
{
    // "Description|pattern|..." becomes Qt's "Description (pattern);;...".
    const QStringList parts = settings.filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i];
        QString pattern = parts[i + 1];
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the parentheses; keep the description
        // as shown when it already names them.
        filters << (desc.contains(QLatin1Char('(')) ? desc : desc + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    QFileDialog dlg(m_window, settings.title, QString(), filters.join(QStringLiteral(";;")));
#ifndef Q_OS_WIN
    // Qt's own dialog, the same on every Linux desktop (and the one the
    // tests drive); Windows users get their system's dialog.
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
#endif
    dlg.setAcceptMode(settings.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::AnyFile); // Open does not require the name to exist
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !settings.flags.testFlag(DialogFlag::AskBeforeReplacing));
    dlg.setDefaultSuffix(settings.defaultExt);
    if (settings.filterIndex >= 1 && settings.filterIndex <= filters.size())
        dlg.selectNameFilter(filters[settings.filterIndex - 1]);
    const bool ownName = !settings.fileName.isEmpty();
    const QString offered = ownName ? settings.fileName : m_lastFile;
    const QFileInfo offeredInfo(offered);
    const QString folder = offeredInfo.isAbsolute() ? offeredInfo.absolutePath() : lastFolder();
    if (!folder.isEmpty())
        dlg.setDirectory(folder);
    if (!offered.isEmpty())
        dlg.selectFile(offeredInfo.fileName());
    beforeModal();
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = QFileInfo(dlg.selectedFiles().constFirst()).absoluteFilePath();
    if (!ownName) {
        m_lastFile = path;
        if (m_settings)
            m_settings->setValue(kFolderKey, QFileInfo(path).absolutePath());
    }
    return FileChoice{path, QFileInfo(path).fileName()};
}

QString QtDesktop::lastFolder() const
{
    if (!m_lastFile.isEmpty())
        return QFileInfo(m_lastFile).absolutePath();
    // From an earlier run; a folder that has gone since is not offered.
    const QString folder = m_settings ? m_settings->value(kFolderKey).toString() : QString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void QtDesktop::clearClipboard()
{
    QGuiApplication::clipboard()->clear();
}

namespace {
// Copied rows, with an RTF table beside the text and the HTML. The RTF is made
// only when a program asks for it as it pastes, so Copy itself does not pay
// for a format few programs read.
class RowsMimeData : public QMimeData {
public:
    QStringList formats() const override
    {
        // Not hasText(): it asks formats() again.
        QStringList f = QMimeData::formats();
        if (f.contains(QLatin1String("text/plain")))
            f << QString::fromLatin1(kRtf);
        return f;
    }

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType type) const override
    {
        if (mimeType == QLatin1String(kRtf) && hasText())
            return rtfTable(text());
        return QMimeData::retrieveData(mimeType, type);
    }

private:
    static constexpr char kRtf[] = "text/rtf";
};
} // namespace

void QtDesktop::setClipboard(const QString &text, const QString &html)
{
    auto *data = new RowsMimeData;
    data->setText(text);
    if (!html.isEmpty())
        data->setHtml(html);
    QGuiApplication::clipboard()->setMimeData(data); // the clipboard owns it
}

bool QtDesktop::clipboardHasText()
{
    // Only text counts: a picture or other data alone is no row text.
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

QString QtDesktop::clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

void QtDesktop::setCaption(const QString &caption)
{
    if (m_window)
        m_window->setWindowTitle(caption);
}

void QtDesktop::requestClose()
{
    if (m_window)
        m_window->close();
}

std::unique_ptr<PrintJob> QtDesktop::startPrintJob()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    // The default printer with its default settings; a printer that cannot
    // start is reported when the job ends, as a printer error.
    return std::make_unique<QtPrintJob>(std::make_unique<QPrinter>(info, QPrinter::HighResolution));
}

std::unique_ptr<QPrinter> QtDesktop::listingPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return std::make_unique<QPrinter>(QPrinter::HighResolution); // a PDF printer where there is none
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

void QtDesktop::showPrintPreview(const std::function<void(PrintJob &)> &printPages)
{
    const std::unique_ptr<QPrinter> printer = listingPrinter();
    QPrintPreviewDialog dlg(printer.get(), m_window);
    // Called for the preview's pages and again for the printer its print
    // button chose.
    QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg, [&printPages](QPrinter *p) {
        QtPrintJob job(p);
        printPages(job);
    });
    // Qt's page setup works on a real printer only; without one it would do
    // nothing (Qt greys it out itself on Windows).
    if (printer->outputFormat() != QPrinter::NativeFormat) {
        const QString pageSetup = QCoreApplication::translate("QPrintPreviewDialog", "Page setup");
        for (QAction *a : dlg.findChildren<QAction *>())
            if (a->text() == pageSetup)
                a->setEnabled(false);
    }
    // Tall enough to read a page: most of the screen's height, a page's
    // width to it.
    if (const QScreen *screen = m_window ? m_window->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        const int height = area.height() * 17 / 20;
        dlg.resize(std::min(area.width() * 9 / 10, height * 17 / 20), height);
    }
    beforeModal();
    dlg.exec();
}

std::unique_ptr<PrintJob> QtDesktop::startPdfJob(const QString &path)
{
    // The pages of Skriv ut: its printer's page and resolution.
    const std::unique_ptr<QPrinter> printer = listingPrinter();
    return std::make_unique<PdfJob>(path, printer->pageLayout(), printer->resolution());
}

void QtDesktop::showHelp()
{
    if (!m_help)
        m_help = new HelpWindow(m_window, m_scale);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
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
    beforeModal();
    auto *om = new Om(m_window, m_scale);
    om->show();
}

void QtDesktop::showFind()
{
    if (m_showFind)
        m_showFind(false);
}

void QtDesktop::showReplace()
{
    if (m_showFind)
        m_showFind(true);
}
