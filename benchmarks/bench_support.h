#pragma once
// What the benchmarks share: the corpus, in Windows-1252, and a started hub
// with the default voice on the host platform.
#include <string>
#include <vector>

namespace bench {

// The corpus named by $FALAMCI_CORPUS (UTF-8), one entry per line, and its words.
const std::vector<std::string>& corpusLinesUtf8();
const std::vector<std::string>& corpusLines();  // Windows-1252
std::size_t corpusWords();

// Console, player and hub initialised on the host with the default voice,
// speech started at speed 3; block data not kept.
void startDefaultVoice();

}  // namespace bench
