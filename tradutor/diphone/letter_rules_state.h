#pragma once
// The rules engine's module state: one rule list per character from space to
// underscore, and the sorted exceptions table.
#include <string>
#include <utility>
#include <vector>

namespace tradutor::rules {

struct LetterRule {
  std::string left;    // at most 5, matched leftwards
  std::string centre;  // at most 5, upper case, consumed
  std::string right;   // at most 5, matched rightwards
  std::string output;  // at most 11
};

struct RulesState {
  std::vector<LetterRule> lists[64];  // characters 32..95
  std::vector<std::pair<std::string, std::string>> exceptions;  // sorted by word
};

RulesState& state();

}  // namespace tradutor::rules
