#pragma once
// The six debug logs beside the program. They exist only while HallContext::DebugLogOn is
// set: OpenDebugLogs at start-up creates or opens them, every writer checks the switch, and
// nothing here ever reports an error.

#include <QString>

namespace velmora::hall {

enum class DebugLog {
    Encoded = 0,      // "gameendata.txt": outgoing room packets
    Decoded = 1,      // "gamededata.txt": incoming room packets
    GameData = 2,     // "gamedata.txt": game data passed from the room to the plug-in
    Incoming = 3,     // "gameincoming.txt": data coming from the plug-in
    Interface = 4,    // "gameinterface.txt": room user information
    OverCommand = 5,  // "gameovercomm.txt": server commands handled by the room client
};

// The file name of a log.
QString DebugLogFileName(DebugLog log);

// Opens the six logs in `folder` (creating missing ones empty) when DebugLogOn is set.
void OpenDebugLogs(const QString& folder);
void CloseDebugLogs();

// Appends one entry: the local time "yyyy-MM-dd hh:mm:ss ddd", the text, and a line of
// dashes followed by an empty line. Does nothing while the switch is off or the log is closed.
void WriteDebugLog(const QString& text, DebugLog log);
void WriteDebugLog(const QString& text, int index);

}  // namespace velmora::hall
