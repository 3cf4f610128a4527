#pragma once
// A map from texts to values for the front end's lookups of every word (its
// exception, keyword class, abbreviation, and the phonemes of the words
// already transcribed): open-addressed in one power-of-two array of slots,
// the texts kept one after another in a single string. A lookup hashes the
// view it is given and compares in place, with no node to chase and no key
// string made; an entry costs no allocation of its own; and clearing keeps
// the memory, since the store of transcribed words is emptied and filled
// again all day.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tradutor::tts {

template <typename Value>
class TextMap {
 public:
  bool empty() const { return count_ == 0; }
  std::size_t size() const { return count_; }

  void clear() {
    count_ = 0;
    texts_.clear();
    // A slot is live when it carries the current generation; on the rare
    // wrap every slot is wiped for real.
    if (++generation_ == 0) {
      for (Slot& s : slots_) s.generation = 0;
      generation_ = 1;
    }
  }

  // Adds the key with its value unless the key is there already: the first
  // value stays.
  void emplace(std::string_view key, Value value) {
    if ((count_ + 1) * 2 > slots_.size()) grow();
    const std::uint64_t hash = hashOf(key);
    Slot& slot = slots_[position(key, hash)];
    if (slot.generation == generation_) return;
    slot.hash = hash;
    slot.generation = generation_;
    slot.textStart = texts_.size();
    slot.textLength = key.size();
    slot.value = std::move(value);
    texts_.append(key);
    ++count_;
  }

  // The key's value, or null.
  const Value* find(std::string_view key) const {
    if (count_ == 0) return nullptr;
    const Slot& slot = slots_[position(key, hashOf(key))];
    return slot.generation == generation_ ? &slot.value : nullptr;
  }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    std::uint32_t generation = 0;
    std::size_t textStart = 0, textLength = 0;
    Value value{};
  };

  static std::uint64_t hashOf(std::string_view key) { return std::hash<std::string_view>{}(key); }

  // The key's slot, or the free slot where it would go (never full: at most
  // half the slots are live).
  std::size_t position(std::string_view key, std::uint64_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = static_cast<std::size_t>(hash) & mask;
    while (slots_[i].generation == generation_ &&
           (slots_[i].hash != hash || std::string_view(texts_).substr(slots_[i].textStart, slots_[i].textLength) != key))
      i = (i + 1) & mask;
    return i;
  }

  void grow() {
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.resize(old.empty() ? 64 : old.size() * 2);
    const std::size_t mask = slots_.size() - 1;
    for (Slot& s : old) {
      if (s.generation != generation_) continue;
      std::size_t i = static_cast<std::size_t>(s.hash) & mask;
      while (slots_[i].generation == generation_) i = (i + 1) & mask;
      slots_[i] = std::move(s);
    }
  }

  std::vector<Slot> slots_;
  std::string texts_;
  std::size_t count_ = 0;
  std::uint32_t generation_ = 1;
};

}  // namespace tradutor::tts
