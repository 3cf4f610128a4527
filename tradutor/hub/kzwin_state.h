#pragma once
// The speech hub's module state, shared by its files.
#include <cstdint>
#include <string>

#include "hub/kzwin.h"

namespace tradutor::hub {

struct HubState {
  HubSettings settings;
  std::string startDirectory;
  std::string soundDirectory;
  std::string lettersDirectory;
  bool speechPending = true;
  bool abortFlag = false;
  bool initialised = false;
  std::uint8_t click[44 + 256] = {};
};

HubState& state();

}  // namespace tradutor::hub
