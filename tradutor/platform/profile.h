#pragma once
// Profile (INI) strings, read the way GetPrivateProfileStringA reads them.
//
// Contract: section and key are found without regard to case; blanks around
// the value and one pair of surrounding quotes are removed; a missing file,
// section or key gives `defaultValue`; the result is cut to bufferSize - 1
// characters. A bare file name ("ORALIS.INI") is looked up in the Windows
// directory. A present key with an empty value gives the empty text, not the
// default.
#include <string>

namespace platform {

std::string readProfileString(const std::string& section, const std::string& key, const std::string& defaultValue,
                              int bufferSize, const std::string& fileName);

}  // namespace platform
