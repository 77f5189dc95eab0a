#include "edit/RowEditor.h"

#include "base/Numbers.h"
#include "document/Document.h"
#include "document/TableRoutines.h"
#include "table/RowNumbers.h"

namespace {
void warn(Document &doc, const QString &prompt, const QString &title, EditorFields::Field focus)
{
    doc.desktop.messageBox(prompt, title, Desktop::Icon::Warning);
    doc.fields.setFocus(focus);
}
} // namespace

void cmdUppdatera_Click(Document &doc)
{
    TagGrid &g = doc.grid;
    const QString text1 = doc.fields.text(EditorFields::Rad1);
    const QString text2 = doc.fields.text(EditorFields::Rad2);
    const QString quantity = doc.fields.text(EditorFields::Antal);

    if (text1.isEmpty() && text2.isEmpty())
        return warn(doc, QStringLiteral("Minst ett av textfälten måste innehålla något!"), QStringLiteral("Fel text"),
                    EditorFields::Rad1);
    if (!isNumeric(quantity))
        return warn(doc, QStringLiteral("Antal måste vara numeriskt!"), QStringLiteral("Fel antal"),
                    EditorFields::Antal);
    if (!(leadingValue(quantity) > 0))
        return warn(doc, QStringLiteral("Antal måste vara större än noll!"), QStringLiteral("Fel antal"),
                    EditorFields::Antal);

    const bool entryRow = g.row() == g.rows() - 1;
    if (entryRow && g.rows() >= kMaxRows) {
        doc.warnListFull();
        return;
    }

    ListChange change;
    change.index = g.row();
    change.before = GridSelection::of(g);
    change.removed = g.rowsAt(change.index, 1);

    g.setCol(1);
    g.setText(text1);
    g.setCol(2);
    g.setText(text2);
    g.setCol(3);
    g.setText(quantity);
    if (entryRow)
        g.setRows(g.rows() + 1);
    g.setRow(g.row() + 1);
    g.setCol(0);
    g.setText(rowNumberText(g.row()));
    MarkeraRader(doc);
    HamtaRad(doc);
    doc.markChanged();
    change.inserted = g.rowsAt(change.index, entryRow ? 2 : 1);
    change.after = GridSelection::of(g);
    if (change.inserted != change.removed)
        doc.history.record(std::move(change));
}
