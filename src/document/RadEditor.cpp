#include "document/RadEditor.h"

#include "document/Document.h"
#include "document/TabellRutiner.h"
#include "table/RowNumbers.h"
#include "base/Numbers.h"

namespace {
void fel(Document &doc, const QString &prompt, const QString &title, EditorFields::Field focus)
{
    doc.desktop.messageBox(prompt, title, Desktop::Icon::Warning);
    doc.fields.setFocus(focus);
}
} // namespace

void cmdUppdatera_Click(Document &doc)
{
    TagGrid &g = doc.grid;
    const QString rad1 = doc.fields.text(EditorFields::Rad1);
    const QString rad2 = doc.fields.text(EditorFields::Rad2);
    const QString antal = doc.fields.text(EditorFields::Antal);

    if (rad1.isEmpty() && rad2.isEmpty())
        return fel(doc, QStringLiteral("Minst ett av textfälten måste innehålla något!"), QStringLiteral("Fel text"),
                   EditorFields::Rad1);
    if (!isNumeric(antal))
        return fel(doc, QStringLiteral("Antal måste vara numeriskt!"), QStringLiteral("Fel antal"),
                   EditorFields::Antal);
    if (!(leadingValue(antal) > 0))
        return fel(doc, QStringLiteral("Antal måste vara större än noll!"), QStringLiteral("Fel antal"),
                   EditorFields::Antal);

    const bool entryRow = g.row() == g.rows() - 1;
    if (entryRow && g.rows() >= Document::kMaxRows) {
        doc.warnListFull();
        return;
    }

    g.setCol(1);
    g.setText(rad1);
    g.setCol(2);
    g.setText(rad2);
    g.setCol(3);
    g.setText(antal);
    if (entryRow)
        g.setRows(g.rows() + 1);
    g.setRow(g.row() + 1);
    g.setCol(0);
    g.setText(rowNumberText(g.row()));
    MarkeraRader(doc);
    HamtaRad(doc);
    doc.Andrad = true;
}
