#pragma once

#include "document/PrintJob.h"
#include "files/WriteError.h"

#include <QString>

#include <memory>
#include <optional>

class QPageLayout;
class QPdfWriter;
class QtPrintJob;

// A print job whose pages go into a PDF file, drawn by the same QtPrintJob
// as the printer's pages, on the printer's page layout and resolution. The
// file is written atomically: a failed write leaves any earlier file as it
// was. Ending the job fails with the reason in Swedish, as a failed Spara
// gives it.
class PdfJob : public PrintJob {
public:
    PdfJob(const QString &path, const QPageLayout &layout, int resolution);
    ~PdfJob() override;

    void print(const QString &text) override;
    void tab(int column) override;
    void newLine() override;
    bool end(QString *error) override;

private:
    class File;
    // Declared in this order so that they go in reverse: the drawing, then its
    // writer, then the file.
    std::unique_ptr<File> m_file;
    std::optional<WriteError> m_error;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QtPrintJob> m_job;
    bool m_ended = false;
};
