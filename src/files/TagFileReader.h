#pragma once

#include "document/Document.h"

#include <QByteArrayView>
#include <QString>

#include <array>
#include <vector>

// What the reader made of a tag file's bytes.
struct TagFileContent {
    enum class End {
        Complete,  // every record was read
        ReadError, // stopped at a record it could not complete
        ListLimit, // a further complete record came after the list limit
    };
    // One per record: text 1, text 2 and the quantity as plain decimal.
    std::vector<std::array<QString, 3>> rows;
    End end = End::Complete;
    // True when the reading stopped with more than blanks and line ends
    // left from the record it gave up on.
    bool contentLeft = false;
};

// Reads records of three items (text, text, 16-bit quantity). Items are
// separated by commas and line ends (CR LF, or a lone CR or LF); blanks
// before an item are skipped; a quoted item runs to the next quote and the
// reader then moves past the next separator; an unquoted item runs to the
// next separator, trailing blanks dropped. An empty or non-numeric quantity
// reads as 0, a fraction is rounded half to even, and a value outside
// -32768..32767 is a read error, as is the end of the data inside a record,
// and so is a text item longer than maxTextLength characters (no cell holds
// more; the reader stops there without reading the rest of the item).
// Reads at most maxRecords records. Linear in the input; never reads past it.
TagFileContent readTagFile(QByteArrayView data, int maxRecords, int maxTextLength = kMaxTextLength);
