// The two mappings into the coarse inventory, and the naming of differences.
#include "coarse_phonemes.h"

#include <algorithm>
#include <map>

namespace agreement {
namespace {

const std::map<std::string, std::string>& ourNames() {
  static const std::map<std::string, std::string> m = {
      {"a", "a"},   {"e", "e"},   {"ee", "E"},  {"i", "i"},   {"o", "o"},   {"oo", "O"},  {"u", "u"},
      {"am", "a~"}, {"em", "e~"}, {"im", "i~"}, {"om", "o~"}, {"um", "u~"}, {"y", "j"},   {"w", "w"},
      {"r", "r"},   {"r2", "r"},  {"rr", "rr"}, {"x", "S"},   {"j", "Z"},   {"tx", "tS"}, {"dj", "dZ"},
      {"s2", "s"},  {"nh", "nh"}};
  return m;
}

const std::map<std::string, std::string>& espeakNames() {
  static const std::map<std::string, std::string> m = {
      {"a", "a"},   {"&", "a"},   {"e", "e"},   {"E", "E"},   {"i", "i"},   {"I", "i"},   {"y", "i"},
      {"o", "o"},   {"O", "O"},   {"u", "u"},   {"U", "u"},   {"&~", "a~"}, {"e~", "e~"}, {"i~", "i~"},
      {"o~", "o~"}, {"u~", "u~"}, {"j", "j"},   {"w", "w"},   {"*", "r"},   {"R", "r"},   {"r", "r"},
      {"x", "rr"},  {"X", "rr"},  {"h", "rr"},  {"S", "S"},   {"Z", "Z"},   {"n^", "nh"},
      {"tS", "tS"}, {"dZ", "dZ"}, {"s#", "s"}, {"L", "l"}};
  return m;
}

bool isVowel(const std::string& c) {
  const std::string v = c.empty() || c[0] != '\'' ? c : c.substr(1);
  return !v.empty() && std::string("aeEioOu").find(v[0]) != std::string::npos;
}

std::string bare(const std::string& c) { return !c.empty() && c[0] == '\'' ? c.substr(1) : c; }

// espeak's diphthongs: a vowel and a glide in one name.
bool splitDiphthong(const std::string& name, std::string& vowel, std::string& glide) {
  static const std::map<std::string, std::pair<std::string, std::string>> d = {
      {"aI", {"a", "j"}}, {"eI", {"e", "j"}}, {"EI", {"E", "j"}}, {"oI", {"o", "j"}}, {"OI", {"O", "j"}},
      {"uI", {"u", "j"}}, {"aU", {"a", "w"}}, {"eU", {"e", "w"}}, {"EU", {"E", "w"}}, {"iU", {"i", "w"}},
      {"oU", {"o", "w"}}, {"&U~", {"a~", "w"}}, {"&I~", {"a~", "j"}}, {"oI~", {"o~", "j"}}, {"uI~", {"u~", "j"}},
      {"eI~", {"e~", "j"}}, {"aI~", {"a~", "j"}}};
  const auto it = d.find(name);
  if (it == d.end()) return false;
  vowel = it->second.first;
  glide = it->second.second;
  return true;
}

}  // namespace

// A glide counts as its vowel: whether "ia" is one syllable or two is a
// matter of speed in Brazilian speech, and a misplaced stress still shows.
void mergeGlides(Coarse& c) {
  for (std::string& p : c) {
    if (p == "j") p = "i";
    else if (p == "w") p = "u";
  }
}

Coarse coarseOfOurs(const std::vector<std::string>& phonemes) {
  Coarse out;
  bool stressNext = false;
  for (std::string p : phonemes) {
    if (p.empty() || p[0] == '_' || p[0] == ';') continue;
    if (p[0] == '>') {
      stressNext = true;
      p.erase(0, 1);
    }
    if (!p.empty() && p[0] == '\xA8') p.erase(0, 1);
    if (p == "lh") {  // as espeak-ng spells it: l and a glide
      out.push_back("l");
      out.push_back("i");
      continue;
    }
    const auto it = ourNames().find(p);
    std::string c = it == ourNames().end() ? p : it->second;
    // The mark may sit on a consonant the stressed letter's rule emitted first.
    if (stressNext && isVowel(c)) {
      c = "'" + c;
      stressNext = false;
    }
    out.push_back(c);
  }
  mergeGlides(out);
  return out;
}

Coarse coarseOfEspeak(const std::string& separated) {
  Coarse out;
  std::size_t start = 0;
  while (start <= separated.size()) {
    std::size_t end = separated.find('|', start);
    if (end == std::string::npos) end = separated.size();
    std::string name = separated.substr(start, end - start);
    start = end + 1;
    bool stressed = false;
    while (!name.empty() && (name[0] == '\'' || name[0] == ',' || name[0] == ' ')) {
      stressed = stressed || name[0] == '\'';
      name.erase(0, 1);
    }
    while (!name.empty() && (name.back() == ' ' || name.back() == '\n')) name.pop_back();
    if (name.empty() || name == "@-" || name == ";" || name == "_:" || name == "_") continue;
    if (name == "N") {  // nasalises the vowel before it
      for (auto it = out.rbegin(); it != out.rend(); ++it)
        if (isVowel(*it)) {
          if (it->back() != '~') *it += '~';
          break;
        }
      continue;
    }
    std::string vowel, glide;
    if (splitDiphthong(name, vowel, glide)) {
      out.push_back((stressed ? "'" : "") + vowel);
      out.push_back(glide);
      continue;
    }
    const auto it = espeakNames().find(name);
    std::string c = it == espeakNames().end() ? name : it->second;
    if (stressed && isVowel(c)) c = "'" + c;
    out.push_back(c);
  }
  // A nasal vowel's glide is nasal too: "eI" + N is e~ j, as ours writes em y.
  for (std::size_t i = 0; i + 1 < out.size(); ++i)
    if (bare(out[i]) == "e~" && out[i + 1] == "j" && i + 2 < out.size()) out.erase(out.begin() + static_cast<long>(i) + 1);
  // Before m or n and a consonant espeak may write the nasal e as "eI"
  // ("d e z e I m p r"): that is the nasal e (ours em) too.
  for (std::size_t i = 0; i + 3 < out.size(); ++i)
    if (bare(out[i]) == "e" && out[i + 1] == "j" && (out[i + 2] == "m" || out[i + 2] == "n") && !isVowel(out[i + 3]) &&
        out[i + 3] != "j" && out[i + 3] != "w") {
      out[i] += '~';
      out.erase(out.begin() + static_cast<long>(i) + 1, out.begin() + static_cast<long>(i) + 3);
    }
  // espeak writes a vowel before m or n and a consonant as the vowel and the
  // nasal ("k o m b"): that is the nasal vowel ours writes (om).
  for (std::size_t i = 0; i + 2 < out.size(); ++i)
    if (isVowel(out[i]) && (out[i + 1] == "m" || out[i + 1] == "n") && !isVowel(out[i + 2]) && out[i + 2] != "j" &&
        out[i + 2] != "w") {
      if (out[i].back() != '~') out[i] += '~';
      out.erase(out.begin() + static_cast<long>(i) + 1);
    }
  mergeGlides(out);
  return out;
}

Coarse coarseOfDiphone(const std::string& phonetic) {
  if (phonetic.find("/_") != std::string::npos) return {"spelled"};
  static const std::pair<const char*, const char*> kNames[] = {
      {"tch", "tS"}, {"dj", "dZ"}, {"lh", "l i"}, {"nh", "nh"}, {"rr", "rr"}, {"kw", "k u"}, {"gw", "g u"},
      {"x", "S"},    {"j", "Z"},   {"y", "i"},    {"w", "u"}};
  Coarse out;
  std::size_t i = 0;
  while (i < phonetic.size()) {
    const char ch = phonetic[i];
    if (ch == '[' || ch == ']' || ch == '/' || ch == ' ') {
      ++i;
      continue;
    }
    const std::string lower = std::string(1, static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch));
    if (std::string("aeiou").find(lower) != std::string::npos) {
      std::string v = (ch >= 'A' && ch <= 'Z' ? "'" : "") + lower;
      if (i + 1 < phonetic.size() && phonetic[i + 1] == '~') v += '~', ++i;
      out.push_back(v);
      ++i;
      continue;
    }
    bool named = false;
    for (const auto& [name, coarse] : kNames) {
      const std::string n = name;
      if (phonetic.compare(i, n.size(), n) != 0) continue;
      const std::string c = coarse;
      const std::size_t space = c.find(' ');
      out.push_back(c.substr(0, space));
      if (space != std::string::npos) out.push_back(c.substr(space + 1));
      i += n.size();
      named = true;
      break;
    }
    if (!named) out.push_back(std::string(1, phonetic[i++]));
  }
  return out;
}

void mergeOpenVowels(Coarse& c) {
  for (std::string& p : c) {
    const std::size_t at = p.find_first_of("EO");
    if (at != std::string::npos) p[at] = p[at] == 'E' ? 'e' : 'o';
  }
}

std::string joined(const Coarse& c) {
  std::string s;
  for (const std::string& p : c) s += (s.empty() ? "" : " ") + p;
  return s;
}

bool hasStress(const Coarse& c) {
  return std::any_of(c.begin(), c.end(), [](const std::string& p) { return !p.empty() && p[0] == '\''; });
}

void dropStress(Coarse& c) {
  for (std::string& p : c) p = bare(p);
}

std::string disagreementClass(const Coarse& ours, const Coarse& theirs) {
  const std::size_t n = std::min(ours.size(), theirs.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (ours[i] == theirs[i]) continue;
    const std::string a = bare(ours[i]), b = bare(theirs[i]);
    if (a == b) return "stress";
    std::string x = a, y = b;
    if (y < x) std::swap(x, y);
    return x + "/" + y;
  }
  return "length";
}

}  // namespace agreement
