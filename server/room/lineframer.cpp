#include "server/room/lineframer.h"

namespace velmora::server {

std::vector<QString> LineFramer::feed(const QByteArray& bytes) {
    std::vector<QString> lines;
    if (m_overflowed) return lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype lf = bytes.indexOf('\n', start);
        const qsizetype end = lf < 0 ? bytes.size() : lf;
        if (m_pending.size() + (end - start) > m_maxLine + 1) {  // +1: a CR before the LF
            m_overflowed = true;
            m_pending.clear();
            return lines;
        }
        m_pending.append(bytes.constData() + start, end - start);
        if (lf < 0) break;
        const QString line = QString::fromLatin1(m_pending).trimmed();
        m_pending.clear();
        if (!line.isEmpty()) {
            if (line.size() > m_maxLine) {
                m_overflowed = true;
                return lines;
            }
            lines.push_back(line);
        }
        start = lf + 1;
    }
    return lines;
}

}  // namespace velmora::server
