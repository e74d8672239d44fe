#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>
#include <stdexcept>

#include "platform/IniFile.h"
#include "platform/PlatformError.h"
#include "platform/posix/IniFileEdits.h"
#include "platform/posix/IniFileLines.h"
#include "platform/posix/IniWriterLock.h"

namespace brontel::platform {
namespace {

using ini_lines::Line;
using ini_lines::LineKind;
using ini_lines::LineReader;
using ini_lines::NamesEqual;
using ini_lines::Parsed;
using ini_lines::ParseLine;

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

// The file a write works on: its real path, its descriptor and state when it exists.
struct Target {
  std::string path;  // symbolic links resolved
  Fd fd;             // invalid when the file does not exist yet
  struct stat info {};
};

// The file `path` finally names: symbolic links followed one by one, also to a target that
// does not exist yet, which the write then creates instead of replacing the link.
std::string ResolveLinks(const std::string& path) {
  constexpr int kMostLinks = 40;
  std::string current = path;
  for (int hop = 0; hop < kMostLinks; ++hop) {
    struct stat info {};
    if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
      return current;
    std::string target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(current.c_str(), target.data(), target.size());
    if (length < 0)
      throw LastOsError(current);
    target.resize(static_cast<std::size_t>(length));
    current = target.starts_with('/') ? target : IniDirectoryOf(current) + "/" + target;
  }
  throw PlatformError(path, std::strerror(ELOOP));
}

// Opens the file for an update, or raises the error a refused write gets.
Target OpenForUpdate(const std::string& resolvedPath) {
  Target target;
  target.path = resolvedPath;
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
    const std::string directory = IniDirectoryOf(targetPath);
    const std::string base = IniBaseNameOf(targetPath);
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
    Fd directory(::open(IniDirectoryOf(target.path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.valid())
      ::fsync(directory.get());
  }

 private:
  Fd fd_;
  std::string path_;
  bool committed_ = false;
};

// Writes the file with `edits` (sorted, not overlapping) applied, through a temporary file.
void Rewrite(const Target& target, const std::vector<ini_lines::Edit>& edits) {
  TempFile temp(target.path);
  std::uint64_t copied = 0;
  for (const ini_lines::Edit& edit : edits) {
    if (target.fd.valid())
      CopyRange(target.fd.get(), copied, edit.begin, temp.fd(), target, temp.path());
    WriteAll(temp.fd(), edit.text.data(), edit.text.size(), temp.path());
    copied = edit.end;
  }
  if (target.fd.valid())
    CopyRange(target.fd.get(), copied, UINT64_MAX, temp.fd(), target, temp.path());
  temp.CommitAs(target);
}

void RefuseLineBreaksIn(const std::vector<IniChange>& changes) {
  for (const IniChange& change : changes) {
    RefuseLineBreaks(change.section, "section name");
    RefuseLineBreaks(change.key, "key name");
    RefuseLineBreaks(change.value, "value");
  }
}

// Applies `changes` under the writers' lock, reading the file afresh under it; with
// `onlyWhenMissing` only when nothing exists at the path. True when the changes were applied.
bool WriteUnderLock(const std::string& path, const std::vector<IniChange>& changes,
                    bool onlyWhenMissing) {
  RefuseLineBreaksIn(changes);
  const std::string resolved = ResolveLinks(path);
  const IniWriterLock lock(resolved);
  if (lock.held())
    RemoveStaleIniTemporaries(resolved);
  struct stat info {};
  if (onlyWhenMissing && ::lstat(resolved.c_str(), &info) == 0)
    return false;
  const Target target = OpenForUpdate(resolved);
  const std::vector<ini_lines::Edit> edits =
      ini_lines::EditsForChanges(target.fd.get(), target.path, changes);
  if (!edits.empty())
    Rewrite(target, edits);
  return true;
}

}  // namespace

std::string IniReadString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view defaultValue, bool* cut) {
  if (cut != nullptr)
    *cut = false;
  std::optional<std::string> found;
  VisitSection(path, section, [&](const Line&, const Parsed& parsed) {
    if (parsed.kind != LineKind::kKey || !NamesEqual(parsed.name, key))
      return true;
    if (parsed.hasValue)
      found = ini_lines::ValueOf(parsed, cut);
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
  WriteUnderLock(path, {IniChange{std::string(section), std::string(key), std::string(value)}},
                 false);
}

void IniWriteChanges(const std::string& path, const std::vector<IniChange>& changes) {
  if (!changes.empty())
    WriteUnderLock(path, changes, false);
}

bool IniCreateFile(const std::string& path, const std::vector<IniChange>& changes) {
  return WriteUnderLock(path, changes, true);
}

void IniEraseSection(const std::string& path, std::string_view section) {
  IniChange erase;
  erase.section = section;
  erase.eraseSection = true;
  WriteUnderLock(path, {erase}, false);
}

bool IniFileExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

}  // namespace brontel::platform
