// Host platform: the process, whose end is thrown to the test that runs it.
#include "platform/process.h"

#include "platform/host/host_internal.h"

namespace platform {
namespace {

std::string& moduleName() {
  static std::string name = "C:\\TARSIS\\FALAMCI.EXE";
  return name;
}

}  // namespace

std::string moduleFileName(int bufferSize) {
  std::string name = moduleName();
  if (bufferSize <= 0) return {};
  if (static_cast<int>(name.size()) >= bufferSize) name.resize(static_cast<std::size_t>(bufferSize - 1));
  return name;
}

void oemToAnsi(std::string&) {}  // the host has one code page

void exitProcess(int code) { throw host::ProgramExit{code}; }

namespace host {
void setModuleFileName(const std::string& path) { moduleName() = path; }
namespace internal {
void resetProcess() { moduleName() = "C:\\TARSIS\\FALAMCI.EXE"; }
}  // namespace internal
}  // namespace host

}  // namespace platform
