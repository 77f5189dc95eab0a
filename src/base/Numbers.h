#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// True when the whole text reads as a number under the user's locale
// (blanks around it, a sign and the locale's decimal separator allowed).
bool isNumeric(const QString &text);

// The number a text begins with: blanks, tabs and line feeds anywhere are
// skipped, a sign is read, only the full stop is a decimal point; 0 when the
// text does not begin with a number.
double leadingValue(const QString &text);

// A quantity cell's text as a 16-bit whole number: read under the user's
// locale, blanks around it ignored, halves rounded to the even neighbour.
// nullopt for an empty or non-numeric text or a value outside -32768..32767.
std::optional<qint16> convertQuantity(const QString &text);
