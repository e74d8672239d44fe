// Treats the input as the text of an ini file: lists and reads every section and key it names,
// then writes one value and checks that the write reads back, that a second equal write leaves
// the bytes alone, and that the other sections read as before.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/IniFile.h"
#include "platform/PlatformError.h"
#include "tests/support/ScratchFolder.h"

namespace {

namespace ini = brontel::platform;

// Holds the fuzzed file; removed when the process ends.
const brontel::testing::ScratchFolder& Scratch() {
  static const brontel::testing::ScratchFolder folder;
  return folder;
}

// The names a "[...]" header line of the text gives, as the reader would trim them; a cheap
// over-approximation is fine, a name that is not a section just reads as empty.
std::vector<std::string> SectionNames(const std::string& text) {
  std::set<std::string> names;
  std::size_t at = 0;
  while ((at = text.find('[', at)) != std::string::npos) {
    const std::size_t close = text.find_first_of("]\r\n", at + 1);
    if (close == std::string::npos || text[close] != ']')
      break;
    names.insert(text.substr(at + 1, close - at - 1));
    at = close;
    if (names.size() >= 16)
      break;
  }
  return {names.begin(), names.end()};
}

void Fail() {
  std::abort();
}

bool HasLineBreak(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos;
}

// A section name as the reader compares it: without surrounding blanks, ASCII letters lowered.
std::string Normalised(const std::string& name) {
  const std::size_t first = name.find_first_not_of(" \t");
  if (first == std::string::npos)
    return {};
  std::string trimmed = name.substr(first, name.find_last_not_of(" \t") - first + 1);
  for (char& c : trimmed) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
  return trimmed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string path = Scratch().Write("fuzz.ini", text);
  const std::vector<std::string> sections = SectionNames(text);

  std::vector<std::vector<ini::IniEntry>> before;
  for (const std::string& section : sections) {
    const std::vector<std::string> keys = ini::IniReadKeys(path, section);
    const std::vector<ini::IniEntry> entries = ini::IniReadEntries(path, section);
    if (keys.size() != entries.size() || keys.size() > ini::kIniListMaxKeys)
      Fail();
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (keys[i] != entries[i].key || keys[i].empty())
        Fail();
      const std::string value = ini::IniReadString(path, section, keys[i], "");
      if (value.size() > ini::kIniValueMaxLength)
        Fail();
    }
    before.push_back(entries);
  }

  // One write into the first section the text names (or a new one), on its first key.
  const std::string section = sections.empty() ? std::string("Fuzz") : sections.front();
  const std::string key = before.empty() || before.front().empty() ? std::string("FuzzKey")
                                                                   : before.front().front().key;
  const std::string value = "v" + std::to_string(size);
  try {
    ini::IniWriteString(path, section, key, value);
  } catch (const std::invalid_argument&) {
    if (!HasLineBreak(section) && !HasLineBreak(key))
      Fail();
    return 0;
  } catch (const ini::PlatformError&) {
    return 0;
  }
  const std::string written = Scratch().Read(path);
  if (ini::IniReadString(path, section, key, "<missing>") != value)
    Fail();
  ini::IniWriteString(path, section, key, value);
  if (Scratch().Read(path) != written)
    Fail();
  for (std::size_t i = 0; i < sections.size(); ++i) {
    if (Normalised(sections[i]) != Normalised(section) &&
        ini::IniReadEntries(path, sections[i]) != before[i])
      Fail();
  }
  return 0;
}
