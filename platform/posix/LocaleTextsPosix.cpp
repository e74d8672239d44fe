#include <langinfo.h>
#include <locale.h>
#include <time.h>

#include <cctype>
#include <cstring>

#include "platform/LocaleTexts.h"

namespace brontel::platform {
namespace {

// The time-formatting part of the locale the environment selects, released on scope exit.
class UserTimeLocale {
 public:
  UserTimeLocale() {
    locale_ = ::newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (locale_ == static_cast<locale_t>(0)) {
      locale_ = ::newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
    }
  }
  ~UserTimeLocale() {
    if (locale_ != static_cast<locale_t>(0))
      ::freelocale(locale_);
  }
  UserTimeLocale(const UserTimeLocale&) = delete;
  UserTimeLocale& operator=(const UserTimeLocale&) = delete;

  // The strftime pattern of `item` (D_FMT, T_FMT), or `fallback` when the locale has none.
  std::string Pattern(nl_item item, const char* fallback) const {
    const char* pattern =
        locale_ != static_cast<locale_t>(0) ? ::nl_langinfo_l(item, locale_) : nullptr;
    return pattern != nullptr && pattern[0] != '\0' ? pattern : fallback;
  }

  std::string Format(const std::string& pattern, const DateTime& value) const {
    struct tm fields {};
    fields.tm_year = value.year - 1900;
    fields.tm_mon = value.month - 1;
    fields.tm_mday = value.day;
    fields.tm_hour = value.hour;
    fields.tm_min = value.minute;
    fields.tm_sec = value.second;
    fields.tm_isdst = -1;
    fields.tm_wday = WeekDay(value);
    char text[128];
    const std::size_t length =
        locale_ != static_cast<locale_t>(0)
            ? ::strftime_l(text, sizeof text, pattern.c_str(), &fields, locale_)
            : ::strftime(text, sizeof text, pattern.c_str(), &fields);
    return std::string(text, length);
  }

 private:
  // Day of the week, 0 = Sunday (Sakamoto's method), for patterns that name the day.
  static int WeekDay(const DateTime& value) {
    static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    int year = value.year;
    if (value.month < 3)
      --year;
    return (year + year / 4 - year / 100 + year / 400 + kOffsets[(value.month - 1) % 12] +
            value.day) %
           7;
  }

  locale_t locale_;
};

constexpr const char* kFallbackDate = "%m/%d/%y";
constexpr const char* kFallbackTime = "%H:%M:%S";

// The first literal punctuation character of a strftime pattern, or `fallback`.
char FirstSeparator(const std::string& pattern, char fallback) {
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(pattern[i]);
    if (c == '%') {
      ++i;
      // Skip flag, width and modifier characters up to the conversion letter.
      while (i < pattern.size() && !std::isalpha(static_cast<unsigned char>(pattern[i])))
        ++i;
      while (i < pattern.size() && (pattern[i] == 'E' || pattern[i] == 'O'))
        ++i;
      continue;
    }
    if (std::ispunct(c))
      return static_cast<char>(c);
  }
  return fallback;
}

}  // namespace

std::string ShortDateText(const DateTime& value) {
  const UserTimeLocale locale;
  return locale.Format(locale.Pattern(D_FMT, kFallbackDate), value);
}

std::string LongTimeText(const DateTime& value) {
  const UserTimeLocale locale;
  return locale.Format(locale.Pattern(T_FMT, kFallbackTime), value);
}

char DateSeparator() {
  const UserTimeLocale locale;
  return FirstSeparator(locale.Pattern(D_FMT, kFallbackDate), '/');
}

char TimeSeparator() {
  const UserTimeLocale locale;
  return FirstSeparator(locale.Pattern(T_FMT, kFallbackTime), ':');
}

}  // namespace brontel::platform
