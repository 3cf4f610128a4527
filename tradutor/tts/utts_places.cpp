#include "tts/utts_places.h"

#include <algorithm>

namespace tradutor {

SourceSpan coveringSpan(const SourceSpans& spans, std::size_t first, std::size_t last) {
  last = std::min(last, spans.size());
  if (first >= last) return first < spans.size() ? SourceSpan{spans[first].begin, spans[first].begin} : SourceSpan{};
  SourceSpan covering = spans[first];
  for (std::size_t i = first + 1; i < last; ++i) {
    covering.begin = std::min(covering.begin, spans[i].begin);
    covering.end = std::max(covering.end, spans[i].end);
  }
  return covering;
}

void markWritten(SourceSpans& out, std::size_t mark, std::size_t outSize, std::size_t begin, std::size_t end,
                 const SourceSpans* outer) {
  const SourceSpan span = outer != nullptr ? coveringSpan(*outer, begin, end)
                                           : SourceSpan{static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end)};
  out.resize(outSize, span);
  std::fill(out.begin() + static_cast<std::ptrdiff_t>(std::min(mark, outSize)), out.end(), span);
}

}  // namespace tradutor
