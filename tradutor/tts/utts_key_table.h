#pragma once
// A table from 64-bit keys (short texts packed into a number) to integers,
// open-addressed in a power-of-two array: the lookups the phoneme lines make
// for every phoneme (its duration, its diphone with the one before) without
// the division and the node chase of a standard hash map.
#include <cstdint>
#include <vector>

namespace tradutor {

class KeyTable {
 public:
  void clear() {
    slots_.clear();
    count_ = 0;
  }
  std::size_t size() const { return count_; }
  // Adds the key unless it is there already (the first value stays).
  void insert(std::uint64_t key, int value) {
    if ((count_ + 1) * 2 > slots_.size()) grow();
    Slot& slot = slots_[position(key)];
    if (slot.used) return;
    slot = {key, value, true};
    ++count_;
  }
  const int* find(std::uint64_t key) const {
    if (slots_.empty()) return nullptr;
    const Slot& slot = slots_[position(key)];
    return slot.used ? &slot.value : nullptr;
  }
  bool contains(std::uint64_t key) const { return find(key) != nullptr; }

 private:
  struct Slot {
    std::uint64_t key = 0;
    int value = 0;
    bool used = false;
  };
  // The key's slot, or the free slot where it would go (the table is never full).
  std::size_t position(std::uint64_t key) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & mask;
    while (slots_[i].used && slots_[i].key != key) i = (i + 1) & mask;
    return i;
  }
  void grow() {
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
    count_ = 0;
    for (const Slot& s : old)
      if (s.used) insert(s.key, s.value);
  }
  std::vector<Slot> slots_;
  std::size_t count_ = 0;
};

}  // namespace tradutor
