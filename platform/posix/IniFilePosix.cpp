#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <random>
#include <stdexcept>

#include "platform/IniFile.h"
#include "platform/PlatformError.h"
#include "platform/posix/IniFileLines.h"

namespace brontel::platform {
namespace {

using ini_lines::Line;
using ini_lines::LineKind;
using ini_lines::LineReader;
using ini_lines::NamesEqual;
using ini_lines::Parsed;
using ini_lines::ParseLine;

constexpr const char* kLineEnd = "\r\n";

// Owns a file descriptor.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  Fd& operator=(Fd&& other) noexcept {
    if (this != &other) {
      Close();
      fd_ = other.fd_;
      other.fd_ = -1;
    }
    return *this;
  }
  ~Fd() { Close(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int Close() {
    const int result = fd_ >= 0 ? ::close(fd_) : 0;
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

// Opens `path` for reading when it is a regular file; otherwise an invalid Fd. Non-blocking
// open, so that a FIFO in the file's place cannot stall the caller.
Fd OpenRegularForReading(const std::string& path, struct stat* info = nullptr) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat local {};
  struct stat& st = info != nullptr ? *info : local;
  if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
    return Fd();
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags >= 0)
    ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

// Calls `visit(line, parsed)` for each line of the first section named `section` until it
// returns false. Lines of other sections are skipped; the scan ends with the section.
template <typename Visit>
void VisitSection(const std::string& path, std::string_view section, Visit visit) {
  Fd fd = OpenRegularForReading(path);
  if (!fd.valid())
    return;
  LineReader reader(fd.get());
  Line line;
  bool inSection = false;
  while (inSection ? reader.Next(line) : reader.NextSectionHeader(line)) {
    const Parsed parsed = ParseLine(line);
    if (parsed.kind == LineKind::kSection) {
      if (inSection)
        return;
      inSection = parsed.nameKnown && NamesEqual(parsed.name, section);
    } else if (!visit(line, parsed)) {
      return;
    }
  }
}

std::string TrimmedDefault(std::string_view defaultValue) {
  std::size_t length = std::min(defaultValue.size(), kIniValueMaxLength);
  while (length > 0 && (defaultValue[length - 1] == ' ' || defaultValue[length - 1] == '\t')) {
    --length;
  }
  return std::string(defaultValue.substr(0, length));
}

void RefuseLineBreaks(std::string_view text, const char* what) {
  if (text.find_first_of("\r\n") != std::string_view::npos) {
    throw std::invalid_argument(std::string("ini ") + what + " holds a line break");
  }
}

// ---- Writing: a list of byte-range replacements applied while copying the file. ----

struct Edit {
  std::uint64_t begin;
  std::uint64_t end;
  std::string text;
};

// The file a write works on: its real path, its descriptor and state when it exists.
struct Target {
  std::string path;  // symbolic links resolved
  Fd fd;             // invalid when the file does not exist yet
  struct stat info {};
};

std::string ResolveLinks(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
    return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr)
    return path;
  return resolved;
}

// Opens the file for an update, or raises the error a refused write gets.
Target OpenForUpdate(const std::string& path) {
  Target target;
  target.path = ResolveLinks(path);
  struct stat info {};
  if (::stat(target.path.c_str(), &info) != 0) {
    if (errno == ENOENT)
      return target;  // created by the write; a missing directory fails there
    throw LastOsError(target.path);
  }
  if (S_ISDIR(info.st_mode))
    throw PlatformError(target.path, std::strerror(EISDIR));
  if (!S_ISREG(info.st_mode))
    throw PlatformError(target.path, "not a regular file");
  // A file without any write permission is read-only for everyone, as a file with the
  // read-only attribute is on Windows, even for a superuser whom access checks let through.
  if ((info.st_mode & 0222) == 0)
    throw PlatformError(target.path, std::strerror(EACCES));
  if (::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0) {
    throw LastOsError(target.path);
  }
  target.fd = OpenRegularForReading(target.path, &target.info);
  if (!target.fd.valid())
    throw LastOsError(target.path);
  return target;
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

void WriteAll(int fd, const char* data, std::size_t size, const std::string& path) {
  while (size > 0) {
    const ssize_t done = ::write(fd, data, size);
    if (done < 0 && errno == EINTR)
      continue;
    if (done <= 0)
      throw LastOsError(path);
    data += done;
    size -= static_cast<std::size_t>(done);
  }
}

// Copies bytes [from, to) of the source (to == UINT64_MAX: up to its end) into `out`.
void CopyRange(int source, std::uint64_t from, std::uint64_t to, int out, const Target& target,
               const std::string& tempPath) {
  std::vector<char> buffer(64 * 1024);
  while (from < to) {
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), to - from));
    const ssize_t got = ::pread(source, buffer.data(), want, static_cast<off_t>(from));
    if (got < 0 && errno == EINTR)
      continue;
    if (got < 0)
      throw LastOsError(target.path);
    if (got == 0)
      return;
    WriteAll(out, buffer.data(), static_cast<std::size_t>(got), tempPath);
    from += static_cast<std::uint64_t>(got);
  }
}

// Removes the temporary file unless it was renamed into place.
class TempFile {
 public:
  explicit TempFile(const std::string& targetPath) {
    const std::string directory = DirectoryOf(targetPath);
    const std::string base = targetPath.substr(targetPath.rfind('/') + 1);
    std::random_device random;
    for (int attempt = 0; attempt < 100 && !fd_.valid(); ++attempt) {
      path_ = directory + "/." + base + "." + std::to_string(random() % 1000000000u) + ".tmp";
      fd_ = Fd(::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
      if (!fd_.valid() && errno != EEXIST)
        break;
    }
    if (!fd_.valid())
      throw LastOsError(targetPath);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    fd_.Close();
    if (!committed_)
      ::unlink(path_.c_str());
  }

  int fd() const { return fd_.get(); }
  const std::string& path() const { return path_; }

  void CommitAs(const Target& target) {
    if (target.fd.valid()) {
      ::fchmod(fd_.get(), target.info.st_mode & 07777);
      if (::fchown(fd_.get(), target.info.st_uid, target.info.st_gid) != 0) {
        // Only the owner's own files can be given away; keeping ours is the best we can do.
      }
    }
    if (::fsync(fd_.get()) != 0 || fd_.Close() != 0)
      throw LastOsError(path_);
    if (::rename(path_.c_str(), target.path.c_str()) != 0)
      throw LastOsError(target.path);
    committed_ = true;
    Fd directory(::open(DirectoryOf(target.path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.valid())
      ::fsync(directory.get());
  }

 private:
  Fd fd_;
  std::string path_;
  bool committed_ = false;
};

// Writes the file with `edits` (sorted, not overlapping) applied, through a temporary file.
void Rewrite(const Target& target, const std::vector<Edit>& edits) {
  TempFile temp(target.path);
  std::uint64_t copied = 0;
  for (const Edit& edit : edits) {
    if (target.fd.valid())
      CopyRange(target.fd.get(), copied, edit.begin, temp.fd(), target, temp.path());
    WriteAll(temp.fd(), edit.text.data(), edit.text.size(), temp.path());
    copied = edit.end;
  }
  if (target.fd.valid())
    CopyRange(target.fd.get(), copied, UINT64_MAX, temp.fd(), target, temp.path());
  temp.CommitAs(target);
}

// Where the first section named `section` lies and what it holds, for a write of `key`.
struct WritePlan {
  bool sectionFound = false;
  std::optional<ini_lines::StoredLine> keyLine;
  Line lastLineOfSection;     // the header or the last key line of the section; offsets only
  std::uint64_t fileEnd = 0;  // offset after the last line
  bool fileEndsWithLineEnd = true;
};

Line OffsetsOf(Line line) {
  line.head = {};
  return line;
}

WritePlan PlanWrite(const Target& target, std::string_view section, std::string_view key) {
  WritePlan plan;
  if (!target.fd.valid())
    return plan;
  LineReader reader(target.fd.get());
  Line line;
  bool inSection = false;
  while (reader.Next(line)) {
    plan.fileEnd = line.end;
    plan.fileEndsWithLineEnd = line.HasLineEnd();
    if (!inSection && !ini_lines::IsSectionHeader(line))
      continue;
    const Parsed parsed = ParseLine(line);
    if (parsed.kind == LineKind::kSection) {
      if (inSection)
        return plan;
      inSection = parsed.nameKnown && NamesEqual(parsed.name, section);
      if (inSection) {
        plan.sectionFound = true;
        plan.lastLineOfSection = OffsetsOf(line);
      }
      continue;
    }
    if (!inSection || (parsed.kind != LineKind::kKey && parsed.kind != LineKind::kUnknown)) {
      continue;
    }
    plan.lastLineOfSection = OffsetsOf(line);
    if (parsed.kind == LineKind::kKey && NamesEqual(parsed.name, key)) {
      plan.keyLine = ini_lines::StoredLine(line);
      return plan;
    }
  }
  if (reader.failed())
    throw PlatformError(target.path, "read error");
  return plan;
}

// Joins texts by appending: GCC 12 at -O3 reports a false -Wrestrict overlap for chains of
// operator+ on short literals.
std::string Joined(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts)
    text.append(part);
  return text;
}

std::optional<Edit> EditForWrite(const WritePlan& plan, std::string_view section,
                                 std::string_view key, std::string_view value) {
  const std::string keyLine = Joined({key, "=", value, kLineEnd});
  if (plan.keyLine) {
    const Line& line = plan.keyLine->line();
    const Parsed parsed = ParseLine(line);
    if (!parsed.hasValue) {
      const std::size_t keep = line.head.find_last_not_of(" \t") + 1;
      return Edit{line.begin + keep, line.contentEnd, Joined({"=", value})};
    }
    const std::size_t keep = parsed.valueStart;
    if (!line.truncated && std::string_view(line.head).substr(keep) == value)
      return std::nullopt;
    return Edit{line.begin + keep, line.contentEnd, std::string(value)};
  }
  if (plan.sectionFound) {
    const Line& after = plan.lastLineOfSection;
    return Edit{after.end, after.end, Joined({after.HasLineEnd() ? "" : kLineEnd, keyLine})};
  }
  const std::string_view separator = plan.fileEndsWithLineEnd ? "" : kLineEnd;
  return Edit{plan.fileEnd, plan.fileEnd,
              Joined({separator, "[", section, "]", kLineEnd, keyLine})};
}

std::vector<Edit> EditsForErase(const Target& target, std::string_view section) {
  std::vector<Edit> edits;
  if (!target.fd.valid())
    return edits;
  LineReader reader(target.fd.get());
  Line line;
  bool erasing = false;
  while (reader.Next(line)) {
    const Parsed parsed = ParseLine(line);
    if (parsed.kind == LineKind::kSection) {
      erasing = parsed.nameKnown && NamesEqual(parsed.name, section);
      if (erasing)
        edits.push_back(Edit{line.begin, line.end, ""});
    } else if (erasing) {
      edits.back().end = line.end;
    }
  }
  if (reader.failed())
    throw PlatformError(target.path, "read error");
  return edits;
}

}  // namespace

std::string IniReadString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view defaultValue) {
  std::optional<std::string> found;
  VisitSection(path, section, [&](const Line&, const Parsed& parsed) {
    if (parsed.kind != LineKind::kKey || !NamesEqual(parsed.name, key))
      return true;
    if (parsed.hasValue)
      found = ini_lines::ValueOf(parsed);
    return false;
  });
  return found ? *found : TrimmedDefault(defaultValue);
}

std::vector<IniEntry> IniReadEntries(const std::string& path, std::string_view section) {
  std::vector<IniEntry> entries;
  VisitSection(path, section, [&](const Line&, const Parsed& parsed) {
    if (parsed.kind != LineKind::kKey || parsed.name.empty())
      return true;
    IniEntry entry{std::string(parsed.name), std::nullopt};
    if (parsed.hasValue)
      entry.value = ini_lines::ValueOf(parsed);
    entries.push_back(std::move(entry));
    return entries.size() < kIniListMaxKeys;
  });
  return entries;
}

std::vector<std::string> IniReadKeys(const std::string& path, std::string_view section) {
  std::vector<std::string> keys;
  for (IniEntry& entry : IniReadEntries(path, section))
    keys.push_back(std::move(entry.key));
  return keys;
}

void IniWriteString(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value) {
  RefuseLineBreaks(section, "section name");
  RefuseLineBreaks(key, "key name");
  RefuseLineBreaks(value, "value");
  const Target target = OpenForUpdate(path);
  const WritePlan plan = PlanWrite(target, section, key);
  if (std::optional<Edit> edit = EditForWrite(plan, section, key, value)) {
    Rewrite(target, {*edit});
  }
}

void IniEraseSection(const std::string& path, std::string_view section) {
  const Target target = OpenForUpdate(path);
  const std::vector<Edit> edits = EditsForErase(target, section);
  if (!edits.empty())
    Rewrite(target, edits);
}

bool IniFileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

}  // namespace brontel::platform
