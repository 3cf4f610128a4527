// Opening the word under the editor's cursor: an address with the family's
// browser, a program, or a document with the program the settings name.
#include <string>

#include "hub/kzwin.h"
#include "hub/line_editor.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/window.h"

namespace tradutor {
namespace {

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

void openLink(const std::string& text) {
  const std::string directory = platform::currentDirectory();
  std::string program;
  std::string parameters;
  if (startsWith(text, "http://") || startsWith(text, "https://") || startsWith(text, "www.")) {
    program = readConfig("ORALIS", "PROG.HTM");
    parameters = text;
  } else {
    const std::size_t dot = text.find('.');
    const std::string extension = dot == std::string::npos ? "" : upperCaseLatin1(text.substr(dot + 1, 3));
    if (extension == "EXE" || extension == "COM") {
      const bool absolute = (text.size() >= 2 && text[1] == ':') || startsWith(text, "\\");
      program = absolute ? text : directory + (!directory.empty() && directory.back() == '\\' ? "" : "\\") + text;
    } else {
      program = readConfig("ORALIS", "PROG." + extension);
      parameters = text;
    }
  }
  // Without a program in the settings the shell opens the text with its own
  // association (the default browser for an address).
  if (program.empty()) {
    program = text;
    parameters.clear();
  }
  while (isSpeaking()) platform::waitMessage();
  platform::shellOpen(program, parameters, directory);
  while (isSpeaking()) platform::waitMessage();
}

}  // namespace tradutor
