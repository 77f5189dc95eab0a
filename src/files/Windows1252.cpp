#include "files/Windows1252.h"

#include <cstring>

namespace {
// 0x80..0x9F; the unassigned 0x81, 0x8D, 0x8F, 0x90 and 0x9D stand for themselves.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The byte for a UTF-16 unit, or -1 when the code page has none.
int encodeUnit(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u)
            return 0x80 + i;
    return -1;
}
} // namespace

QString fromWindows1252(QByteArrayView bytes)
{
    // Latin-1 is the common case and Qt converts it fast; then mend the few
    // bytes where the code pages differ. Plain ASCII, the most common text,
    // is passed over eight bytes at a time.
    QString out = QString::fromLatin1(bytes);
    const char *p = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    for (quint64 word; i + 8 <= n; i += 8) {
        std::memcpy(&word, p + i, sizeof word);
        if (word & 0x8080808080808080u)
            break;
    }
    QChar *mended = nullptr;
    for (; i < n; ++i) {
        const auto b = static_cast<unsigned char>(p[i]);
        if (b >= 0x80 && b < 0xA0) {
            if (!mended)
                mended = out.data();
            mended[i] = QChar(kHigh[b - 0x80]);
        }
    }
    return out;
}

char *encodeWindows1252(QStringView text, char *out, bool &faithful)
{
    const qsizetype n = text.size();
    const QChar *in = text.data();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = in[i].unicode();
        if (u < 0x80) {
            *out++ = static_cast<char>(u);
            continue;
        }
        const int b = encodeUnit(u);
        if (b >= 0) {
            *out++ = static_cast<char>(b);
            continue;
        }
        faithful = false;
        *out++ = '?';
        if (QChar::isHighSurrogate(u) && i + 1 < n && in[i + 1].isLowSurrogate())
            ++i;
    }
    return out;
}
