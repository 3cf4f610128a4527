// Windowed-sinc rate conversion of a whole recording.
#pragma once

#include <vector>

namespace voicedb {
std::vector<float> resample(const std::vector<short>& input, int fromRate, int toRate);
}
