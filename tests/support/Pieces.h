#pragma once

#include "files/TagFileReader.h"

#include <QByteArray>

#include <algorithm>

// Bytes in pieces of one size, as a file is read: each piece lies in a
// buffer of its own that the next piece overwrites, so a reader that kept
// a view of an earlier piece reads garbage. Size 0 gives them whole.
class Pieces : public ByteSource {
public:
    Pieces(QByteArrayView data, qsizetype size) : m_data(data), m_size(size ? size : data.size()) {}
    QByteArrayView next() override
    {
        const QByteArrayView piece = m_data.first(std::min(m_size, m_data.size()));
        m_data = m_data.sliced(piece.size());
        m_buffer.fill('"');
        m_buffer = piece.toByteArray();
        return m_buffer;
    }

private:
    QByteArrayView m_data;
    qsizetype m_size;
    QByteArray m_buffer;
};
