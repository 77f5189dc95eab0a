#pragma once

#include "document/EditorFields.h"

#include <QLineEdit>

// The row editor's fields as three line edits.
class LineEditFields : public EditorFields {
public:
    LineEditFields(QLineEdit *rad1, QLineEdit *rad2, QLineEdit *antal) : m_edits{rad1, rad2, antal} {}

    QString text(Field f) const override { return m_edits[f]->text(); }
    void setText(Field f, const QString &text) override { m_edits[f]->setText(text); }
    void setFocus(Field f) override { m_edits[f]->setFocus(Qt::OtherFocusReason); }
    bool isShown(Field f) const override { return m_edits[f]->isVisible(); }

private:
    QLineEdit *m_edits[3];
};
