// Host platform: libraries are what tests and tools install under a name,
// each a function that finds a symbol; names without regard to case.
#include "platform/library.h"

#include <map>

#include "platform/host/host_internal.h"

namespace platform {
namespace {

struct LibraryState {
  std::map<std::string, host::SymbolResolver> libraries;
  int loaded = 0;
};

LibraryState& state() {
  static LibraryState s;
  return s;
}

}  // namespace
}  // namespace platform

struct platform::LibraryImpl {
  platform::host::SymbolResolver resolve;
};

namespace platform {

LibraryHandle loadLibrary(const std::string& name) {
  const auto found = state().libraries.find(host::internal::foldCase(name));
  if (found == state().libraries.end()) return nullptr;
  ++state().loaded;
  return new LibraryImpl{found->second};
}

void* findSymbol(LibraryHandle library, const char* name) {
  return library == nullptr || name == nullptr ? nullptr : library->resolve(name);
}

void freeLibrary(LibraryHandle library) {
  if (library == nullptr) return;
  --state().loaded;
  delete library;
}

namespace host {

void installLibrary(const std::string& name, SymbolResolver resolver) {
  state().libraries[internal::foldCase(name)] = std::move(resolver);
}
void removeLibrary(const std::string& name) { state().libraries.erase(internal::foldCase(name)); }
int loadedLibraries() { return state().loaded; }

namespace internal {
void resetLibraries() { state() = LibraryState{}; }
}  // namespace internal

}  // namespace host
}  // namespace platform
