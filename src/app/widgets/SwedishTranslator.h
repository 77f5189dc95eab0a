#pragma once

#include <QTranslator>

// Swedish texts for the standard buttons, the file dialog, the print preview
// and its print dialog, which Qt ships no Swedish catalogue for. Always
// installed.
class SwedishTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char *context, const char *sourceText, const char *disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};
