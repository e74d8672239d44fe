/** @file ScratchFolder.h: a fresh folder for one test, removed with everything in it afterwards. */
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

namespace brontel::testing {

// A folder of its own under the system's temporary folder, for tests that run in parallel
// processes. Names passed to the file helpers are taken relative to the folder; an absolute
// path (one the folder gave out before, say) stays as it is.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device random;
    do {
      path_ = std::filesystem::temp_directory_path() / ("brontel-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(path_));
  }
  // A test may have taken the folder's write permission away; it is given back to remove it.
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string File(const std::filesystem::path& name) const { return (path_ / name).string(); }

  // Makes `name` hold exactly `bytes`; returns its path.
  std::string Write(const std::filesystem::path& name, std::string_view bytes) const {
    return Put(name, bytes, std::ios::binary | std::ios::trunc);
  }
  // Adds `bytes` at the end of `name`, which is made when missing; returns its path.
  std::string Append(const std::filesystem::path& name, std::string_view bytes) const {
    return Put(name, bytes, std::ios::binary | std::ios::app);
  }
  // The bytes of `name`; empty when it cannot be read.
  std::string Read(const std::filesystem::path& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::string Put(const std::filesystem::path& name, std::string_view bytes,
                  std::ios::openmode mode) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream(file, mode).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file.string();
  }

  std::filesystem::path path_;
};

}  // namespace brontel::testing
