#include <ctype.h>
#include <langinfo.h>
#include <locale.h>
#include <strings.h>
#include <wctype.h>

#include "platform/Casing.h"
#include "platform/PlatformError.h"

namespace brontel::platform {
namespace {

// The character-type part of a locale, released on scope exit.
class CharacterTypeLocale {
 public:
  explicit CharacterTypeLocale(const char* name)
      : locale_(::newlocale(LC_CTYPE_MASK, name, static_cast<locale_t>(0))) {}
  ~CharacterTypeLocale() {
    if (IsValid())
      ::freelocale(locale_);
  }
  CharacterTypeLocale(const CharacterTypeLocale&) = delete;
  CharacterTypeLocale& operator=(const CharacterTypeLocale&) = delete;

  bool IsValid() const { return locale_ != static_cast<locale_t>(0); }

  bool IsUtf8() const {
    const char* codeset = ::nl_langinfo_l(CODESET, locale_);
    return codeset != nullptr &&
           (::strcasecmp(codeset, "UTF-8") == 0 || ::strcasecmp(codeset, "UTF8") == 0);
  }

  UpperCaseMap Map() const {
    const auto upper_byte = [this](unsigned char byte) {
      return static_cast<unsigned char>(::toupper_l(byte, locale_));
    };
    if (!IsUtf8())
      return UpperCaseMap::EightBit(upper_byte);
    const auto upper_code_point = [this](char32_t code_point) {
      return static_cast<char32_t>(::towupper_l(static_cast<wint_t>(code_point), locale_));
    };
    return UpperCaseMap::Utf8(upper_byte, upper_code_point);
  }

 private:
  locale_t locale_;
};

}  // namespace

UpperCaseMap UpperCaseMapOfLocale(const std::string& name) {
  const CharacterTypeLocale locale(name.c_str());
  if (!locale.IsValid())
    throw PlatformError(name, "the system does not know this locale");
  return locale.Map();
}

UpperCaseMap UserUpperCaseMap() {
  const CharacterTypeLocale locale("");
  if (!locale.IsValid())
    return UpperCaseMap();
  return locale.Map();
}

}  // namespace brontel::platform
