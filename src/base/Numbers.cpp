#include "base/Numbers.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

bool isNumeric(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    const double v = QLocale().toDouble(t, &ok);
    return ok && std::isfinite(v);
}

double leadingValue(const QString &text)
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
        // Too large or too small for a double: keep the sign and the scale
        // of the number read, not of what follows it.
        const bool negative = *first == '-';
        const bool tiny =
            std::string_view(first, static_cast<size_t>(ptr - first)).find("e-") != std::string_view::npos;
        return tiny ? 0.0 : (negative ? -HUGE_VAL : HUGE_VAL);
    }
    return ec == std::errc() ? v : 0.0;
}

namespace {
// A plain whole number ("12", "007", "-5") reads alike under every locale
// Qt knows, so it skips the locale's parser, which costs far more (the
// system locale is asked for its symbols on every call).
// Returns false when the text is not plain; otherwise out holds the value,
// or nothing when it is out of range.
bool plainWholeNumber(QStringView t, std::optional<qint16> &out)
{
    qsizetype i = t.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (i == t.size())
        return false;
    long value = 0;
    for (; i < t.size(); ++i) {
        const char16_t u = t[i].unicode();
        if (u < u'0' || u > u'9')
            return false;
        value = std::min(value * 10 + (u - u'0'), 100000L);
    }
    if (t.startsWith(QLatin1Char('-')))
        value = -value;
    out.reset();
    if (value >= -32768 && value <= 32767)
        out = static_cast<qint16>(value);
    return true;
}
} // namespace

std::optional<qint16> convertQuantity(const QString &text)
{
    const QStringView t = QStringView(text).trimmed();
    if (t.isEmpty())
        return std::nullopt;
    if (std::optional<qint16> plain; plainWholeNumber(t, plain))
        return plain;
    bool ok = false;
    const double v = QLocale().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    const double r = std::nearbyint(v); // the default rounding mode sends halves to even
    if (r < -32768.0 || r > 32767.0)
        return std::nullopt;
    return static_cast<qint16>(r);
}
