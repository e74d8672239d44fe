#include "classify/AutoTypes.h"

#include <cstdlib>
#include <exception>
#include <vector>

#include "classify/MsgTypeLoader.h"
#include "classify/TypeChoice.h"
#include "platform/ReadOnlyFile.h"
#include "settings/SettingsFile.h"

namespace brontel {
namespace {

bool SameType(const MsgTypeMatcherInfo& a, const MsgTypeMatcherInfo& b) {
  return a.name == b.name && a.exprTexts == b.exprTexts && a.color.ForeColor == b.color.ForeColor &&
         a.color.BackColor == b.color.BackColor && a.color.Style == b.color.Style;
}

// brontel.ini may spell the built-in types out; that is still no choice of the user's.
bool HoldsOwnTypes(ExtManager& store) {
  if (store.ReadInteger("MsgTypes\\Count", 0) < 1)
    return false;
  std::vector<MsgTypeMatcherInfo> configured;
  LoadMsgTypes(store, configured);
  const std::vector<MsgTypeMatcherInfo> builtin = BuiltinMsgTypes();
  if (configured.size() != builtin.size())
    return true;
  for (std::size_t i = 0; i < builtin.size(); ++i) {
    if (!SameType(configured[i], builtin[i]))
      return true;
  }
  return false;
}

// Every second byte of a UTF-16 text, from the one that holds the ASCII letters.
std::string Utf16Letters(const std::string& bytes, bool bigEndian) {
  std::string letters;
  letters.reserve(bytes.size() / 2);
  for (std::size_t i = 2 + (bigEndian ? 1 : 0); i < bytes.size(); i += 2)
    letters.push_back(bytes[i]);
  return letters;
}

}  // namespace

TypesRequest RequestedTypes(ExtManager& store) {
  const char* variable = std::getenv(kMsgTypesFileVariable);
  if (variable != nullptr && *variable != '\0') {
    const std::string_view request = variable;
    if (request == kAutoTypesRequest)
      return TypesRequest::Choose;
    if (request == kBuiltinTypesRequest)
      return TypesRequest::Builtin;
    return TypesRequest::FromSettings;
  }
  if (!store.ReadBool(kAutoMsgTypesKey, true) || HoldsOwnTypes(store))
    return TypesRequest::FromSettings;
  return TypesRequest::Choose;
}

std::optional<std::string> ReadChoiceHead(const std::string& path) {
  try {
    const std::unique_ptr<platform::ReadOnlyFile> file = platform::OpenReadOnlyFile(path);
    std::string head(kChoiceHeadBytes, '\0');
    std::size_t filled = 0;
    while (filled < head.size()) {
      const std::size_t read = file->ReadAt(filled, head.data() + filled, head.size() - filled);
      if (read == 0)
        break;
      filled += read;
    }
    head.resize(filled);
    if (head.size() >= 2 && head[0] == '\xFF' && head[1] == '\xFE')
      return Utf16Letters(head, false);
    if (head.size() >= 2 && head[0] == '\xFE' && head[1] == '\xFF')
      return Utf16Letters(head, true);
    return head;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace brontel
