// The dispatcher of the room client: every server packet passes through OverCommand.
#include "hall/foundation/debuglog.h"
#include "hall/foundation/publicfunc.h"
#include "hall/room/gameclientcore.h"

namespace velmora::hall {
namespace {

HallContext& ctx() { return HallContext::instance(); }

void logPacket(const char* heading, const STRU_DATA& p) {
    if (!ctx().DebugLogOn) return;
    WriteDebugLog(QString::fromUtf8(heading) + QStringLiteral("\r\n数据类型:") + QString::number(p.datatype) +
                      QStringLiteral("\r\n通讯编号:") + QString::number(p.fsocket) +
                      QStringLiteral("\r\n通讯序号:") + QString::number(p.seq) +
                      QStringLiteral("\r\n命令号:") + QString::number(p.command) +
                      QStringLiteral("\r\n数据:") + p.data,
                  DebugLog::OverCommand);
}

void logText(const char* text) {
    if (ctx().DebugLogOn) WriteDebugLog(QString::fromUtf8(text), DebugLog::OverCommand);
}

qint32 value32(const QString& body, const char* name) {
    const qint64 v = BodyInt(body, QString::fromLatin1(name));
    return (v < INT32_MIN || v > INT32_MAX) ? 0 : static_cast<qint32>(v);
}

}  // namespace

QString GameClientCore::leaveTableRequest() const {
    return QStringLiteral("14|roomid=") + QString::number(m_room.id) + QStringLiteral("&tableid=") +
           QString::number(iDesk);
}

void GameClientCore::OverCommand(const STRU_DATA& p) {
    logPacket("处理服务器指令OverCommand 开始", p);
    if (p.datatype == 1) {
        const qint32 cmdname = value32(p.data, "cmdname");
        switch (cmdname) {
        case 10:
            onReply10(p);
            break;
        case 11:
            onReply11(p);
            break;
        case 12:
            onReply12(p);
            break;
        case 18:
        case 19:
        case 40:
        case 43:
            break;
        case 13:
        case 14:
        case 15:
        case 16:
        case 17:
        case 20:
        case 41:
        case 42:
        case 44:
            if (const auto it = m_replyHandlers.constFind(cmdname); it != m_replyHandlers.constEnd()) (*it)(p);
            break;
        default:
            if (p.command == 3 && m_gameStart) m_gameStart(p);
            break;
        }
    } else if (p.datatype == 2) {
        if (p.command != 80) {
            const qint64 playerId = BodyInt(p.data, QStringLiteral("playerid"));
            if (playerId > 0) {
                const int index = m_members.find(playerId);
                if (index < 0)
                    m_host.fetchProfile(playerId, true);
                else if (m_members.at(index).User.UserName.isEmpty())
                    m_host.fetchProfile(playerId, false);
            }
        }
        switch (p.command) {
        case 80:
            onBroadcast80(p);
            break;
        case 81:
            onBroadcast81(p);
            break;
        case 84:
            onBroadcastOnline(p, true);
            break;
        case 85:
            onBroadcastOnline(p, false);
            break;
        default:
            if (const auto it = m_broadcastHandlers.constFind(p.command); it != m_broadcastHandlers.constEnd())
                (*it)(p);
            break;
        }
    }
    logPacket("处理服务器指令OverCommand 完成", p);
}

void GameClientCore::onReply10(const STRU_DATA& p) {
    if (p.command != 1) {
        m_host.showMessage(QStringLiteral("通讯失败。"));
        closeRoom();
        return;
    }
    m_socket = p.fsocket;
    setSplash(QStringLiteral("正在进入房间，请稍候....."));
    const QString enter = QStringLiteral("11|roomid=") + QString::number(m_room.id);
    if (BodyInt(p.data, QStringLiteral("dropon")) != 1) {
        if (m_host.pluginOpen()) {
            m_host.closePlugin();
            m_host.showMessage(QStringLiteral("游戏已经结束了..."));
        }
        SendData(enter);
        return;
    }
    if (BodyInt(p.data, QStringLiteral("roomid")) != m_room.id) {
        logText("处理服务器指令OverCommand 异常: 掉线回来进入的是不同房间");
        SendData(enter);
        return;
    }
    // The server kept the player's place: back to the same room, table and seat.
    startTimer(RoomTimer::Loading, kLoadingMs);
    const qint32 table = value32(p.data, "tableid");
    const qint32 seat = value32(p.data, "seatindex") + 1;
    const qint32 state = value32(p.data, "state");
    STRU_ROOMUSER& self = m_members.self();
    if (!m_host.pluginOpen()) {
        iDesk = table;
        iSeat = seat;
        self.status = state;
        if (state <= kStatusWatching) {
            if (iDesk > 0) SendData(leaveTableRequest());
        } else {
            adminId = BodyInt(p.data, QStringLiteral("adminid"));
            self.table = iDesk;
            self.seat = iSeat;
        }
        return;
    }
    if (table == iDesk && seat == iSeat) {
        if (state != self.status) {
            if (state == kStatusSeated) m_host.tellPlugin(kPluginMsgGameOver, 50, ctx().CurrentUser.UserID);
            self.status = state;
        }
        if (self.status == kStatusWatching)
            SendData(leaveTableRequest());
        else if (self.status == kStatusPlaying)
            m_host.tellPlugin(kPluginMsgOnlineState, 0, ctx().CurrentUser.UserID);
    } else if (table == iDesk) {
        logText("处理服务器指令OverCommand 异常: 掉线回来时，座位号不正确");
        m_host.closePlugin();
    } else {
        logText("处理服务器指令OverCommand 异常: 掉线回来时，桌子号不正确");
        if (iDesk == 0) SendData(enter);
        m_host.closePlugin();
    }
}

void GameClientCore::onReply11(const STRU_DATA& p) {
    if (p.command == 1) {
        setSplash(QStringLiteral("正在加载玩家列表，请稍候....."));
        startTimer(RoomTimer::Loading, kLoadingMs);
        ++m_room.onlinecount;
        m_host.roomOnlineChanged(m_room.id, m_room.onlinecount);
        return;
    }
    const qint64 errcode = BodyInt(p.data, QStringLiteral("errcode"));
    if (errcode == 1302) {
        m_host.showMessage(QStringLiteral("已经在房间里了。"));
        setSplash(QStringLiteral("正在加载玩家列表，请稍候....."));
        startTimer(RoomTimer::Loading, kLoadingMs);
        return;
    }
    failRoomEntry(errcode);
}

void GameClientCore::failRoomEntry(qint64 errcode) {
    QString text;
    switch (errcode) {
    case 1100:
        text = QStringLiteral("服务器没有检测到您的登录状态，请重新登录。");
        break;
    case 1301:
        text = QStringLiteral("服务器不可用，或是没有找到要进入的房间。");
        break;
    case 1303:
        text = QStringLiteral("房间满了，请进入其他房间，请稍候再试。");
        break;
    case 1304:
        text = QStringLiteral("房间状态错误。");
        break;
    case 1106:
        text = QStringLiteral("用户登录失败，请退出大厅重新登录。");
        break;
    default:
        text = QStringLiteral("未知错误，进入房间失败，请稍候再试。");
        break;
    }
    logText("处理服务器指令OverCommand 异常: 进入房间失败");
    m_host.showMessage(text);
    m_host.showMessage(QString::number(errcode));
    closeRoom();
}

void GameClientCore::onLoadingTimer() {
    stopTimer(RoomTimer::Loading);
    m_host.fetchAllProfiles();
    m_host.setRoomEnabled(true);
    showSplash(false);
    startTimer(RoomTimer::Housekeeping, kHousekeepingMs);
    if (iDesk <= 0 || m_host.pluginOpen()) {
        m_host.fetchShouts();
        return;
    }
    if (m_host.openPlugin()) {
        m_host.refreshMemberList();
        m_host.sendTableListToPlugin();
    } else {
        m_host.showMessage(QStringLiteral("创建游戏失败。"));
        SendData(leaveTableRequest());
    }
}

void GameClientCore::onReply12(const STRU_DATA& p) {
    if (p.command != 1) {
        m_host.showMessage(QStringLiteral("退出房间失败。"));
        return;
    }
    if (m_newRoom) {
        m_newRoom = false;
        return;
    }
    closeRoom();
}

void GameClientCore::onBroadcast80(const STRU_DATA& p) {
    if (BodyInt(p.data, QStringLiteral("roomid")) != m_room.id) return;
    const qint64 playerId = BodyInt(p.data, QStringLiteral("playerid"));
    if (playerId <= 0) return;
    int index = m_members.find(playerId);
    if (index < 0) {
        index = m_members.firstFree();
        if (index < 0) return;  // all entries taken: the member is not recorded
        m_members.at(index).User.UserID = playerId;
    }
    STRU_ROOMUSER& member = m_members.at(index);
    member.status = value32(p.data, "state");
    member.table = value32(p.data, "tableid");
    member.seat = value32(p.data, "seatindex") + 1;
    if (m_splashVisible) return;  // still loading: the loading timer fetches every profile
    m_host.fetchProfile(playerId, true);
    if (m_setting.showuserinout && !timerRunning(RoomTimer::Loading))
        m_host.appendChat(QStringLiteral("<font color=\"#000099\">") + member.User.UserName.toHtmlEscaped() +
                          QLatin1Char('(') + QString::number(playerId) + QStringLiteral(")来到") +
                          m_room.title.toHtmlEscaped() + QStringLiteral("。</font><br />"));
}

void GameClientCore::onBroadcast81(const STRU_DATA& p) {
    const qint64 playerId = BodyInt(p.data, QStringLiteral("playerid"));
    const int index = m_members.find(playerId);
    if (index < 0) return;
    STRU_ROOMUSER& member = m_members.at(index);
    if (m_setting.showuserinout)
        m_host.appendChat(QStringLiteral("<font color=\"#000099\">") + member.User.UserName.toHtmlEscaped() +
                          QLatin1Char('(') + QString::number(playerId) + QStringLiteral(")离开了游戏</font><br />"));
    member.table = 0;
    member.status = kStatusUnknown;
    member.seat = 0;
    member.User.UserID = 0;
    m_host.refreshMemberList();
}

void GameClientCore::onBroadcastOnline(const STRU_DATA& p, bool offline) {
    const qint64 playerId = BodyInt(p.data, QStringLiteral("playerid"));
    const int index = m_members.find(playerId);
    if (index < 0) return;
    if (m_members.at(index).status >= kStatusSeated)
        m_host.tellPlugin(kPluginMsgOnlineState, offline ? 1 : 0, playerId);
}

}  // namespace velmora::hall
