#pragma once
// Cuts the byte stream of one connection into lines. A line ends at LF; a CR before it and
// blanks around it are not part of it; empty lines are skipped. Room lines are printable ASCII
// (scrambled text), so the bytes are taken as Latin-1 and any other byte makes the line
// unreadable for the unscrambler, which then refuses it.

#include <QByteArray>
#include <QString>
#include <vector>

namespace velmora::server {

class LineFramer {
public:
    explicit LineFramer(qsizetype maxLine) : m_maxLine(maxLine) {}

    // Appends received bytes and returns the completed lines. Sets overflowed() (and returns
    // what completed before) when a line grows beyond maxLine without its line end: the
    // connection must then be closed, since the stream cannot be resynchronised cheaply.
    std::vector<QString> feed(const QByteArray& bytes);
    bool overflowed() const { return m_overflowed; }
    qsizetype pending() const { return m_pending.size(); }

private:
    qsizetype m_maxLine;
    QByteArray m_pending;
    bool m_overflowed = false;
};

}  // namespace velmora::server
