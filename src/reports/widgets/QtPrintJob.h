#pragma once

#include "document/Desktop.h"

#include <QFontMetricsF>
#include <QPainter>

#include <memory>
#include <optional>

class QPagedPaintDevice;
class QPrinter;

// A print job on a paged device (a printer, a print preview's printer or a
// PDF writer), so that all of them get the same pages: text at the current
// position, tab steps in print columns of the device font's average
// character width, lines that break onto a new page at the bottom, and the
// end of the document.
class QtPrintJob : public PrintJob {
public:
    // Prints on a device owned by the caller, which outlives the job.
    explicit QtPrintJob(QPagedPaintDevice *device);
    // Prints on a printer of its own.
    explicit QtPrintJob(std::unique_ptr<QPrinter> printer);
    ~QtPrintJob() override;

    void print(const QString &text) override;
    void tab(int column) override;
    void newLine() override;
    bool end(QString *error) override;

    // Width of one print column and height of one line, in device pixels.
    qreal columnWidth() const { return m_columnWidth; }
    qreal lineHeight() const { return m_lineHeight; }
    // The current print position, in device pixels from the printable
    // area's top left corner, and the page being printed (1-based).
    qreal x() const { return m_x; }
    qreal y() const { return m_y; }
    int page() const { return m_page; }

private:
    void begin();
    void fail(const QString &reason);
    void setBusy(bool busy);

    std::unique_ptr<QPrinter> m_owned;
    QPagedPaintDevice *m_device;
    // The device when it is a printer, which has a name, a state and a way
    // to drop a half-done job; nullptr for any other device.
    QPrinter *m_printer;
    QPainter m_painter;
    QString m_error;
    std::optional<QFontMetricsF> m_metrics;
    qreal m_columnWidth = 1;
    qreal m_lineHeight = 1;
    qreal m_ascent = 0;
    qreal m_pageHeight = 0;
    qreal m_x = 0;
    qreal m_y = 0;
    int m_page = 1;
    bool m_ended = false;
    bool m_busy = false;
};
