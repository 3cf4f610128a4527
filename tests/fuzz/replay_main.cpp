// Replays a fuzz target's stored inputs (its seeds and every input that
// once crashed it) without libFuzzer, so the ordinary and the sanitizer
// builds run them as tests. Arguments: folders or files; a missing folder
// counts as empty. Fails if no input was found at all.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

int replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::printf("%s (%zu bytes)\n", file.filename().string().c_str(), bytes.size());
  return LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  int inputs = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path where(argv[i]);
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(where)) {
      for (const auto& entry : std::filesystem::directory_iterator(where))
        if (entry.is_regular_file()) files.push_back(entry.path());
    } else if (std::filesystem::exists(where)) {
      files.push_back(where);
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
      replay(file);
      ++inputs;
    }
  }
  std::printf("%d inputs replayed\n", inputs);
  return inputs > 0 ? 0 : 1;
}
