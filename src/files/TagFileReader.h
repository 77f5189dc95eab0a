#pragma once

#include "base/Limits.h"

#include <QByteArrayView>
#include <QString>

#include <array>
#include <vector>

class ContentHash;
class QIODevice;

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

// Bytes for the reader, a piece at a time, so that a file is read as it is
// parsed and no further than the list goes.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // The next bytes; empty at the end. They stay valid until the next call.
    virtual QByteArrayView next() = 0;
    // How many bytes are still to come, as far as known; -1 when not.
    virtual qint64 sizeHint() const { return -1; }
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
// Reads at most maxRecords records. Linear in the input; never reads past it;
// how the bytes are cut into pieces makes no difference. It keeps no more
// of the input than one item.
TagFileContent readTagFile(ByteSource &source, int maxRecords, int maxTextLength = kMaxTextLength);
TagFileContent readTagFile(QByteArrayView data, int maxRecords, int maxTextLength = kMaxTextLength);

// Reads a tag file from a device as it parses, at most maxBytes of it (a
// file that never ends must not take the time), and stops where the list
// stops. A device that fails, or that has more than maxBytes, ends the list
// as damage. hash, when given, receives every byte read.
TagFileContent readTagFile(QIODevice &device, int maxRecords, ContentHash *hash = nullptr,
                           qint64 maxBytes = kMaxTagFileBytes);
