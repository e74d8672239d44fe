// A program that writes a log the way services do, for the tests that check the viewer never
// gets in its way. Usage: brontel_log_writer LOG MILLISECONDS
//
// Until the time is up it appends a line at a time (opening the log for writing with read
// sharing only, as most writers do), and every tenth line rotates the log: the log is renamed
// to LOG.N (N counting the rotations) and a new log begins, and the previous rotated file is
// deleted. It prints each operation that failed and exits with the number of failures.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int failures = 0;

void Fail(const char* what, const std::string& path) {
  ++failures;
  std::printf("%s %s failed: error %lu\n", what, path.c_str(), ::GetLastError());
}

void AppendLine(const std::string& path, int number) {
  HANDLE log = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) {
    Fail("open", path);
    return;
  }
  const std::string line = (number % 7 == 0 ? "E   failure number " : "I   line number ") +
                           std::to_string(number) + "\r\n";
  DWORD written = 0;
  if (!::WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ||
      written != line.size())
    Fail("write", path);
  ::CloseHandle(log);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::printf("usage: brontel_log_writer LOG MILLISECONDS\n");
    return 100;
  }
  const std::string log = argv[1];
  const DWORD duration = static_cast<DWORD>(std::atoi(argv[2]));
  const DWORD start = ::GetTickCount();
  int lines = 0;
  int rotations = 0;
  while (::GetTickCount() - start < duration) {
    AppendLine(log, ++lines);
    if (lines % 10 == 0) {
      ++rotations;
      const std::string rotated = log + "." + std::to_string(rotations);
      if (!::MoveFileA(log.c_str(), rotated.c_str()))
        Fail("rename", log);
      const std::string previous = log + "." + std::to_string(rotations - 1);
      if (rotations > 1 && !::DeleteFileA(previous.c_str()))
        Fail("delete", previous);
    }
    ::Sleep(2);
  }
  AppendLine(log, 999999);  // the last line, which the viewer must show in the end
  std::printf("%d lines, %d rotations, %d failures\n", lines, rotations, failures);
  return failures;
}
