#pragma once
// Where the family's settings file ORALIS.INI lies, and how its "@" paths
// name the programs' directory. The hub's configuration lookup, the
// display settings and the diphone synthesizer's directories share it.
#include <string>
#include <string_view>

namespace tradutor {

// The Windows directory's ORALIS.INI when there is one, else the one in
// startDirectory (the directory the program started in, no trailing "\").
std::string oralisIniFile(const std::string& startDirectory);

// value with a leading "@" and every "@\" replaced by the programs'
// directory: [ORALIS] PGMORALIS of `file`, or startDirectory when that key
// is missing, empty or itself begins with "@". Only the text as read is
// expanded, never the directory put in its place.
std::string expandProgramDirectory(std::string_view value, const std::string& file,
                                   const std::string& startDirectory);

// A key the older readers take by the bare file name: from the Windows
// directory's ORALIS.INI exactly as it stands, no "@" expansion. A machine
// with no ORALIS.INI there (an installed or unzipped copy keeps its own
// beside the program) reads startDirectory's instead, "@" paths expanded,
// so one file works wherever the program lies. A missing key gives
// defaultValue either way; the value read is cut to bufferSize - 1.
std::string readBareNameSetting(const std::string& section, const std::string& key, const std::string& defaultValue,
                                int bufferSize, const std::string& startDirectory);

// The current directory without a trailing backslash: at start-up, before
// anything changes it, the directory the program started in.
std::string startingDirectory();

}  // namespace tradutor
