#include "reports/widgets/QtPrintJob.h"

#include "document/Document.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPrinter>

namespace {
// Positions are sums of text advances; a hair of rounding must not count as
// being past a column.
constexpr qreal kSlack = 0.01;
} // namespace

QtPrintJob::QtPrintJob(QPagedPaintDevice *device) : m_device(device), m_printer(dynamic_cast<QPrinter *>(device))
{
    begin();
}

QtPrintJob::QtPrintJob(std::unique_ptr<QPrinter> printer)
    : m_owned(std::move(printer)), m_device(m_owned.get()), m_printer(m_owned.get())
{
    begin();
}

QtPrintJob::~QtPrintJob()
{
    // A job dropped before its end sends nothing half-done to the printer.
    if (!m_ended && m_painter.isActive()) {
        if (m_printer)
            m_printer->abort();
        m_painter.end();
    }
    setBusy(false);
}

void QtPrintJob::setBusy(bool busy)
{
    // A long listing holds the window for a moment; the pointer says so.
    if (busy == m_busy || !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return;
    m_busy = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
}

void QtPrintJob::begin()
{
    if (!m_device) {
        fail(QStringLiteral("Ingen skrivare angavs."));
        return;
    }
    if (m_printer && m_printer->docName().isEmpty())
        m_printer->setDocName(Document::kTitle);
    if (!m_painter.begin(m_device)) {
        fail(QStringLiteral("Skrivaren kunde inte ta emot utskriften."));
        return;
    }
    // The painter starts with the device's default font; its metrics on the
    // printer decide the print columns and the line height.
    m_metrics.emplace(m_painter.font(), m_device);
    const QFontMetricsF &fm = *m_metrics;
    m_columnWidth = fm.averageCharWidth() > 0 ? fm.averageCharWidth() : 1;
    m_lineHeight = fm.lineSpacing() > 0 ? fm.lineSpacing() : 1;
    m_ascent = fm.ascent();
    m_pageHeight = m_device->height();
    setBusy(true);
}

void QtPrintJob::fail(const QString &reason)
{
    if (m_error.isEmpty())
        m_error = reason;
}

void QtPrintJob::print(const QString &text)
{
    if (!m_error.isEmpty() || m_ended || text.isEmpty())
        return;
    // A line that would pass the bottom of the page goes on a new page. This
    // is decided when something is printed on it, so that trailing line ends
    // leave no empty page behind.
    if (m_y > 0 && m_y + m_lineHeight > m_pageHeight) {
        if (!m_device->newPage()) {
            fail(QStringLiteral("Skrivaren kunde inte börja på en ny sida."));
            return;
        }
        m_y = 0;
        ++m_page;
    }
    m_painter.drawText(QPointF(m_x, m_y + m_ascent), text);
    m_x += m_metrics->horizontalAdvance(text);
}

void QtPrintJob::tab(int column)
{
    const qreal start = (qMax(column, 1) - 1) * m_columnWidth;
    if (m_x > start + kSlack)
        newLine();
    m_x = start;
}

void QtPrintJob::newLine()
{
    m_x = 0;
    m_y += m_lineHeight;
}

bool QtPrintJob::end(QString *error)
{
    if (!m_ended) {
        m_ended = true;
        if (m_painter.isActive() && !m_painter.end())
            fail(QStringLiteral("Utskriften kunde inte avslutas."));
        if (m_printer && m_printer->printerState() == QPrinter::Error)
            fail(QStringLiteral("Skrivaren rapporterade ett fel."));
        setBusy(false);
    }
    if (!m_error.isEmpty() && error)
        *error = m_error;
    return m_error.isEmpty();
}
