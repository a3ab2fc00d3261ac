#pragma once
// The category, game and room records of the game tree, read from the web service's two XML
// lists. The room client and the plug-in host read a room record and its game (`parent`).

#include <QString>

namespace velmora::hall {

// A node of the game tree; kNoNode when the record has none.
using NodeId = int;
inline constexpr NodeId kNoNode = -1;

struct STRU_GAMEFRM {
    qint32 id = 0;
    QString title;
    qint32 pid = 0;  // parent category, 0 for a top-level category
    qint32 sort = 0;
    qint32 icon = 0;
    qint32 onlinecount = 0;
    qint32 showonline = 0;
    QString helptext;
    bool expanded = false;
    NodeId obj = kNoNode;
};

struct STRU_GAMES {
    qint32 id = 0;
    QString title;
    qint32 fid = 0;  // category
    qint32 sort = 0;
    qint32 onlinecount = 0;
    QString gametype;  // "game", "iedialog" or "ieclient"
    QString helpurl;
    qint32 icon = 0;
    bool loadroomed = false;
    QString helptext;
    STRU_GAMEFRM parent;  // copy of the category when the game was added
    qint32 dialogWidth = 0;
    qint32 dialogheight = 0;
    QString dllfile;  // plug-in library in the hall's "games" folder
    QString GUID;     // class id of the plug-in
    QString downloadxml;
    QString version;  // required FileVersion of the plug-in library
    NodeId obj = kNoNode;
    NodeId myobj = kNoNode;  // node in the recently played group
};

struct STRU_GAMEROOM {
    qint32 id = 0;
    QString title;
    qint32 gid = 0;  // game
    QString servertype;
    QString serverip;
    qint32 serverport = 0;
    qint32 tablenum = 0;
    qint32 roomtype = 0;
    qint32 roomgold = 0;
    qint32 mingold = 0;
    qint32 maxgold = 0;
    qint32 goldmultiple = 0;
    qint32 minpoint = 0;
    qint32 maxpoint = 0;
    qint32 pointmultiple = 0;
    bool showdesk = false;
    bool showuserinfo = false;
    bool enabledchat = false;
    bool enabledlook = false;
    QString videoserver;
    qint32 videoport = 0;
    qint32 icon = 0;
    qint32 maxplayernum = 0;
    qint32 playnum = 0;
    qint32 seatnum = 0;
    qint32 onlinecount = 0;
    QString rules;
    QString templates;
    QString helptext;
    STRU_GAMES parent;  // copy of the game when the room was added
    QString welcome;
    NodeId obj = kNoNode;
    NodeId myobj = kNoNode;
};

}  // namespace velmora::hall
