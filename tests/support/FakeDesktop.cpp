#include "FakeDesktop.h"

#include "document/TableRoutines.h"

#include <QFileInfo>

Desktop::Answer FakeDesktop::messageBox(const QString &prompt, const QString &title, Icon icon, Buttons buttons,
                                        std::optional<Answer> defaultButton)
{
    messages.push_back({prompt, title, icon, buttons, defaultButton});
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (answers.empty())
        return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<Desktop::FileChoice> FakeDesktop::fileDialog(const FileDialogSettings &settings)
{
    dialogs.push_back(settings);
    if (dialogAnswers.empty())
        return std::nullopt;
    std::optional<FileChoice> a;
    a.swap(dialogAnswers.front());
    dialogAnswers.pop_front();
    return a;
}

void FakeDesktop::clearClipboard()
{
    ++clipboardClears;
    clipboard.reset();
    clipboardHtml.clear();
}

void FakeDesktop::setClipboard(const QString &text, const QString &html)
{
    clipboard = text;
    clipboardHtml = html;
}

bool FakeDesktop::clipboardHasText()
{
    return clipboard.has_value();
}

QString FakeDesktop::clipboardText()
{
    return clipboard.value_or(QString());
}

namespace {
class FakePrintJob : public PrintJob {
public:
    FakePrintJob(FakeDesktop &d, const QString &error) : m_d(d), m_error(error) {}
    void print(const QString &text) override { m_d.printed << QStringLiteral("print:") + text; }
    void tab(int column) override { m_d.printed << QStringLiteral("tab:%1").arg(column); }
    void newLine() override { m_d.printed << QStringLiteral("newline"); }
    bool end(QString *error) override
    {
        m_d.printed << QStringLiteral("end");
        if (m_error.isEmpty())
            return true;
        if (error)
            *error = m_error;
        return false;
    }

private:
    FakeDesktop &m_d;
    QString m_error;
};
} // namespace

std::unique_ptr<PrintJob> FakeDesktop::startPrintJob()
{
    if (!printerAvailable)
        return nullptr;
    ++printJobs;
    return std::make_unique<FakePrintJob>(*this, printerError);
}

void FakeDesktop::showPrintPreview(const std::function<void(PrintJob &)> &printPages)
{
    ++previews;
    FakePrintJob job(*this, QString());
    printPages(job);
}

std::unique_ptr<PrintJob> FakeDesktop::startPdfJob(const QString &path)
{
    pdfPaths << path;
    return std::make_unique<FakePrintJob>(*this, pdfError);
}

void FakeDesktop::showAbout()
{
    ++aboutShown;
}

void FakeDesktop::requestClose()
{
    ++closeRequests;
    if (onRequestClose)
        onRequestClose();
}

Desktop::FileChoice FakeDesktop::choice(const QString &path)
{
    return {path, QFileInfo(path).fileName()};
}

TestDoc::TestDoc()
{
    resetDocument(doc);
}

void TestDoc::addTags(const std::vector<std::array<QString, 3>> &tags)
{
    TagGrid &g = doc.grid;
    for (const auto &t : tags) {
        const int r = g.rows() - 1;
        for (int c = 0; c < 3; ++c)
            g.setTextAt(r, c + 1, t[static_cast<size_t>(c)]);
        g.setRows(g.rows() + 1);
        g.setTextAt(r + 1, 0, QString::number(r + 1));
    }
    g.setRow(g.rows() - 1);
    MarkeraRader(doc);
    HamtaRad(doc);
}

QStringList TestDoc::column(int c) const
{
    QStringList out;
    for (int r = 1; r < doc.grid.rows(); ++r)
        out << doc.grid.textAt(r, c);
    return out;
}

QString TestDoc::rowText(int r) const
{
    QStringList cells;
    for (int c = 0; c < doc.grid.cols(); ++c)
        cells << doc.grid.textAt(r, c);
    return cells.join(QLatin1Char('|'));
}
