#pragma once
// Where the spoken words come from: each character the normalisation writes
// keeps the span of the text it was read from, so that a word said as several
// ("1250", "Sr.", "CPF") still points at what was written, and each word and
// sentence of a pass can be placed both in the text and in the sound.
#include <cstdint>
#include <vector>

namespace tradutor {

struct SourceSpan {
  std::uint32_t begin = 0;
  std::uint32_t end = 0;  // one past the last character
};
using SourceSpans = std::vector<SourceSpan>;

// The span covering spans[first, last) (an empty span at `first`'s begin, or
// 0, when the range is empty or out of the list).
SourceSpan coveringSpan(const SourceSpans& spans, std::size_t first, std::size_t last);
// Gives out[mark..] the span [begin, end) of the text read, mapped through
// `outer` (the spans of that text in an earlier text) when there is one.
void markWritten(SourceSpans& out, std::size_t mark, std::size_t outSize, std::size_t begin, std::size_t end,
                 const SourceSpans* outer);

// A word or sentence of a pass: its span in the text given to the pass and
// the sample (at the engine's 16 kHz) where the sound of it begins.
struct SpokenMark {
  enum class Kind { word, sentence };
  Kind kind = Kind::word;
  SourceSpan source;
  std::uint64_t sample = 0;
};
using SpokenMarks = std::vector<SpokenMark>;

}  // namespace tradutor
