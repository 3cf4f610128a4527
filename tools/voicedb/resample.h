// Windowed-sinc rate conversion and filtering of a whole recording.
#pragma once

#include <vector>

namespace voicedb {
std::vector<float> resample(const std::vector<short>& input, int fromRate, int toRate);
// Removes what lies below `hz` (espeak-ng's fricatives carry a slow drift that
// would repeat at every grain), forward and backward so that no phase moves.
void highPass(std::vector<float>& signal, double hz, int rate);
}
