#pragma once

#include "document/Desktop.h"

#include <QFontMetricsF>
#include <QPainter>

#include <memory>
#include <optional>

class QPrinter;

// A print job on a QPrinter: text at the current position, tab steps in
// print columns of the printer font's average character width, lines that
// break onto a new page at the bottom, and the end of the document.
class QtPrintJob : public PrintJob {
public:
    // Prints on a printer owned by the caller, which outlives the job.
    explicit QtPrintJob(QPrinter *printer);
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
