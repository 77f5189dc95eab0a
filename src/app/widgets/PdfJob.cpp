#include "app/widgets/PdfJob.h"

#include "document/Document.h"
#include "files/FileSystem.h"
#include "reports/widgets/QtPrintJob.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>

// The PDF's file. The writer writes to it while the pages are drawn, and
// drawing calls the system for other things too (fonts), so the reason of a
// failed write is taken at that write, not at the end.
class PdfJob::File : public QSaveFile {
public:
    using QSaveFile::QSaveFile;
    std::optional<::WriteError> firstFailure; // not QFileDevice::WriteError

protected:
    qint64 writeData(const char *data, qint64 len) override
    {
        clearLastWriteError();
        const qint64 written = QSaveFile::writeData(data, len);
        if (written != len && !firstFailure)
            firstFailure = lastWriteError(errorString());
        return written;
    }
};

PdfJob::PdfJob(const QString &path, const QPageLayout &layout, int resolution) : m_file(std::make_unique<File>(path))
{
    surviveFileSizeLimit(); // a PDF past the limit is a failed save, as a list is
    m_file->setDirectWriteFallback(false);
    clearLastWriteError();
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_error = refusedNewFile(path, m_file->errorString());
        return;
    }
    m_writer = std::make_unique<QPdfWriter>(m_file.get());
    m_writer->setPageLayout(layout);
    m_writer->setResolution(resolution);
    m_writer->setTitle(QFileInfo(path).completeBaseName());
    m_writer->setCreator(Document::kTitle);
    m_job = std::make_unique<QtPrintJob>(m_writer.get());
}

// Dropped before its end, the drawing ends before its writer and file go,
// and the file, never committed, takes nothing's place.
PdfJob::~PdfJob() = default;

void PdfJob::print(const QString &text)
{
    if (m_job)
        m_job->print(text);
}

void PdfJob::tab(int column)
{
    if (m_job)
        m_job->tab(column);
}

void PdfJob::newLine()
{
    if (m_job)
        m_job->newLine();
}

bool PdfJob::end(QString *error)
{
    if (!m_ended) {
        m_ended = true;
        if (!m_error) {
            // The writer puts the last page and the document's end into the
            // file as the drawing ends; only then is the file whole.
            const bool drawn = m_job->end(nullptr);
            m_job.reset();
            m_writer.reset();
            clearLastWriteError();
            if (!drawn || m_file->firstFailure || !m_file->flush() || !m_file->commit()) {
                m_error = m_file->firstFailure.value_or(lastWriteError(m_file->errorString()));
                if (m_file->isOpen())
                    m_file->cancelWriting();
            }
        }
    }
    if (m_error && error)
        *error = writeErrorReason(*m_error);
    return !m_error;
}
