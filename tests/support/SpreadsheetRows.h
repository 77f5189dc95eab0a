#pragma once

#include <QByteArray>

// Rows as spreadsheets on Linux put them on the clipboard (UTF8_STRING and
// text/plain;charset=utf-8), recorded byte for byte: the cells A1:C4 of a
// sheet holding "Pump 1", "Källare", 12 / "Åsa Öberg", "A, B", 3 /
// "Värmeväxlare", "", 250 / "\"citat\"", "x", 1. Tab-separated, LF alone,
// nothing quoted.

// LibreOffice Calc 7.4: every row ends with LF.
inline const QByteArray kCalcRows = QByteArrayLiteral("Pump 1\tK\xc3\xa4llare\t12\n"
                                                      "\xc3\x85sa \xc3\x96"
                                                      "berg\tA, B\t3\n"
                                                      "V\xc3\xa4rmev\xc3\xa4xlare\t\t250\n"
                                                      "\"citat\"\tx\t1\n");
// Gnumeric 1.12: LF between rows, none after the last.
inline const QByteArray kGnumericRows = QByteArrayLiteral("Pump 1\tK\xc3\xa4llare\t12\n"
                                                          "\xc3\x85sa \xc3\x96"
                                                          "berg\tA, B\t3\n"
                                                          "V\xc3\xa4rmev\xc3\xa4xlare\t\t250\n"
                                                          "\"citat\"\tx\t1");
