// Runs a fuzz target once over each input of its corpus, without libFuzzer: the corpora are
// replayed under whatever sanitizers the build has, with any compiler. Arguments that start
// with '-' (libFuzzer's options) are ignored; every other one is a file or a folder of inputs,
// taken in name order. Each input's name is printed before it runs, so the last name before a
// sanitizer's report is the input that caused it.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputsOf(const fs::path& argument) {
  std::vector<fs::path> inputs;
  std::error_code error;
  if (!fs::is_directory(argument, error)) {
    inputs.push_back(argument);
    return inputs;
  }
  for (const fs::directory_entry& entry : fs::directory_iterator(argument)) {
    if (entry.is_regular_file())
      inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

bool Replay(const fs::path& input) {
  std::error_code error;
  const std::uintmax_t size = fs::file_size(input, error);
  std::ifstream file(input, std::ios::binary);
  // Exactly the input's size, so that reading past its end is a sanitizer's finding.
  std::vector<std::uint8_t> data(error ? 0 : static_cast<std::size_t>(size));
  if (error || !file ||
      !file.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()))) {
    std::fprintf(stderr, "replay: cannot read %s\n", input.c_str());
    return false;
  }
  std::fprintf(stderr, "replay: %s\n", input.c_str());
  static std::uint8_t none = 0;  // an empty input still comes with a valid pointer
  LLVMFuzzerTestOneInput(data.empty() ? &none : data.data(), data.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (LLVMFuzzerInitialize != nullptr)
    LLVMFuzzerInitialize(&argc, &argv);
  std::size_t replayed = 0;
  bool readable = true;
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-')
      continue;
    for (const fs::path& input : InputsOf(argv[i])) {
      readable = Replay(input) && readable;
      ++replayed;
    }
  }
  std::fprintf(stderr, "replay: %zu inputs\n", replayed);
  return readable && replayed > 0 ? 0 : 1;
}
