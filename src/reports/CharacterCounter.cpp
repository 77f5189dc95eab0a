#include "reports/CharacterCounter.h"

#include "base/Numbers.h"
#include "document/Document.h"
#include "document/TableRoutines.h"
#include "table/RowNumbers.h"

#include <array>

namespace {

const QString kTitle = QStringLiteral("Teckenräknare");

constexpr int kSmallestClass = 10;
constexpr int kLargestClass = 40;

// A number in the message: one leading blank unless it is negative.
QString countText(qint64 n)
{
    return (n < 0 ? QString() : QStringLiteral(" ")) + QString::number(n);
}

QString tagsText(qint64 n)
{
    return n == 1 ? QStringLiteral(" bricka innehåller") : QStringLiteral(" brickor innehåller");
}

} // namespace

QString characterCountMessage(const Document &doc)
{
    const TagGrid &g = doc.grid;
    // 32-bit sums: a full list of large quantities cannot overflow them
    // (32765 rows x 32767 stays below 2^31).
    std::array<qint32, kLargestClass + 1> weights{};
    qint32 withoutQuantity = 0;

    const int last = g.rows() - 2;
    for (int r = 1; r <= last; ++r) {
        const std::optional<qint16> weight = convertQuantity(g.textAt(r, 3));
        if (!weight) {
            ++withoutQuantity;
            continue;
        }
        // Lengths in UTF-16 units, summed wide so that long cells cannot wrap.
        const qsizetype length = g.textAt(r, 1).size() + g.textAt(r, 2).size();
        const int lengthClass = length <= kSmallestClass  ? kSmallestClass
                                : length >= kLargestClass ? kLargestClass
                                                          : static_cast<int>(length);
        weights[static_cast<size_t>(lengthClass)] += *weight;
    }

    const qint32 first = weights[kSmallestClass];
    QString text = countText(first) + tagsText(first) + QStringLiteral(" 1 till 10 tecken.");
    for (int c = kSmallestClass + 1; c <= kLargestClass; ++c) {
        const qint32 n = weights[static_cast<size_t>(c)];
        if (n <= 0)
            continue;
        text += QLatin1Char('\n') + countText(n) + tagsText(n) + countText(c) +
                (c == kLargestClass ? QStringLiteral(" eller fler tecken.") : QStringLiteral(" tecken."));
    }
    // Rows without a valid quantity have no weight; say so instead of
    // guessing one.
    if (withoutQuantity > 0)
        text += QLatin1Char('\n') + countText(withoutQuantity) +
                (withoutQuantity == 1 ? QStringLiteral(" rad saknar giltigt antal och räknades inte.")
                                      : QStringLiteral(" rader saknar giltigt antal och räknades inte."));
    return text;
}

void showCharacterCount(Document &doc)
{
    TagGrid &g = doc.grid;
    const int col = g.col();
    const qint16 row = toRowIndex(g.row());

    if (g.rows() < 3) {
        doc.desktop.messageBox(QStringLiteral("Inga brickor upplagda!"), kTitle, Desktop::Icon::Information);
        return;
    }
    const QString text = characterCountMessage(doc);
    // While the message is up the cursor rests where a row-by-row scan
    // ends: the last tag row, quantity column.
    g.setRow(g.rows() - 2);
    g.setCol(3);
    doc.desktop.messageBox(text, kTitle, Desktop::Icon::Information);

    g.setCol(col);
    g.setRow(row);
    MarkeraRader(doc);
}
