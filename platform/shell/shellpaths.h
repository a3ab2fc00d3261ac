#pragma once
// Folders the hall needs: the program's folder (the resource root, with desktop/, face/,
// images/ and games/ beside the program) and the user's documents folder.

#include <QString>

namespace velmora::platform {

// The folder of the running program, ending in "/". VELMORA_APP_DIR overrides it (tests).
QString programFolder();

// The user's documents folder, ending in "/". Falls back to the home folder.
QString documentsFolder();

// Creates every missing folder of a file path; the last part (the file name) is not created.
// A path that ends in "/" names a folder, which is created. False when a folder cannot be made.
bool ForceFileDirs(const QString& filePath);

}  // namespace velmora::platform
