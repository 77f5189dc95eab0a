#pragma once

#include "document/Desktop.h"
#include "document/Document.h"
#include "document/EditorFields.h"

#include <QStringList>

#include <array>

#include <deque>
#include <functional>
#include <vector>

// A scripted desktop: records what the program showed and answers from queues.
class FakeDesktop : public Desktop {
public:
    struct Message {
        QString prompt, title;
        Icon icon;
        Buttons buttons;
        std::optional<Answer> defaultButton;
    };
    // One operation of a print job, as text: "print:<text>", "tab:<n>", "newline", "end".
    QStringList printed;

    std::vector<Message> messages;
    std::deque<Answer> answers; // taken by questions; when empty: Cancel, or No where there is no Cancel
    std::vector<FileDialogSettings> dialogs;
    std::deque<std::optional<FileChoice>> dialogAnswers; // nullopt: cancel; cancel when empty
    std::optional<QString> clipboard;                    // nullopt: no text on it
    QString clipboardHtml;                               // the HTML beside it, "" for none
    int clipboardClears = 0;
    bool printerAvailable = true;
    QString printerError; // when set, ending the job fails with it
    int printJobs = 0;
    // Print previews shown; each draws its pages once, into printed.
    int previews = 0;
    // The path of each PDF job started; its operations go to printed too.
    QStringList pdfPaths;
    QString pdfError; // when set, ending a PDF job fails with it
    int helpShown = 0;
    int aboutShown = 0;
    int findShown = 0;
    int replaceShown = 0;
    QString caption;
    int closeRequests = 0;
    std::function<void()> onRequestClose;

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
    void showHelp() override { ++helpShown; }
    void showAbout() override;
    void showFind() override { ++findShown; }
    void showReplace() override { ++replaceShown; }
    void setCaption(const QString &c) override { caption = c; }
    void requestClose() override;

    // Convenience for a file dialog answer: the full path, its title derived.
    static FileChoice choice(const QString &path);
};

// The three editor fields as plain strings, with the focus and visibility.
class FakeFields : public EditorFields {
public:
    QString values[3];
    int focus = -1;
    bool shown = true;
    int focusChanges = 0;

    QString text(Field f) const override { return values[f]; }
    void setText(Field f, const QString &t) override { values[f] = t; }
    void setFocus(Field f) override
    {
        focus = f;
        ++focusChanges;
    }
    bool isShown(Field) const override { return shown; }
    void set(const QString &a, const QString &b, const QString &c)
    {
        values[0] = a;
        values[1] = b;
        values[2] = c;
    }
};

// A document wired to a fake desktop and fake fields, reset as at start-up.
struct TestDoc {
    FakeFields fields;
    FakeDesktop desktop;
    Document doc{fields, desktop};
    TestDoc();

    // Appends tags (text 1, text 2, quantity) through the row editor's path
    // of cells, without messages; leaves the cursor on the entry row.
    void addTags(const std::vector<std::array<QString, 3>> &tags);
    // Column c of rows 1..Rows-1 as a list, for compact comparisons.
    QStringList column(int c) const;
    // The texts of row r, columns 0..3, joined by '|'.
    QString rowText(int r) const;
};
