#pragma once
// A list of short texts kept in one buffer: the entries of the front end's
// stages (tokens, coded words, phonemes, phoneme lines) without a string
// object and an allocation for each. Cleared and filled again, it keeps its
// storage, so a voice that speaks text after text stops allocating.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tradutor {

using StringList = std::vector<std::string>;

class TextList {
 public:
  void clear() {
    text_.clear();
    spans_.clear();
  }
  std::size_t size() const { return spans_.size(); }
  bool empty() const { return spans_.empty(); }
  // Valid until the list is changed.
  std::string_view operator[](std::size_t i) const { return std::string_view(text_.data() + spans_[i].offset, spans_[i].length); }

  void push(std::string_view entry) {
    spans_.push_back({static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(entry.size())});
    text_.append(entry);
  }
  // An entry written in place: open(), appends to text(), close().
  void open() { start_ = text_.size(); }
  std::string& text() { return text_; }
  void close() { spans_.push_back({static_cast<std::uint32_t>(start_), static_cast<std::uint32_t>(text_.size() - start_)}); }
  // Entries first .. first + count - 1 of another list, added in one copy.
  void append(const TextList& other, std::size_t first, std::size_t count);
  // Puts a text no longer than the entry in its place.
  void shorten(std::size_t i, std::string_view replacement);

  void reserve(std::size_t entries, std::size_t bytes) {
    spans_.reserve(entries);
    text_.reserve(bytes);
  }
  StringList toStrings() const;
  void assign(const StringList& entries);

 private:
  struct Span {
    std::uint32_t offset, length;
  };
  std::string text_;
  std::vector<Span> spans_;
  std::size_t start_ = 0;
};

}  // namespace tradutor
