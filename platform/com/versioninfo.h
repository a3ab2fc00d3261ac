#pragma once
// Reading a library's identity (its "version resource") from the file, without loading it.
// Used by the plug-in for its own identity and by the hall's game tree for the installed
// version of a game.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace velmora::com {

// The fixed file information: 13 32-bit values, 52 bytes.
struct FixedFileInfo {
    std::uint32_t signature = 0;  // 0xFEEF04BD
    std::uint32_t strucVersion = 0;
    std::uint32_t fileVersionMS = 0;  // major << 16 | minor
    std::uint32_t fileVersionLS = 0;  // release << 16 | build
    std::uint32_t productVersionMS = 0;
    std::uint32_t productVersionLS = 0;
    std::uint32_t fileFlagsMask = 0;
    std::uint32_t fileFlags = 0;
    std::uint32_t fileOS = 0;
    std::uint32_t fileType = 0;
    std::uint32_t fileSubtype = 0;
    std::uint32_t fileDateMS = 0;
    std::uint32_t fileDateLS = 0;
};

struct TFileVersionInfomation {
    QString CompanyName;
    QString FileDescription;
    QString FileVersion;
    QString InternalName;
    QString LegalCopyright;
    QString LegalTrademarks;
    QString OriginalFileName;
    QString ProductName;
    QString ProductVersion;
    QString Comments;
    FixedFileInfo FixedInfo;
    QString Extra;  // the value of the caller-named extra key
};

// Fills `info` from the identity block of `fileName`. Returns false, with every field empty,
// when the file cannot be read, is not an ELF file or has no (valid) identity block. The first
// language/code-page pair of "\VarFileInfo\Translation" selects the string table; `extraKey`,
// when given, is looked up in that table into Extra.
bool ReadVersionInfo(const QString& fileName, TFileVersionInfomation& info,
                     const QString& extraKey = QString());

// The raw block of a file, bounds-checked (empty when absent or malformed).
QByteArray readIdentityBlock(const QString& fileName);

// Looks a path ("\StringFileInfo\080403a8\FileVersion") up in a raw block.
std::optional<QString> queryIdentityValue(const QByteArray& block, const QString& path);

}  // namespace velmora::com
