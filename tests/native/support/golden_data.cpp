#include "support/golden_data.h"

#include <gtest/gtest.h>

#include <fstream>

namespace testing_support {

std::vector<std::pair<std::string, std::string>> goldenRows(const std::string& name) {
  std::vector<std::pair<std::string, std::string>> rows;
  std::ifstream in(std::string(TEST_DATA_DIR) + "/" + name + ".tsv", std::ios::binary);
  EXPECT_TRUE(in) << name << ".tsv";
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    rows.emplace_back(line.substr(0, tab), line.substr(tab + 1));
  }
  return rows;
}

}  // namespace testing_support
