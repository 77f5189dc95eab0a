#include "app/Avsluta.h"

#include "app/Document.h"
#include "table/TabellRutiner.h"

// PLACEHOLDER until the tag-file work lands: no save prompt yet.
void Nytt(Document &doc)
{
    NyLista(doc);
    doc.Andrad = false;
}

bool Form_QueryUnload(Document &)
{
    return false;
}
