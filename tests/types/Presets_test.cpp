// Each preset through the real loader and classifier, on lines of the format it is made for.
// "-" stands for a line that no type may claim: the traps of each format ("0 errors",
// "error_count=0", level words inside messages) and its ordinary lines.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "apps/brontel/TypePresets.h"
#include "classify/IniTextStore.h"
#include "classify/LineClassifier.h"
#include "classify/PresetTexts.h"
#include "ui/LineStore.h"

namespace brontel::app {
namespace {

using Samples = std::vector<std::pair<std::string, std::string>>;

std::string PresetPath(const std::string& name) {
  return std::string(BRONTEL_TYPES_DIR) + "/" + name + ".ini";
}

std::string TypeName(LineClassifier& types, std::string_view line) {
  const int position = types.FindMsgType(line);
  return position == kUnclassified ? "-" : types.Types()[static_cast<std::size_t>(position)].name;
}

// Counting sees a line as read, colouring as shown (tabs expanded): both must agree.
void ExpectClassified(const std::string& preset, const Samples& samples) {
  TypesFileStore store(PresetPath(preset));
  LineClassifier types(store);
  for (const auto& [line, expected] : samples) {
    EXPECT_EQ(TypeName(types, line), expected) << preset << ": " << line;
    EXPECT_EQ(TypeName(types, ui::LineStore::ExpandTabs(line)), expected) << preset << ": " << line;
  }
}

TEST(PresetsTest, EachLoadsThreeCountedTypesInTheBuiltInColours) {
  const std::vector<TypePreset> presets = ListPresets({BRONTEL_TYPES_DIR});
  std::vector<std::string> names;
  for (const TypePreset& preset : presets) {
    names.push_back(preset.name);
    EXPECT_EQ(TypesFileProblem(preset.path), "") << preset.name;
    EXPECT_FALSE(preset.description.empty()) << preset.name;
    TypesFileStore store(preset.path);
    LineClassifier types(store);
    types.LoadMsgTypes();
    ASSERT_EQ(types.Types().size(), 4U) << preset.name;
    const auto& error = types.Types()[0].color;
    const auto& warning = types.Types()[1].color;
    const auto& urgent = types.Types()[2].color;
    EXPECT_EQ(std::make_pair(error.ForeColor, error.BackColor),
              std::make_pair(ui::clWhite, ui::clRed));
    EXPECT_EQ(std::make_pair(warning.ForeColor, warning.BackColor),
              std::make_pair(ui::clBlack, ui::clYellow));
    EXPECT_EQ(std::make_pair(urgent.ForeColor, urgent.BackColor),
              std::make_pair(ui::clRed, ui::clBlack));
    EXPECT_EQ(urgent.Style, ui::FontStyle::Bold | ui::FontStyle::Italic);
    EXPECT_EQ(types.Types()[3].name, "Summary");
  }
  EXPECT_EQ(names, (std::vector<std::string>{"generic", "glog", "json", "log4j", "logfmt",
                                             "monolog", "mysql", "postgresql", "python", "syslog",
                                             "web", "windows"}));
}

// Compiled in, each preset is the file of the same name; and each keeps the viewer's own "|"
// lines, whose counts text names every type, as Summary lines.
TEST(PresetsTest, EachIsCompiledInAndLeavesTheViewersOwnLinesToSummary) {
  const std::vector<TypePreset> presets = ListPresets({BRONTEL_TYPES_DIR});
  ASSERT_EQ(EmbeddedPresets().size(), presets.size());
  for (const TypePreset& preset : presets) {
    const PresetText* embedded = FindEmbeddedPreset(preset.name);
    ASSERT_NE(embedded, nullptr) << preset.name;
    IniTextStore store(embedded->text);
    LineClassifier types(store);
    TypesFileStore fileStore(preset.path);
    LineClassifier fromFile(fileStore);
    fromFile.LoadMsgTypes();
    types.LoadMsgTypes();
    ASSERT_EQ(types.Types().size(), fromFile.Types().size()) << preset.name;
    for (std::size_t i = 0; i < types.Types().size(); ++i)
      EXPECT_EQ(types.Types()[i].exprTexts, fromFile.Types()[i].exprTexts) << preset.name;
    std::string counts = "|\t";
    for (const MsgTypeMatcherInfo& type : types.Types())
      counts += type.name + ":7, ";
    for (const std::string& line : std::vector<std::string>{
             counts + "HistoryCount:21", "|\tFILE IS EMPTY OR FILE NOT FOUND!",
             "|\t[ERROR] level=error \"level\":\"error\" E1210 12:00:00 WARNING:  .ERROR: "}) {
      EXPECT_EQ(TypeName(types, line), "Summary") << preset.name << ": " << line;
      EXPECT_EQ(TypeName(types, ui::LineStore::ExpandTabs(line)), "Summary") << preset.name;
    }
  }
}

TEST(PresetsTest, Log4j) {
  ExpectClassified(
      "log4j",
      {
          {"2024-05-17 12:00:01,123 ERROR [main] com.example.App - Connection refused", "Error"},
          {"2024-05-17 12:00:01,123 ERROR com.example.App: boom", "Error"},
          {"12:00:01.123 [http-nio-8080-exec-3] ERROR c.e.web.Controller - request failed",
           "Error"},
          {"[ERROR] 2024-05-17 12:00:01 Failed to execute goal", "Error"},
          {"ERROR [main] App - started badly", "Error"},
          {"ERROR: cannot open /etc/app.conf", "Error"},
          {"SEVERE: Servlet.service() for servlet [dispatcher] threw exception", "Error"},
          {"2024-05-17 12:00:01 SEVERE org.apache.catalina.core.StandardContext failed", "Error"},
          {"Exception in thread \"main\" java.lang.IllegalStateException: closed", "Error"},
          {"2024-05-17 12:00:02,001 WARN  [pool-1-thread-2] c.e.Cache - eviction slow", "Warning"},
          {"2024-05-17 12:00:02,001 [WARN ] c.e.Cache - eviction slow", "Warning"},
          {"2024-05-17 12:00:02,001 [ WARN] c.e.Cache - eviction slow", "Warning"},
          {"12:00:02.456 [main] WARN  o.h.e.j.s.SqlExceptionHelper - SQL Warning Code: 0",
           "Warning"},
          {"WARNING: An illegal reflective access operation has occurred", "Warning"},
          {"2024-05-17 12:00:02 WARNING com.example.Jul doStuff: low disk", "Warning"},
          {"2024-05-17 12:00:03,500 FATAL [main] com.example.App - cannot continue", "Fatal"},
          {"[FATAL] shutting down", "Fatal"},
          {"java.lang.OutOfMemoryError: Java heap space", "Fatal"},
          {"2024-05-17 12:00:04,000 INFO  [main] c.e.Job - finished with 0 errors", "-"},
          {"2024-05-17 12:00:04,000 INFO  [main] c.e.Job - error_count=0 warn_count=0", "-"},
          {"2024-05-17 12:00:04,000 INFO  [main] c.e.Job - NO ERRORS, NO WARNINGS", "-"},
          {"2024-05-17 12:00:04,000 DEBUG [main] c.e.ErrorHandler - level=ERROR ignored", "-"},
          {"2024-05-17 12:00:04,000 INFO  [main] c.e.Cfg - ERROR_CODE=0 WARN_LIMIT=5", "-"},
          {"12:00:05.000 [main] INFO  com.example.ERRORMapper - loaded", "-"},
          {"\tat com.example.App.main(App.java:42)", "-"},
          {"Caused by: java.io.IOException: Broken pipe", "-"},
          {"May 17, 2024 12:00:01 PM com.example.Jul doStuff", "-"},
          {"INFO: Server startup in [1234] milliseconds", "-"},
          {"2024-05-17 12:00:06,000 TRACE [main] c.e.App - FAILED_LOGINS=0", "-"},
      });
}

TEST(PresetsTest, Python) {
  ExpectClassified(
      "python",
      {
          {"ERROR:root:could not connect to db", "Error"},
          {"ERROR:app.worker:job 17 crashed", "Error"},
          {"2024-05-17 12:00:01,123 - app.db - ERROR - connection lost", "Error"},
          {"2024-05-17 12:00:01,123 ERROR    app.db: connection lost", "Error"},
          {"[2024-05-17 12:00:01,123] ERROR in app: Exception on /api [GET]", "Error"},
          {"ValueError: invalid literal for int() with base 10: 'x'", "Error"},
          {"KeyError: 'user_id'", "Error"},
          {"requests.exceptions.ConnectionError: HTTPSConnectionPool(host='x', port=443)", "Error"},
          {"json.decoder.JSONDecodeError: Expecting value: line 1 column 1 (char 0)", "Error"},
          {"StopIteration", "-"},
          {"MemoryError", "Error"},
          {"myapp.errors.QuotaException: over quota", "Error"},
          {"WARNING:root:disk usage at 91%", "Warning"},
          {"2024-05-17 12:00:02,000 - app.cache - WARNING - cache miss storm", "Warning"},
          {"2024-05-17 12:00:02,000 WARNING  app.cache: cache miss storm", "Warning"},
          {"/usr/lib/python3/dist-packages/x.py:12: DeprecationWarning: use y instead", "Warning"},
          {"CRITICAL:root:out of file descriptors", "Critical"},
          {"2024-05-17 12:00:03,000 - app - CRITICAL - shutting down", "Critical"},
          {"Fatal Python error: Segmentation fault", "Critical"},
          {"INFO:root:0 errors", "-"},
          {"INFO:app.stats:error_count=0", "-"},
          {"2024-05-17 12:00:04,000 - app - INFO - processed 10 rows, 0 errors", "-"},
          {"2024-05-17 12:00:04,000 - app - DEBUG - ERRORS=0", "-"},
          {"Traceback (most recent call last):", "-"},
          {"  File \"/srv/app/main.py\", line 10, in <module>", "-"},
          {"    raise ValueError(\"bad\")", "-"},
          {"INFO:werkzeug:127.0.0.1 - - \"GET /errors HTTP/1.1\" 200 -", "-"},
          {"DEBUG:urllib3.connectionpool:Starting new HTTPS connection (1): x:443", "-"},
      });
}

TEST(PresetsTest, Syslog) {
  ExpectClassified(
      "syslog",
      {
          {"May 17 12:00:01 web1 sshd[812]: error: kex_exchange_identification: read: Connection "
           "reset",
           "Error"},
          {"May 17 12:00:01 web1 app[99]: Error: config missing", "Error"},
          {"May 17 12:00:01 web1 kernel: [ 12.345] blk_update_request: I/O error, dev sda, sector "
           "2048",
           "Error"},
          {"May 17 12:00:01 web1 systemd[1]: Failed to start nginx.service - web server.", "Error"},
          {"May 17 12:00:01 web1 systemd[1]: nginx.service: Failed with result 'exit-code'.",
           "Error"},
          {"May 17 12:00:01 web1 sshd[812]: Failed password for root from 10.0.0.1 port 22",
           "Error"},
          {"May 17 12:00:01 web1 CRON[77]: pam_unix(cron:session): mount failed", "Error"},
          {"<3>usb 1-1: device descriptor read/64, error -71", "Error"},
          {"May 17 12:00:02 web1 dbus-daemon[1]: Warning: unknown setting", "Warning"},
          {"<4>hub 1-0:1.0: over-current condition", "Warning"},
          {"May 17 12:00:03 web1 kernel: Kernel panic - not syncing: Fatal exception", "Critical"},
          {"May 17 12:00:03 web1 kernel: Oops: 0002 [#1] SMP PTI", "Critical"},
          {"May 17 12:00:03 web1 kernel: app[4242]: segfault at 0 ip 00007f sp 00007ffd error 4 in "
           "libc.so.6",
           "Critical"},
          {"May 17 12:00:03 web1 sshd[9]: fatal: Timeout before authentication for 10.0.0.2",
           "Critical"},
          {"<2>md/raid1:md0: Disk failure on sda1", "Critical"},
          {"Dec 10 09:12:01 web1 systemd[1]: shop.service: Main process exited, code=exited, "
           "status=1/FAILURE",
           "Error"},
          {"Dec 10 09:12:01 web1 kernel: EXT4-fs error (device sda1): ext4_find_entry:1455: inode "
           "#2: comm ls: reading directory lblock 0",
           "Error"},
          {"Dec 10 09:12:01 web1 smartd[644]: Device: /dev/sda [SAT], 8 Currently unreadable "
           "(pending) sectors",
           "Error"},
          {"Dec 10 09:12:01 web1 kernel: EXT4-fs warning (device sda1): ext4_dx_add_entry:2352: "
           "Directory index full!",
           "Warning"},
          {"Dec 10 09:12:01 web1 kernel: WARNING: CPU: 2 PID: 311 at net/core/dev.c:4660 "
           "netif_rx+0x1a/0x30",
           "Warning"},
          {"Dec 10 09:12:01 web1 smartd[644]: Device: /dev/sda [SAT], 2 Offline uncorrectable "
           "sectors",
           "Error"},
          {"Dec 10 09:12:01 web1 kernel: Out of memory: Killed process 4711 (java) "
           "total-vm:8123456kB",
           "Critical"},
          {"Dec 10 09:12:01 web1 kernel: Memory cgroup out of memory: Killed process 912 (node)",
           "Critical"},
          {"Dec 10 09:12:01 web1 kernel: kernel BUG at mm/slub.c:3012!", "Critical"},
          {"Dec 10 09:12:01 web1 systemd[1]: shop.service: Main process exited, code=exited, "
           "status=0/SUCCESS",
           "-"},
          {"May 17 12:00:04 web1 backup[5]: done, 0 errors", "-"},
          {"May 17 12:00:04 web1 backup[5]: error_count=0", "-"},
          {"May 17 12:00:04 web1 tests[5]: 12 passed, 0 failed", "-"},
          {"May 17 12:00:04 web1 app[5]: DEBUG: flushing", "-"},
          {"May 17 12:00:04 web1 systemd[1]: Started Daily apt upgrade and clean activities.", "-"},
          {"2024-05-17 12:00:04 status installed libc6:amd64 2.36-9", "-"},
          {"<6>usb 1-1: new high-speed USB device number 2", "-"},
          {"May 17 12:00:04 web1 kernel: ERST: Error Record Serialization Table (ERST) support",
           "-"},
      });
}

TEST(PresetsTest, Web) {
  ExpectClassified(
      "web",
      {
          {"2024/05/17 12:00:01 [error] 1234#1234: *5 open() \"/srv/www/x\" failed (2: No such "
           "file or directory)",
           "Error"},
          {"[Fri May 17 12:00:01.123456 2024] [core:error] [pid 1234] [client 10.0.0.1:5678] "
           "AH00126: Invalid URI in request",
           "Error"},
          {"[Fri May 17 12:00:01 2024] [error] [client 10.0.0.1] File does not exist: /var/www/x",
           "Error"},
          {"10.0.0.1 - - [17/May/2024:12:00:01 +0200] \"GET /api HTTP/1.1\" 500 1234 \"-\" "
           "\"curl/8.0\"",
           "Error"},
          {"10.0.0.1 - - [17/May/2024:12:00:01 +0200] \"POST /upload HTTP/2.0\" 503 - \"-\" \"-\"",
           "Error"},
          {"2024/05/17 12:00:02 [warn] 1234#1234: *7 an upstream response is buffered", "Warning"},
          {"[Fri May 17 12:00:02.000000 2024] [ssl:warn] [pid 1234] AH01909: certificate mismatch",
           "Warning"},
          {"10.0.0.1 - - [17/May/2024:12:00:02 +0200] \"GET /missing HTTP/1.1\" 404 153 \"-\" "
           "\"Mozilla/5.0\"",
           "Warning"},
          {"10.0.0.2 - bob [17/May/2024:12:00:02 +0200] \"GET /admin HTTP/1.1\" 403 9", "Warning"},
          {"10.0.0.3 - - [17/May/2024:12:00:02 +0200] \"\\x16\\x03\\x01\" 400 157 \"-\" \"-\"",
           "Warning"},
          {"2024/05/17 12:00:03 [crit] 1234#1234: *9 SSL_do_handshake() failed", "Critical"},
          {"2024/05/17 12:00:03 [alert] 1234#1234: worker process 99 exited on signal 11",
           "Critical"},
          {"2024/05/17 12:00:03 [emerg] 1234#1234: bind() to 0.0.0.0:80 failed (98: Address in "
           "use)",
           "Critical"},
          {"[Fri May 17 12:00:03.000000 2024] [mpm_event:emerg] [pid 1] AH00020: no listening",
           "Critical"},
          {"10.0.0.1 - - [17/May/2024:12:00:04 +0200] \"GET /index.html HTTP/1.1\" 200 4500 \"-\" "
           "\"Mozilla/5.0\"",
           "-"},
          {"10.0.0.1 - - [17/May/2024:12:00:04 +0200] \"GET /img HTTP/1.1\" 200 500 \"-\" \"-\"",
           "-"},
          {"10.0.0.1 - - [17/May/2024:12:00:04 +0200] \"GET /status?error_count=0 HTTP/1.1\" 304 "
           "0",
           "-"},
          {"10.0.0.1 - - [17/May/2024:12:00:04 +0200] \"GET /reports/0-errors HTTP/1.1\" 200 12",
           "-"},
          {"10.0.0.1 - - [17/May/2024:12:00:04 +0200] \"GET /x?code=500 HTTP/1.1\" 301 0", "-"},
          {"2024/05/17 12:00:04 [notice] 1234#1234: signal process started", "-"},
          {"[Fri May 17 12:00:04.000000 2024] [mpm_event:notice] [pid 1] AH00489: resuming", "-"},
          {"2024/05/17 12:00:04 [info] 1234#1234: *11 client closed keepalive connection", "-"},
      });
}

TEST(PresetsTest, Windows) {
  ExpectClassified(
      "windows",
      {
          {"2024-05-17 12:00:01, Error                 CBS    Failed to resolve package "
           "[HRESULT = 0x800f081f - CBS_E_SOURCE_MISSING]",
           "Error"},
          {"2024-05-17 12:00:01, Error                 DISM   DISM Package Manager: PID=1234 "
           "Failed finalizing changes. - CDISMPackageManager::Internal (hr:0x800f0922)",
           "Error"},
          {"!!!  dvi: Device not started: Device has problem: 0x0a (CM_PROB_FAILED_START).",
           "Error"},
          {"Action ended 12:00:01: InstallFinalize. Return value 3.", "Error"},
          {"MSI (s) (C8:44) [12:00:01:789]: Product: Foo -- Error 1722. There is a problem with "
           "this Windows Installer package.",
           "Error"},
          {"2024-05-17 12:00:02, Warning               CBS    Unrecognized packageExtended "
           "attribute.",
           "Warning"},
          {"!    dvi: Driver package is not signed.", "Warning"},
          {"MSI (s) (C8:44) [12:00:02:000]: Product: Foo -- Warning 1946. Property "
           "'System.AppUserModel.ID' could not be set.",
           "Warning"},
          {"2024-05-17\t12:00:02:123\t 988\t1234\tAgent\tWARNING: Failed to evaluate Installed "
           "rule",
           "Warning"},
          {"MSI (s) (C8:44) [12:00:03:000]: Product: Foo -- Installation failed.", "Failure"},
          {"MSI (s) (C8:44) [12:00:03:000]: Windows Installer installed the product. Product "
           "Name: Foo. Installation success or error status: 1603.",
           "Failure"},
          {"2024-05-17\t12:00:03:123\t 988\t1234\tAgent\tFATAL: Failed to initialize", "Failure"},
          {"MSI (s) (C8:44) [12:00:04:000]: Windows Installer installed the product. Product "
           "Name: Foo. Installation success or error status: 0.",
           "-"},
          {"Action ended 12:00:04: CostFinalize. Return value 1.", "-"},
          {"2024-05-17 12:00:04, Info                  CBS    Exec: 0 errors, error_count=0", "-"},
          {"2024-05-17 12:00:04, Info                  CSI    00000001@2024/5/17:12:00:04 Error "
           "text mentioned only in the message",
           "-"},
          {"     dvi: {Select Best Driver}", "-"},
          {">>>  [Device Install (Hardware initiated) - USB\\VID_046D]", "-"},
          {"MSI (c) (0C:10) [12:00:04:000]: Note: 1: 2205 2:  3: Error", "-"},
          {"=== Logging started: 17/05/2024  12:00:00 ===", "-"},
      });
}

TEST(PresetsTest, ServersAndStructuredLogs) {
  ExpectClassified(
      "postgresql",
      {
          {"2026-12-10 09:14:22.317 UTC [2210] app@shop ERROR:  duplicate key value", "Error"},
          {"2026-12-10 09:15:03.880 UTC [2234] WARNING:  there is no transaction in progress",
           "Warning"},
          {"2026-12-10 09:16:40.006 UTC [2301] report@shop FATAL:  password authentication "
           "failed",
           "Fatal"},
          {"2026-12-10 09:16:41.000 UTC [1021] PANIC:  could not locate a valid checkpoint",
           "Fatal"},
          {"2026-12-10 09:14:22.317 UTC [2210] app@shop STATEMENT:  SELECT 'ERROR: x'", "-"},
          {"2026-12-10 09:17:00.000 UTC [1025] LOG:  checkpoint complete: 0 errors", "-"},
      });
  ExpectClassified(
      "mysql",
      {
          {"2026-12-10T09:31:45.771100Z 0 [ERROR] [MY-012592] [InnoDB] Operating system error",
           "Error"},
          {"2026-12-10  9:40:02 0 [Warning] You need to use --log-bin", "Warning"},
          {"2026-12-10  9:41:17 0 [Note] mysqld got signal 11 ;", "Crash"},
          {"InnoDB: Assertion failure in file fil0fil.cc line 1234", "Crash"},
          {"2026-12-10T09:12:01.412345Z 0 [System] [MY-010116] [Server] mysqld starting", "-"},
          {"2026-12-10  9:40:02 0 [Note] InnoDB: 0 errors, log_error_verbosity=3", "-"},
      });
  ExpectClassified("logfmt",
                   {
                       {"time=2026-12-10T09:14:22Z level=error msg=\"payment failed\"", "Error"},
                       {"t=2026-12-10T09:15:00+0000 lvl=eror msg=\"Failed to send\"", "Error"},
                       {"ts=2026 level=ERROR msg=x", "Error"},
                       {"time=2026 level=\"warning\" msg=slow", "Warning"},
                       {"t=2026 lvl=warn msg=slow", "Warning"},
                       {"time=2026 level=fatal msg=\"cannot open\"", "Critical"},
                       {"t=2026 lvl=crit msg=x", "Critical"},
                       {"time=2026 level=info msg=\"request served\" errors=0 error=\"\"", "-"},
                   });
  ExpectClassified(
      "json",
      {
          {"{\"time\":\"2026\",\"level\":\"error\",\"msg\":\"payment failed\"}", "Error"},
          {"{\"severity\":\"ERROR\",\"message\":\"Quota exceeded\"}", "Error"},
          {"{\"level\":50,\"time\":1765357262317,\"msg\":\"unhandled\"}", "Error"},
          {"{\"@timestamp\":\"2026\",\"log.level\": \"warn\",\"message\":\"disk\"}", "Warning"},
          {"{\"level\":40,\"msg\":\"slow\"}", "Warning"},
          {"{\"level\":\"fatal\",\"msg\":\"cannot open\"}", "Fatal"},
          {"{\"level\":60,\"msg\":\"died\"}", "Fatal"},
          {"{\"level\":\"info\",\"msg\":\"served\",\"errors\":0,\"error\":null}", "-"},
          {"{\"level\":30,\"msg\":\"level 50 reached\",\"status\":502}", "-"},
      });
}

TEST(PresetsTest, LevelLettersAndWords) {
  ExpectClassified(
      "glog",
      {
          {"E1210 09:14:22.317004    4733 store.cc:377] Shard 7: checksum mismatch", "Error"},
          {"W1210 09:13:17.551002    4733 rpc.cc:141] Deadline exceeded", "Warning"},
          {"F1210 09:17:30.900117    4711 store.cc:402] Check failed: shard", "Fatal"},
          {"*** Check failure stack trace: ***", "Fatal"},
          {"I1210 09:14:22.400001    4711 server.cc:120] 0 errors, E1210 W1210", "-"},
          {"Log line format: [IWEF]mmdd hh:mm:ss.uuuuuu threadid file:line] msg", "-"},
      });
  ExpectClassified(
      "monolog",
      {
          {"[2026-12-10 09:14:22] production.ERROR: SQLSTATE[40001]: Serialization failure",
           "Error"},
          {"[2026-12-10 09:13:17] local.WARNING: Slow query detected", "Warning"},
          {"[2026-12-10 09:17:30] production.CRITICAL: Payment gateway unreachable", "Critical"},
          {"[2026-12-10T09:18:00.123456+00:00] app.EMERGENCY: Disk full", "Critical"},
          {"PHP Fatal error:  Uncaught Error: Call to undefined function foo()", "Critical"},
          {"[2026-12-10 09:15:00] production.INFO: Processed 120 jobs, 0 errors, ERROR: none", "-"},
      });
  ExpectClassified(
      "generic",
      {
          {"2026-12-10 09:14:22.317 | ERROR    | shop.orders:submit:207 - rejected", "Error"},
          {"2026-12-10 09:15:00 err   rsync: connection unexpectedly closed", "Error"},
          {"[2026-12-10 09:15:00] [ERR] disk", "Error"},
          {"2026-12-10 09:13:17 WARN  backup: file changed while reading", "Warning"},
          {"2026-12-10 09:13:17 [warning] backup: slow", "Warning"},
          {"2026-12-10 09:17:30 FATAL backup: target volume not mounted", "Fatal"},
          {"2026-12-10 09:17:30.900 | CRITICAL | shop.worker:run:77 - Database unreachable",
           "Fatal"},
          {"2026-12-10 09:14:22 INFO  backup: 0 errors, ERRORS=0, error_rate=0.0, Errno 0", "-"},
          {"2026-12-10 09:14:22 INFO  backup: interrupted by WARNINGS_AS_ERRORS", "-"},
      });
}

}  // namespace
}  // namespace brontel::app
