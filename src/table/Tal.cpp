#include "table/Tal.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <string>

bool arNumerisk(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    const double v = QLocale().toDouble(t, &ok);
    return ok && std::isfinite(v);
}

double ledandeVarde(const QString &text)
{
    // Collect the characters a plain decimal number can hold, skipping
    // blanks, and read the longest number at the start (from_chars, since
    // the C library's readers follow the process locale).
    std::string num;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == u' ' || u == u'\t' || u == u'\n')
            continue;
        if ((u >= u'0' && u <= u'9') || u == u'-' || u == u'+' || u == u'.')
            num.push_back(static_cast<char>(u));
        else if (u == u'e' || u == u'E' || u == u'd' || u == u'D')
            num.push_back('e');
        else
            break;
    }
    const char *first = num.data();
    const char *last = first + num.size();
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-' && first[1] != '+')
        ++first;
    double v = 0.0;
    const auto [ptr, ec] = std::from_chars(first, last, v, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: keep the sign and the scale.
        const bool negative = *first == '-';
        const bool tiny = num.find("e-") != std::string::npos;
        return tiny ? 0.0 : (negative ? -HUGE_VAL : HUGE_VAL);
    }
    return ec == std::errc() ? v : 0.0;
}
