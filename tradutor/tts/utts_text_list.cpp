#include "tts/utts_text_list.h"

namespace tradutor {

void TextList::shorten(std::size_t i, std::string_view replacement) {
  Span& span = spans_[i];
  if (replacement.size() > span.length) return;
  text_.replace(span.offset, replacement.size(), replacement);
  span.length = static_cast<std::uint32_t>(replacement.size());
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
