#pragma once
// Cuts received bytes into lines. A line ends at LF; runs of characters with codes up to 32
// also separate lines (they never occur inside a scrambled line). The unfinished tail waits for
// the next data, but never grows beyond kMaxPendingBytes: a peer that sends that much without a
// line end is broken or hostile, and the caller drops the connection.

#include <QByteArray>
#include <QList>

namespace velmora::hall {

class LineAssembler {
public:
    static constexpr qsizetype kMaxPendingBytes = 65536;

    // Appends data and returns the complete lines (trimmed, never empty). Returns false in
    // `overflow` when the unfinished tail went past the limit; the tail is then discarded.
    QList<QByteArray> feed(const QByteArray& data, bool* overflow = nullptr);
    const QByteArray& pending() const { return m_pending; }
    void clear() { m_pending.clear(); }

private:
    QByteArray m_pending;
};

}  // namespace velmora::hall
