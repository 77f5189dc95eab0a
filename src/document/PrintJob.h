#pragma once

#include <QString>

// A print job on the default printer: text at the current position, tab to a
// print column (1-based, in average character widths), end a line, end the
// document.
class PrintJob {
public:
    virtual ~PrintJob() = default;
    virtual void print(const QString &text) = 0;
    virtual void tab(int column) = 0;
    virtual void newLine() = 0;
    // Sends the pages to the printer; false with a reason when that failed.
    virtual bool end(QString *error) = 0;
};
