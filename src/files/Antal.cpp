#include "files/Antal.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

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

std::optional<qint16> konverteraAntal(const QString &text)
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
