#pragma once

#include <QString>

struct Document;

// "Skriv ut": the printed listing on the default printer.
void SkrivUt(Document &doc);

// A number as the listing prints it: a sign place (blank or minus), the
// digits and one blank after them.
QString utskriftTal(int n);
