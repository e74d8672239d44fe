// The program that writes the log never fails because a viewer reads it: the log is opened with
// read, write and delete sharing, for the tail load and the complete load alike.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "platform/ReadOnlyFile.h"
#include "tests/shells/win32/HostFixture.h"

namespace brontel::win32::testing {
namespace {

// Runs the writer on `log` for `milliseconds` while this thread's message loop keeps running
// (the viewers reload meanwhile); answers its exit code, the number of failed operations.
DWORD RunWriter(const std::string& log, int milliseconds) {
  char program[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, program, MAX_PATH);
  std::string path(program);
  path = path.substr(0, path.find_last_of("\\/") + 1) + BRONTEL_LOG_WRITER_NAME;
  std::string commandLine = "\"" + path + "\" \"" + log + "\" " + std::to_string(milliseconds);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
    return 1000;
  while (::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
    RecordingHost::Pump(20);
  DWORD exitCode = 1000;
  ::GetExitCodeProcess(process.hProcess, &exitCode);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  return exitCode;
}

class WriterTest : public HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    settings_ = UseSettingsFolder();
    log_ = PathOf("service.log");
    folder_.Write(log_, "I   service starting\r\n");
  }
  std::string settings_;
  std::string log_;
};

TEST_F(WriterTest, AnOpenReaderLetsTheWriterAppendRenameAndDelete) {
  // The viewer's way of opening the log, held open for the writer's whole run.
  std::unique_ptr<platform::ReadOnlyFile> reader = platform::OpenReadOnlyFile(log_);
  EXPECT_EQ(RunWriter(log_, 600), 0u);
  EXPECT_GT(reader->Size(), 0u);
}

TEST_F(WriterTest, AReaderWithoutDeleteSharingWouldBlockRotation) {
  // The check above is able to fail: plain read/write sharing stops the rename.
  HANDLE reader = ::CreateFileA(log_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_GT(RunWriter(log_, 300), 0u);
  ::CloseHandle(reader);
}

TEST_F(WriterTest, TheWriterNeverFailsWhileATailingViewerReloads) {
  HWND viewer = LoadAndShow(log_);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(RunWriter(log_, 2000), 0u);
  RecordingHost::Pump(1500);  // change check and reload
  EXPECT_EQ(plugin_.ListSearchText(viewer, "number 999999", kFindFirst), 0);
}

TEST_F(WriterTest, TheWriterNeverFailsWhileACompleteLoadReads) {
  std::string big;
  for (int i = 0; i < 60000; ++i)
    big += "I   an old line of the service's log, number " + std::to_string(i) + "\r\n";
  folder_.Write(log_, big);
  folder_.Write(settings_,
                "[EXT]\r\n.log=10\r\n.=10\r\n[Preferences]\r\nOptions.LoadCompleteFile=1\r\n");
  HWND viewer = Load(log_);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(RunWriter(log_, 2000), 0u);
  // The writer rotated the old lines away: the view holds the log that now has the name once
  // the complete view looked at the file again (about once a second; later on a busy machine).
  RecordingHost::Pump(1500);
  for (int look = 0; look < 10 && plugin_.ListSearchText(viewer, "number 999999", kFindFirst) != 0;
       ++look)
    RecordingHost::Pump(500);
  EXPECT_EQ(plugin_.ListSearchText(viewer, "number 999999", kFindFirst), 0);
  EXPECT_NE(plugin_.ListSearchText(viewer, "service's log", kFindFirst), 0);
}

}  // namespace
}  // namespace brontel::win32::testing
