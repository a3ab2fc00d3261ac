#include "CustomPluginShare.h"

#include "contract/PluginFrames.h"
#include "platform/codepage/codepage.h"
#include "platform/com/comobject.h"

#include <QDebug>
#include <cstring>

namespace velmora::plugin {

TCustomPluginShare::~TCustomPluginShare() = default;

void TCustomPluginShare::setHallInterface(contract::IHallInterfaceReq* hall) {
    m_hall = com::ComPtr<contract::IHallInterfaceReq>(hall);
    if (onSetInterface) onSetInterface();
    if (m_hall) com::check(m_hall->onGetHallVer(&m_hallVersion), "onGetHallVer");
}

void TCustomPluginShare::initialize(const SessionParams& params) {
    m_session = params;
    m_session.videoServer = platform::gbkCut(params.videoServer, 20);
    m_finalized = false;
    if (m_hall) {
        // The buffer is zeroed and read only up to its size: a hall that writes no terminator
        // cannot make us read past it.
        char path[contract::kAppPathBufferSize];
        std::memset(path, 0, sizeof path);
        com::check(m_hall->onGetAppPath(m_session.cookie, path), "onGetAppPath");
        m_hallDir = platform::readGbkZ(path, sizeof path);
        if (!m_hallDir.isEmpty() && !m_hallDir.endsWith(QLatin1Char('/'))) m_hallDir += QLatin1Char('/');
    }
    sendFrame(contract::buildRefreshUsers(m_session.ownUserId));
    sendFrame(*contract::buildTableFrame(m_session.ownUserId, contract::SubCode::kUserJoined, {}, false));
}

void TCustomPluginShare::finalize() {
    if (m_finalized) return;
    m_finalized = true;
    if (m_hall) {
        QByteArray leave(contract::kMemberIdFrame, '\0');
        leave[0] = char(contract::FrameKind::kLeaveTable);
        std::memcpy(leave.data() + 1, &m_session.ownUserId, 8);
        sendFrame(leave);
    }
    if (onFinalize) onFinalize();
    // The hall releases the plug-in from here on; the COM object's own reference keeps it alive
    // until this call has returned.
    if (m_hall) com::check(m_hall->onClosedCOM(m_session.cookie), "onClosedCOM");
}

bool TCustomPluginShare::setUserName(std::int64_t userId, const QByteArray& name, std::uint16_t faceNum) {
    for (auto& m : m_members) {
        if (m.UserId != userId) continue;
        std::memset(m.NickName, 0, sizeof m.NickName);
        std::memcpy(m.NickName, name.constData(), size_t(std::min<qsizetype>(name.size(), sizeof m.NickName)));
        m.FaceNum = faceNum;
        return true;
    }
    return false;
}

void TCustomPluginShare::showChatText(const QByteArray& text) {
    if (onChatText) onChatText(text);
}

void TCustomPluginShare::prepCommand(const QByteArray& frame) {
    if (frame.isEmpty()) return;
    ++m_commandCount;
    try {
        processCommand(frame);
    } catch (const std::exception& e) {
        // A frame whose handling fails is dropped; the session goes on.
        qWarning("plug-in frame of kind %d dropped: %s", int(quint8(frame[0])), e.what());
    }
}

void TCustomPluginShare::processCommand(const QByteArray&) {}

void TCustomPluginShare::sendFrame(const QByteArray& frame, std::int64_t target) {
    if (!m_hall || frame.isEmpty()) return;
    com::check(m_hall->onPrepOrder(m_session.cookie, target, std::int32_t(frame.size()),
                                   reinterpret_cast<const std::uint8_t*>(frame.constData())),
               "onPrepOrder");
}

}  // namespace velmora::plugin
