#pragma once
// velmora-wire: the room codecs from the command line, for operators reading captured room
// traffic and for black-box tests. Arguments are UTF-8 and become the hall's UTF-16 text.

#include <QByteArray>
#include <QStringList>

namespace velmora::tools {

// The key `velmora-wire request` scrambles with when no --key is given.
inline constexpr char kDefaultWireKey[] = "VelmoraK";

struct WireResult {
    int exitCode = 0;
    QByteArray out;    // written to stdout as is
    QString error;     // one line for stderr when exitCode != 0
};

// Runs one command. `args` excludes the program name; `input` is stdin for hexencode.
WireResult RunWireCommand(const QStringList& args, const QByteArray& input);

}  // namespace velmora::tools
