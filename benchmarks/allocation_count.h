#pragma once
// Every allocation of the benchmark program is counted (operator new is
// replaced), so that a benchmark can show a call that allocates nothing.
#include <cstdint>

namespace bench {
std::uint64_t allocations();
}
