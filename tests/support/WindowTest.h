#pragma once

// For the widget and end-to-end tests, which link the widgets.
#include "app/widgets/Huvudbild.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// Fills the three fields and clicks "Uppdatera". setText, since QTest
// cannot type letters outside ASCII.
inline void commitTag(Huvudbild &w, const QString &a, const QString &b, const QString &c)
{
    w.txtRad1()->setText(a);
    w.txtRad2()->setText(b);
    w.txtAntal()->setText(c);
    QTest::mouseClick(w.cmdUppdatera(), Qt::LeftButton);
}
