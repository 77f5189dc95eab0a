#pragma once

#include "base/Twips.h"
#include "document/Desktop.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QPrinter;
class QSettings;

// The real desktop: Qt message boxes, file dialogs, clipboard, printer, help
// viewer and the main window's caption and state.
class QtDesktop : public Desktop {
public:
    QtDesktop(QWidget *mainWindow, const Twips &scale) : m_window(mainWindow), m_scale(scale) {}

    Answer messageBox(const QString &prompt, const QString &title, Icon icon, Buttons buttons,
                      std::optional<Answer> defaultButton) override;
    std::optional<FileChoice> fileDialog(const FileDialogSettings &settings) override;
    void clearClipboard() override;
    void setClipboard(const QString &text, const QString &html) override;
    bool clipboardHasText() override;
    QString clipboardText() override;
    std::unique_ptr<PrintJob> startPrintJob() override;
    void showPrintPreview(const std::function<void(PrintJob &)> &printPages) override;
    std::unique_ptr<PrintJob> startPdfJob(const QString &path) override;
    void showHelp() override;
    void showAbout() override;
    void showFind() override;
    void showReplace() override;
    void setCaption(const QString &caption) override;
    void requestClose() override;

    // Called before a message box or dialog opens, so that what stands
    // behind it is up to date (the main window brings its table up to date).
    void setBeforeModal(std::function<void()> hook) { m_beforeModal = std::move(hook); }
    // Opens the Sök (false) or Ersätt (true) window: the main window owns
    // them, since their buttons run commands on its list.
    void setShowFind(std::function<void(bool replace)> show) { m_showFind = std::move(show); }
    // Where the folder of the last tag-file dialog is kept between runs
    // (outlives this object); without settings it is kept for the run only.
    void setSettings(QSettings *settings) { m_settings = settings; }
    static inline const QString kFolderKey = QStringLiteral("fileDialog/folder");

    // A printer set up as Skriv ut sets it up: the default printer with its
    // defaults, or where there is none, a PDF printer with Qt's defaults.
    static std::unique_ptr<QPrinter> listingPrinter();

private:
    void beforeModal() const
    {
        if (m_beforeModal)
            m_beforeModal();
    }

    QString lastFolder() const;

    QPointer<QWidget> m_window;
    QSettings *m_settings = nullptr;
    const Twips m_scale;
    // The last name chosen in either file dialog, offered again next time.
    QString m_lastFile;
    // The one help window; it lives as long as the main window.
    QPointer<QWidget> m_help;
    std::function<void()> m_beforeModal;
    std::function<void(bool)> m_showFind;
};
