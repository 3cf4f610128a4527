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

// The corpus's lines (Windows-1252) repeated or cut to about `words` words.
std::vector<std::string> linesOfWords(std::size_t words);

// The Portuguese front end's five data files from the built voice tree.
bool loadFrontEnd();
// The phoneme lines of one text, as the voice driver would send them.
std::vector<std::string> phonemeLines(const std::string& cp1252);

// Console, player and hub initialised on the host with the default voice,
// speech started at speed 3; block data not kept.
void startDefaultVoice();

}  // namespace bench
