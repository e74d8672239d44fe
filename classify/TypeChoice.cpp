#include "classify/TypeChoice.h"

#include <array>
#include <initializer_list>
#include <string>

#include "classify/LineShapes.h"
#include "settings/AsciiCase.h"

namespace brontel {
namespace {

// A choice rests on this many lines at most: enough for a layout to show, few enough to cost
// well under a millisecond.
constexpr std::size_t kSampledLines = 200;
constexpr std::size_t kFamilies = static_cast<std::size_t>(LogFamily::Generic) + 1;

std::string LowerCopy(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    c = AsciiLower(c);
  return lower;
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}
bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}
bool AllDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// syslog.2.gz -> syslog, messages-20261210 -> messages, error.log.1 -> error.log
std::string_view WithoutRotation(std::string_view name) {
  for (const std::string_view compressed : {".gz", ".xz", ".bz2", ".zst", ".z"}) {
    if (EndsWith(name, compressed)) {
      name.remove_suffix(compressed.size());
      break;
    }
  }
  for (;;) {
    const std::size_t mark = name.find_last_of(".-_");
    if (mark == std::string_view::npos || mark == 0 || !AllDigits(name.substr(mark + 1)))
      return name;
    name = name.substr(0, mark);
  }
}

struct NameRule {
  std::string_view preset;
  std::initializer_list<std::string_view> exact;
  std::initializer_list<std::string_view> prefixes;  // the name then ends in ".log"
};

// The server logs that have a name of their own; the web servers' bare error.log and
// access.log are told apart from a database's by their folder.
const std::array<NameRule, 7> kNameRules = {{
    {"syslog",
     {"syslog", "messages", "kern.log", "auth.log", "daemon.log", "user.log", "cron.log",
      "mail.log", "mail.err", "mail.warn", "mail.info", "debug", "secure", "maillog", "cron",
      "ufw.log", "boot.log", "dmesg"},
     {}},
    {"log4j", {"catalina.out"}, {"catalina.", "localhost.", "manager.", "host-manager."}},
    {"postgresql", {}, {"postgresql", "postgres"}},
    {"mysql", {"mysql.err", "mysqld.err", "mariadb.err"}, {"mysql", "mariadb"}},
    {"monolog", {}, {"laravel", "lumen"}},
    {"windows",
     {"cbs.log", "dism.log", "windowsupdate.log", "cbspersist.log"},
     {"setupapi.", "msi", "cbspersist_"}},
    {"web",
     {"error.log", "access.log", "error_log", "access_log", "ssl_error_log", "ssl_access_log",
      "other_vhosts_access.log"},
     {}},
}};

bool IsWebServerLogName(std::string_view name) {
  for (const std::string_view end : {".error.log", "-error.log", "_error.log", ".access.log",
                                     "-access.log", "_access.log", "_error_log", "_access_log"}) {
    if (EndsWith(name, end))
      return true;
  }
  return false;
}

bool InDatabaseFolder(std::string_view lowerPath) {
  return lowerPath.find("/mysql/") != std::string_view::npos ||
         lowerPath.find("\\mysql\\") != std::string_view::npos ||
         lowerPath.find("mariadb") != std::string_view::npos;
}

}  // namespace

std::string_view PresetForFileName(std::string_view path) {
  const std::string lowerPath = LowerCopy(path);
  const std::size_t slash = lowerPath.find_last_of("/\\");
  const std::string_view whole =
      std::string_view(lowerPath).substr(slash == std::string::npos ? 0 : slash + 1);
  const std::string_view name = WithoutRotation(whole);
  if (EndsWith(name, ".jsonl") || EndsWith(name, ".ndjson"))
    return "json";
  for (const NameRule& rule : kNameRules) {
    for (const std::string_view exact : rule.exact) {
      if (name == exact)
        return rule.preset == "web" && InDatabaseFolder(lowerPath) ? "mysql" : rule.preset;
    }
    for (const std::string_view prefix : rule.prefixes) {
      if (StartsWith(name, prefix) && (EndsWith(name, ".log") || EndsWith(name, ".txt")))
        return rule.preset;
    }
  }
  if (IsWebServerLogName(name))
    return "web";
  return {};
}

std::string_view PresetForText(std::string_view head) {
  std::array<std::size_t, kFamilies> votes{};
  std::size_t sampled = 0;
  while (!head.empty() && sampled < kSampledLines) {
    const std::size_t end = head.find_first_of("\r\n");
    if (end == std::string_view::npos && sampled > 0)
      break;  // cut off where the read stopped: its layout may be cut too
    const std::string_view line = head.substr(0, end);
    head = end == std::string_view::npos ? std::string_view() : head.substr(end + 1);
    if (line.find_first_not_of(" \t") == std::string_view::npos)
      continue;
    ++sampled;
    ++votes[static_cast<std::size_t>(ShapeOf(line))];
  }
  // The more specific family wins a tie: it comes first.
  LogFamily best = LogFamily::Unknown;
  std::size_t bestVotes = 0;
  for (std::size_t family = static_cast<std::size_t>(LogFamily::Glog);
       family < static_cast<std::size_t>(LogFamily::Generic); ++family) {
    if (votes[family] > bestVotes) {
      best = static_cast<LogFamily>(family);
      bestVotes = votes[family];
    }
  }
  const std::size_t builtin = votes[static_cast<std::size_t>(LogFamily::Builtin)];
  if (builtin > 0 && builtin >= bestVotes)
    return {};
  if (best == LogFamily::Unknown && votes[static_cast<std::size_t>(LogFamily::Generic)] > 0)
    best = LogFamily::Generic;
  return PresetNameOf(best);
}

std::string_view ChoosePreset(std::string_view path, std::string_view head) {
  const std::string_view byName = PresetForFileName(path);
  return byName.empty() ? PresetForText(head) : byName;
}

}  // namespace brontel
