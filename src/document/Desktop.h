#pragma once

#include "document/PrintJob.h"

#include <QFlags>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// Everything modal or outside the program, so that the commands can run
// against the real desktop or a scripted one in tests.
class Desktop {
public:
    enum class Icon { None, Warning, Question, Information };
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    enum class DialogFlag { AskBeforeReplacing = 0x2, HideReadOnly = 0x4 };
    Q_DECLARE_FLAGS(DialogFlags, DialogFlag)

    struct FileDialogSettings {
        bool save = false;
        QString title;
        DialogFlags flags;
        QString filter; // "Description|pattern|Description|pattern"
        int filterIndex = 1;
        QString defaultExt;
        // The name offered: a full path, or a name alone for the folder of
        // the last tag-file dialog. Empty: the tag-file dialogs' own (the
        // name chosen last in either). A dialog that offers its own name
        // keeps its choice to itself, so Öppna and Spara som go on offering
        // the last tag file.
        QString fileName;
    };
    struct FileChoice {
        QString fileName;  // full path
        QString fileTitle; // name and extension without the folder
    };

    virtual ~Desktop() = default;

    // defaultButton: the button that Return presses; nullopt for the set's
    // first (OK or Yes).
    virtual Answer messageBox(const QString &prompt, const QString &title, Icon icon, Buttons buttons = Buttons::Ok,
                              std::optional<Answer> defaultButton = std::nullopt) = 0;
    // nullopt when the user cancels.
    virtual std::optional<FileChoice> fileDialog(const FileDialogSettings &settings) = 0;

    virtual void clearClipboard() = 0;
    // Places copied rows on the clipboard: the text as plain text and, when
    // html is not empty, the same rows as an HTML table beside it.
    virtual void setClipboard(const QString &text, const QString &html) = 0;
    virtual bool clipboardHasText() = 0;
    virtual QString clipboardText() = 0;

    // nullptr when there is no printer to print on.
    virtual std::unique_ptr<PrintJob> startPrintJob() = 0;
    // Shows the pages that printPages draws into a job, as Skriv ut would
    // print them, in a print preview whose print button prints them. Works
    // without a printer; returns when the preview is closed. printPages is
    // called whenever the pages are drawn again, and ends the job itself.
    virtual void showPrintPreview(const std::function<void(PrintJob &)> &printPages) = 0;
    // A job that writes the pages Skriv ut would print into a PDF file at
    // path, whole or not at all; ending it fails, with the reason in
    // Swedish, when the file could not be written.
    virtual std::unique_ptr<PrintJob> startPdfJob(const QString &path) = 0;

    // The program's own help window, brought forward when it is open.
    virtual void showHelp() = 0;
    virtual void showAbout() = 0;
    // The non-modal windows Sök and Ersätt, one of each; an open one is
    // brought forward.
    virtual void showFind() = 0;
    virtual void showReplace() = 0;

    virtual void setCaption(const QString &caption) = 0;
    // Asks the main window to close, as its close box does.
    virtual void requestClose() = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Desktop::DialogFlags)
