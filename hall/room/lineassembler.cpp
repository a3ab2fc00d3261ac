#include "hall/room/lineassembler.h"

namespace velmora::hall {

QList<QByteArray> LineAssembler::feed(const QByteArray& data, bool* overflow) {
    if (overflow != nullptr) *overflow = false;
    QList<QByteArray> lines;
    QByteArray text = m_pending + data;
    m_pending.clear();
    const bool complete = text.endsWith('\n');
    qsizetype start = 0;
    const qsizetype n = text.size();
    qsizetype lastStart = 0;
    for (qsizetype i = 0; i <= n; ++i) {
        const bool separator = i == n || static_cast<unsigned char>(text[i]) <= 32;
        if (!separator) continue;
        if (i > start) {
            lines.append(text.mid(start, i - start));
            lastStart = start;
        }
        start = i + 1;
    }
    if (!complete && !lines.isEmpty() && lastStart + lines.last().size() == n) {
        // The text does not end with LF: its last piece is unfinished.
        m_pending = lines.takeLast();
        if (m_pending.size() > kMaxPendingBytes) {
            m_pending.clear();
            if (overflow != nullptr) *overflow = true;
        }
    }
    return lines;
}

}  // namespace velmora::hall
