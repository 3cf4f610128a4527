#include "tts/utts_text_list.h"

namespace tradutor {

void TextList::shorten(std::size_t i, std::string_view replacement) {
  Span& span = spans_[i];
  if (replacement.size() > span.length) return;
  text_.replace(span.offset, replacement.size(), replacement);
  span.length = static_cast<std::uint32_t>(replacement.size());
}

void TextList::append(const TextList& other, std::size_t first, std::size_t count) {
  if (count == 0) return;
  // The entries lie in order in the other's text, between the first one's
  // start and the last one's end.
  const std::uint32_t begin = other.spans_[first].offset;
  const Span& last = other.spans_[first + count - 1];
  const auto base = static_cast<std::uint32_t>(text_.size());
  text_.append(other.text_, begin, last.offset + last.length - begin);
  for (std::size_t k = first; k < first + count; ++k)
    spans_.push_back({other.spans_[k].offset - begin + base, other.spans_[k].length});
}

StringList TextList::toStrings() const {
  StringList list;
  list.reserve(size());
  for (std::size_t i = 0; i < size(); ++i) list.emplace_back((*this)[i]);
  return list;
}

void TextList::assign(const StringList& entries) {
  clear();
  for (const std::string& e : entries) push(e);
}

}  // namespace tradutor
