#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// A quantity cell's text as a 16-bit whole number: read under the user's
// locale, blanks around it ignored, halves rounded to the even neighbour.
// nullopt for an empty or non-numeric text or a value outside -32768..32767.
std::optional<qint16> konverteraAntal(const QString &text);
