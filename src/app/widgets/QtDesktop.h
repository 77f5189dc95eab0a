#pragma once

#include "base/Twips.h"
#include "document/Desktop.h"

#include <QPointer>
#include <QWidget>

#include <functional>

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

private:
    void beforeModal() const
    {
        if (m_beforeModal)
            m_beforeModal();
    }

    QPointer<QWidget> m_window;
    const Twips m_scale;
    // The last name chosen in either file dialog, offered again next time.
    QString m_lastFile;
    // The one help window; it lives as long as the main window.
    QPointer<QWidget> m_help;
    std::function<void()> m_beforeModal;
    std::function<void(bool)> m_showFind;
};
