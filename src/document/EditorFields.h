#pragma once

#include <QString>

// The row editor's three text fields as the commands see them.
class EditorFields {
public:
    enum Field { Rad1, Rad2, Antal };

    virtual ~EditorFields() = default;
    virtual QString text(Field f) const = 0;
    virtual void setText(Field f, const QString &text) = 0;
    virtual void setFocus(Field f) = 0;
    // True when the field is shown on the screen and can take the focus.
    virtual bool isShown(Field f) const = 0;
};
