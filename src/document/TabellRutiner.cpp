#include "document/TabellRutiner.h"

#include "document/Document.h"
#include "table/Radnummer.h"

void NyLista(Document &doc)
{
    TagGrid &g = doc.grid;
    doc.FilNamn.clear();
    doc.desktop.setCaption(Document::caption(QString()));

    g.setRows(2);
    g.setCols(4);
    g.setFixedRows(1);
    g.setFixedCols(1);

    g.setFillStyle(TagGrid::FillStyle::Repeat);
    g.setText(QString());
    g.setFillStyle(TagGrid::FillStyle::Single);

    static const QString headers[4] = {QString(), QStringLiteral("Rad 1"), QStringLiteral("Rad 2"),
                                       QStringLiteral("Antal")};
    using A = TagGrid::Alignment;
    static const A align[4] = {A::RightCenter, A::LeftCenter, A::LeftCenter, A::RightCenter};
    g.setRow(0);
    for (int c = 0; c < 4; ++c) {
        g.setCol(c);
        g.setColAlignment(c, align[c]);
        g.setHeaderAlignment(c, align[c]);
        g.setText(headers[c]);
    }

    g.setRow(1);
    g.setCol(0);
    g.setText(radnummer(g.row()));
    for (int c = 1; c <= 3; ++c) {
        g.setCol(c);
        g.setText(QString());
    }
    HamtaRad(doc);
}

void NumreraRader(Document &doc)
{
    TagGrid &g = doc.grid;
    const qint16 remembered = toRowIndex(g.row());
    g.setCol(0);
    const int last = g.rows() - 1;
    toRowIndex(last + 1); // the counter must be able to step past the last row
    for (int i = 1; i <= last; ++i)
        g.setTextAt(i, 0, radnummer(i));
    g.setRow(remembered);
    g.setCol(1);
}

void MarkeraRader(Document &doc)
{
    TagGrid &g = doc.grid;
    const int remembered = g.rowSel();
    g.setCol(1);
    g.setColSel(3);
    g.setRowSel(remembered);
}

void HamtaRad(Document &doc)
{
    TagGrid &g = doc.grid;
    const int remembered = g.rowSel();
    g.setCol(1);
    doc.fields.setText(EditorFields::Rad1, g.text());
    g.setCol(2);
    doc.fields.setText(EditorFields::Rad2, g.text());
    g.setCol(3);
    doc.fields.setText(EditorFields::Antal, g.text());
    VisaAktuellRad(doc);
    g.setCol(1);
    g.setColSel(3);
    g.setRowSel(remembered);
    if (doc.fields.isShown(EditorFields::Rad1))
        doc.fields.setFocus(EditorFields::Rad1);
}

void VisaAktuellRad(Document &doc)
{
    TagGrid &g = doc.grid;
    try {
        // Scrolling down never reaches a row above the first shown one, so
        // such a row is brought into view directly.
        if (g.row() >= g.fixedRows() && g.row() < g.topRow()) {
            g.setTopRow(g.row());
            return;
        }
        while (!g.isRowVisible(g.row())) {
            const int before = g.topRow();
            g.setTopRow(before + 1);
            if (g.topRow() == before)
                break;
        }
    } catch (const TagGrid::Error &) {
        // The table could scroll no further; keep what was reached.
    }
}

void grdGrid_Click(Document &doc)
{
    if (doc.grid.row() == 0)
        doc.grid.setRow(1);
    MarkeraRader(doc);
    HamtaRad(doc);
}
