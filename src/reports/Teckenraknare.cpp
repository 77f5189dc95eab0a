#include "reports/Teckenraknare.h"

#include "document/Document.h"
#include "document/TableRoutines.h"
#include "table/RowNumbers.h"
#include "base/Numbers.h"

#include <array>

namespace {

const QString kTitle = QStringLiteral("Teckenräknare");

constexpr int kMinstaKlass = 10;
constexpr int kStorstaKlass = 40;

// A number in the message: one leading blank unless it is negative.
QString tal(qint64 n)
{
    return (n < 0 ? QString() : QStringLiteral(" ")) + QString::number(n);
}

QString brickor(qint64 n)
{
    return n == 1 ? QStringLiteral(" bricka innehåller") : QStringLiteral(" brickor innehåller");
}

} // namespace

QString teckenrakning(const Document &doc)
{
    const TagGrid &g = doc.grid;
    // 32-bit sums: a full list of large quantities cannot overflow them
    // (32765 rows x 32767 stays below 2^31).
    std::array<qint32, kStorstaKlass + 1> antal{};
    qint32 utanAntal = 0;

    const int last = g.rows() - 2;
    for (int r = 1; r <= last; ++r) {
        const std::optional<qint16> vikt = convertQuantity(g.textAt(r, 3));
        if (!vikt) {
            ++utanAntal;
            continue;
        }
        // Lengths in UTF-16 units, summed wide so that long cells cannot wrap.
        const qsizetype langd = g.textAt(r, 1).size() + g.textAt(r, 2).size();
        const int klass = langd <= kMinstaKlass    ? kMinstaKlass
                          : langd >= kStorstaKlass ? kStorstaKlass
                                                   : static_cast<int>(langd);
        antal[static_cast<size_t>(klass)] += *vikt;
    }

    const qint32 forsta = antal[kMinstaKlass];
    QString text = tal(forsta) + brickor(forsta) + QStringLiteral(" 1 till 10 tecken.");
    for (int c = kMinstaKlass + 1; c <= kStorstaKlass; ++c) {
        const qint32 n = antal[static_cast<size_t>(c)];
        if (n <= 0)
            continue;
        text += QLatin1Char('\n') + tal(n) + brickor(n) + tal(c) +
                (c == kStorstaKlass ? QStringLiteral(" eller fler tecken.") : QStringLiteral(" tecken."));
    }
    // Rows without a valid quantity have no weight; say so instead of
    // guessing one.
    if (utanAntal > 0)
        text += QLatin1Char('\n') + tal(utanAntal) +
                (utanAntal == 1 ? QStringLiteral(" rad saknar giltigt antal och räknades inte.")
                                : QStringLiteral(" rader saknar giltigt antal och räknades inte."));
    return text;
}

void mnuInfoItem_Click(Document &doc, qint16 index)
{
    TagGrid &g = doc.grid;
    const int kolumn = g.col();
    const qint16 rad = toRowIndex(g.row());

    if (index == 0) {
        if (g.rows() < 3) {
            doc.desktop.messageBox(QStringLiteral("Inga brickor upplagda!"), kTitle, Desktop::Icon::Information);
            return;
        }
        const QString text = teckenrakning(doc);
        // While the message is up the cursor rests where a row-by-row scan
        // ends: the last tag row, quantity column.
        g.setRow(g.rows() - 2);
        g.setCol(3);
        doc.desktop.messageBox(text, kTitle, Desktop::Icon::Information);
    }

    g.setCol(kolumn);
    g.setRow(rad);
    MarkeraRader(doc);
}
