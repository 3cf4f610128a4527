#include "tts/utts_pipeline.h"

#include <algorithm>
#include <charconv>

#include "tts/utts_portug.h"
#include "tts/utts_preproc.h"
#include "tts/utts_text.h"

namespace tradutor {

namespace {

constexpr std::uint64_t kSamplesPerMs = 16;  // the engine's 16 kHz

}  // namespace

const TextList& FrontEndPass::run(std::string_view text, double durationFactor, double pitchFactor, SpokenMarks* marks) {
  normalizeText(text, normalized_, marks != nullptr ? &spans_ : nullptr);
  splitIntoWords(normalized_, tokens_, marks != nullptr ? &places_ : nullptr);
  assignIntonationCodes(tokens_, coded_);
  transcribeWords(coded_, phonemes_);
  makePhonemeLines(phonemes_, durationFactor, pitchFactor, lines_);
  if (marks != nullptr) placeMarks(*marks);
  return lines_;
}

// The lines hold a comment (";word") before each token's phonemes, token by
// token, and each phoneme line's second field is its duration in ms: the
// sound of token k begins at the sum of the durations before its comment.
void FrontEndPass::placeMarks(SpokenMarks& marks) const {
  constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  marks.clear();
  std::uint64_t ms = 0;
  std::size_t token = 0, sentence = kNone, word = kNone;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::string_view line = lines_[i];
    if (line.empty()) continue;
    if (line[0] != ';') {
      const std::size_t gap = line.find(' ');
      std::uint64_t duration = 0;
      if (gap != std::string_view::npos) std::from_chars(line.data() + gap + 1, line.data() + line.size(), duration);
      ms += duration;
      continue;
    }
    if (token >= places_.size()) break;  // a comment with no token: no marks past it
    const auto place = places_[token++];
    if (place == kPause) {  // a sentence ends
      sentence = kNone;
      continue;
    }
    const SourceSpan source = coveringSpan(spans_, place.first, place.second);
    if (source.begin >= source.end) continue;
    const bool isWord = place.first < normalized_.size() && tts::isLetter(static_cast<std::uint8_t>(normalized_[place.first]));
    const std::uint64_t sample = ms * kSamplesPerMs;
    if (sentence == kNone) {
      if (!isWord) continue;  // punctuation before any word belongs to no sentence
      sentence = marks.size();
      marks.push_back({SpokenMark::Kind::sentence, source, sample});
    }
    marks[sentence].source.end = std::max(marks[sentence].source.end, source.end);
    // The words of one written word ("mil", "duzentos"... of "1250") share its span.
    if (!isWord || (word != kNone && source.begin < marks[word].source.end)) continue;
    word = marks.size();
    marks.push_back({SpokenMark::Kind::word, source, sample});
  }
}

}  // namespace tradutor
