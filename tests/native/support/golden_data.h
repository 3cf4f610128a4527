#pragma once
// Golden cases kept as data: tests/data/NAME.tsv, one "input<TAB>expected"
// row a line, '#' lines being comments.
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// The rows of the file; an empty list (and a test failure) when it cannot be read.
std::vector<std::pair<std::string, std::string>> goldenRows(const std::string& name);

}  // namespace testing_support
