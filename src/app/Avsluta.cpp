#include "app/Avsluta.h"

#include "app/Document.h"
#include "files/FilKommandon.h"
#include "table/TabellRutiner.h"

void Nytt(Document &doc)
{
    if (!sparaAndringarForst(doc))
        return;
    NyLista(doc);
    doc.Andrad = false;
}

bool Form_QueryUnload(Document &doc)
{
    return !sparaAndringarForst(doc);
}
