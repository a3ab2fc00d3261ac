#pragma once
// Process-wide hall state that the design keeps in globals: the session values handed out by
// the web service, the folders, the debug switch. One object, built once by the program and
// rebuilt by tests with reset().

#include <QString>

namespace velmora::hall {

class HallContext {
public:
    static HallContext& instance();
    // Back to a fresh state (tests; the re-login restart).
    static void reset();

    QString Token;      // session token from the web service
    QString EncodeKey;  // session key that scrambles request and server lines
    QString AppPath;    // the program's folder, ending in "/"
    QString DocumentsPath;  // the user's documents folder, ending in "/"
    bool DebugLogOn = false;  // the six debug logs are written only while set
};

}  // namespace velmora::hall
