#include "edit/FindReplace.h"

#include "base/Limits.h"
#include "document/Document.h"
#include "document/TableRoutines.h"

#include <QList>
#include <QStringMatcher>

#include <algorithm>
#include <vector>

namespace {

// The search text, compiled once for the whole list.
class Matcher {
public:
    explicit Matcher(const FindSettings &s)
        : m_matcher(s.text, s.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive), m_length(s.text.size())
    {
    }

    bool in(const QString &text) const { return text.size() >= m_length && m_matcher.indexIn(text) >= 0; }

    // Matches one after another, from the left, none overlapping another:
    // "aa" is once in "aaa".
    qsizetype count(const QString &text) const
    {
        if (text.size() < m_length)
            return 0;
        qsizetype n = 0;
        for (qsizetype at = m_matcher.indexIn(text); at >= 0; at = m_matcher.indexIn(text, at + m_length))
            ++n;
        return n;
    }

    // The length text would have with its n matches replaced; 64-bit, since
    // it may be far beyond any text we build.
    qint64 lengthAfter(const QString &text, qsizetype n, const QString &with) const
    {
        return qint64(text.size()) + qint64(n) * (qint64(with.size()) - m_length);
    }

    QString replaced(const QString &text, const QString &with) const
    {
        QString out;
        qsizetype from = 0;
        for (qsizetype at = m_matcher.indexIn(text); at >= 0; at = m_matcher.indexIn(text, from)) {
            out += QStringView(text).mid(from, at - from);
            out += with;
            from = at + m_length;
        }
        out += QStringView(text).mid(from);
        return out;
    }

private:
    QStringMatcher m_matcher;
    qsizetype m_length;
};

int lastDataRow(const TagGrid &g)
{
    return g.rows() - 2;
}

bool rowMatches(const TagGrid &g, const Matcher &m, int row, bool textsOnly)
{
    return m.in(g.textAt(row, 1)) || m.in(g.textAt(row, 2)) || (!textsOnly && m.in(g.textAt(row, 3)));
}

// The first matching row after the cursor row, going round from row 1 to
// the cursor row itself; -1 when there is none.
int nextMatch(const TagGrid &g, const Matcher &m, bool textsOnly)
{
    const int last = lastDataRow(g);
    const int cursor = g.row();
    for (int r = std::max(cursor + 1, 1); r <= last; ++r)
        if (rowMatches(g, m, r, textsOnly))
            return r;
    for (int r = 1; r <= cursor && r <= last; ++r)
        if (rowMatches(g, m, r, textsOnly))
            return r;
    return -1;
}

// The row becomes the cursor row as a click on it makes it.
void goToRow(Document &doc, int row)
{
    doc.grid.setRow(row);
    grdGrid_Click(doc);
}

void notFound(Document &doc, const QString &text, const QString &title)
{
    doc.desktop.messageBox(QStringLiteral("Hittade inte \"") + text + QStringLiteral("\"."), title,
                           Desktop::Icon::Information);
}

void remember(Document &doc, const FindSettings &search, bool withReplacement)
{
    const QString replacement = doc.find.replacement;
    doc.find = search;
    if (!withReplacement)
        doc.find.replacement = replacement;
}

// What Ersätt and Ersätt alla look for: the texts only, remembered with the
// replacement for Sök nästa and the next time the window opens.
FindSettings replaceSettings(Document &doc, const FindSettings &search)
{
    FindSettings s = search;
    s.textsOnly = true;
    remember(doc, s, true);
    return s;
}

// One row's two texts with the replacement made, or why it cannot be made.
struct RowReplacement {
    int row = 0;
    qsizetype matches = 0;
    bool left = false; // too long, or both texts would end empty
    bool same = false; // replaced by what was there ("a" by "a"): no change
    QString text1, text2;
};

RowReplacement replaceInRow(const TagGrid &g, const Matcher &m, int row, const QString &with)
{
    RowReplacement out;
    out.row = row;
    const QString &t1 = g.textAt(row, 1);
    const QString &t2 = g.textAt(row, 2);
    const qsizetype n1 = m.count(t1), n2 = m.count(t2);
    out.matches = n1 + n2;
    if (out.matches == 0)
        return out;
    // Measured before it is built: a short text may grow past any memory.
    if (m.lengthAfter(t1, n1, with) > kMaxTextLength || m.lengthAfter(t2, n2, with) > kMaxTextLength) {
        out.left = true;
        return out;
    }
    out.text1 = n1 ? m.replaced(t1, with) : t1;
    out.text2 = n2 ? m.replaced(t2, with) : t2;
    out.left = out.text1.isEmpty() && out.text2.isEmpty();
    out.same = out.text1 == t1 && out.text2 == t2;
    return out;
}

QString countText(qsizetype n)
{
    return n == 1 ? QStringLiteral("1 ersättning gjordes.") : QStringLiteral("%1 ersättningar gjordes.").arg(n);
}

void reportLeft(Document &doc, qsizetype replaced, const QList<qsizetype> &left)
{
    QString prompt = countText(replaced);
    if (!left.isEmpty())
        prompt += QStringLiteral("\nRader som inte ändrades: ") + Document::rowList(left);
    doc.desktop.messageBox(prompt, kReplaceTitle, Desktop::Icon::Information);
}

} // namespace

bool findNext(Document &doc, const FindSettings &search, const QString &title)
{
    remember(doc, search, false);
    if (search.text.isEmpty())
        return false;
    const int row = nextMatch(doc.grid, Matcher(search), search.textsOnly);
    if (row < 0) {
        notFound(doc, search.text, title);
        return false;
    }
    goToRow(doc, row);
    return true;
}

void repeatFind(Document &doc)
{
    if (doc.find.text.isEmpty())
        doc.desktop.showFind();
    else
        findNext(doc, doc.find, kFindTitle);
}

void replaceOne(Document &doc, const FindSettings &search)
{
    const FindSettings s = replaceSettings(doc, search);
    if (s.text.isEmpty())
        return;
    TagGrid &g = doc.grid;
    const Matcher m(s);
    const int row = g.row();
    bool matched = false;
    if (row >= 1 && row <= lastDataRow(g)) {
        const RowReplacement r = replaceInRow(g, m, row, s.replacement);
        matched = r.matches > 0;
        if (r.left) {
            reportLeft(doc, 0, {row});
        } else if (matched && !r.same) {
            ListChange change;
            change.index = row;
            change.before = GridSelection::of(g);
            change.removed = g.rowsAt(row, 1);
            g.setTextAt(row, 1, r.text1);
            g.setTextAt(row, 2, r.text2);
            goToRow(doc, row);
            doc.markChanged();
            change.inserted = g.rowsAt(row, 1);
            change.after = GridSelection::of(g);
            doc.history.record(std::move(change));
        }
    }
    const int next = nextMatch(g, m, true);
    if (next >= 0)
        goToRow(doc, next);
    else if (!matched)
        notFound(doc, s.text, kReplaceTitle);
}

void replaceAll(Document &doc, const FindSettings &search)
{
    const FindSettings s = replaceSettings(doc, search);
    if (s.text.isEmpty())
        return;
    TagGrid &g = doc.grid;
    const Matcher m(s);
    std::vector<RowReplacement> changed;
    QList<qsizetype> left;
    qsizetype replaced = 0;
    for (int r = 1; r <= lastDataRow(g); ++r) {
        RowReplacement rr = replaceInRow(g, m, r, s.replacement);
        if (rr.matches == 0)
            continue;
        if (rr.left) {
            left << r;
            continue;
        }
        replaced += rr.matches;
        if (!rr.same)
            changed.push_back(std::move(rr));
    }
    if (replaced == 0 && left.isEmpty()) {
        notFound(doc, s.text, kReplaceTitle);
        return;
    }
    if (!changed.empty()) {
        // One step from the first changed row to the last: the rows between
        // are shared with the list, not copied.
        const int first = changed.front().row;
        const int count = changed.back().row - first + 1;
        ListChange change;
        change.index = first;
        change.before = GridSelection::of(g);
        change.removed = g.rowsAt(first, count);
        for (RowReplacement &rr : changed) {
            g.setTextAt(rr.row, 1, rr.text1);
            g.setTextAt(rr.row, 2, rr.text2);
        }
        // The cursor and the selection stay; the cursor row is loaded anew.
        MarkeraRader(doc);
        HamtaRad(doc);
        doc.markChanged();
        change.inserted = g.rowsAt(first, count);
        change.after = GridSelection::of(g);
        doc.history.record(std::move(change));
    }
    reportLeft(doc, replaced, left);
}
