// The cost of each message-type preset: CountLine over a million lines of the preset's format,
// once with the preset and once with the built-in types on the same lines, so that the two
// figures can be set side by side. With the default million lines the time in milliseconds is
// also the cost in nanoseconds per line. BM_ChooseTypes: what a viewer's own choice of the
// preset costs per file.
//
// About one line in twenty-five is one that a preset type claims; the rest are ordinary lines
// of the format. BRONTEL_BENCH_LINES sets the number of lines (default 1 000 000).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "apps/brontel/TypePresets.h"
#include "classify/LineClassifier.h"
#include "classify/MsgTypeLoader.h"

namespace brontel::app {
namespace {

// Stands in for a settings file without message types: the built-in types.
class NoTypesStore : public TypesFileStore {
 public:
  NoTypesStore() : TypesFileStore("") {}
  std::string ReadPathString(const std::vector<std::string>&,
                             const std::string& defaultValue) override {
    return defaultValue;
  }
};

struct Format {
  std::vector<std::string> ordinary;  // most lines of a log, with a serial number added
  std::vector<std::string> marked;    // lines that the preset's types claim
};

const std::map<std::string, Format>& Formats() {
  static const std::map<std::string, Format> formats = {
      {"log4j",
       {{"2024-05-17 12:00:01,123 INFO  [http-nio-8080-exec-3] c.e.web.RequestLogger - GET "
         "/api/items served in 12 ms, user 4711, session ",
         "2024-05-17 12:00:01,125 DEBUG [pool-2-thread-1] o.h.SQL - select i.id, i.name from "
         "item i where i.owner=? row ",
         "\tat com.example.service.ItemService.load(ItemService.java:87) frame "},
        {"2024-05-17 12:00:01,130 ERROR [main] com.example.App - Connection refused ",
         "2024-05-17 12:00:01,131 WARN  [main] c.e.Cache - eviction slow ",
         "2024-05-17 12:00:01,132 FATAL [main] com.example.App - cannot continue "}}},
      {"python",
       {{"2024-05-17 12:00:01,123 - app.http - INFO - GET /api/items 200 in 12 ms for user ",
         "DEBUG:urllib3.connectionpool:https://api.example.com:443 \"GET /v1/x HTTP/1.1\" 200 ",
         "  File \"/srv/app/handlers/items.py\", line 87, in load frame "},
        {"2024-05-17 12:00:01,130 - app.db - ERROR - connection lost ", "ValueError: bad value ",
         "WARNING:root:disk usage at 91% ", "CRITICAL:root:out of file descriptors "}}},
      {"syslog",
       {{"May 17 12:00:01 web1 systemd[1]: Started session 4711 of user www-data for cron job ",
         "May 17 12:00:01 web1 kernel: [12345.678901] IPv4: martian source 10.0.0.255 from "
         "10.0.0.17, on dev eth0 packet ",
         "May 17 12:00:01 web1 CRON[4242]: (root) CMD (command -v debian-sa1 > /dev/null && "
         "debian-sa1 1 1) run "},
        {"May 17 12:00:01 web1 sshd[812]: error: kex_exchange_identification: read ",
         "May 17 12:00:01 web1 systemd[1]: Failed to start nginx.service ",
         "May 17 12:00:01 web1 dbus-daemon[1]: Warning: unknown setting ",
         "May 17 12:00:01 web1 kernel: app[4242]: segfault at 0 ip 00007f error 4 "}}},
      {"web",
       {{"10.0.0.17 - - [17/May/2024:12:00:01 +0200] \"GET /static/app.js HTTP/1.1\" 200 48213 "
         "\"https://example.com/\" \"Mozilla/5.0 (X11; Linux x86_64) Firefox/125.0\" #",
         "10.0.0.18 - - [17/May/2024:12:00:01 +0200] \"POST /api/items HTTP/2.0\" 201 312 \"-\" "
         "\"curl/8.0\" #",
         "2024/05/17 12:00:01 [notice] 1234#1234: signal process started #"},
        {"10.0.0.1 - - [17/May/2024:12:00:01 +0200] \"GET /api HTTP/1.1\" 500 1234 \"-\" \"-\" #",
         "10.0.0.1 - - [17/May/2024:12:00:01 +0200] \"GET /x HTTP/1.1\" 404 153 \"-\" \"-\" #",
         "2024/05/17 12:00:01 [error] 1234#1234: *5 open() failed #",
         "2024/05/17 12:00:01 [crit] 1234#1234: *9 SSL_do_handshake() failed #"}}},
      {"windows",
       {{"2024-05-17 12:00:01, Info                  CBS    Exec: Processing complete, session: "
         "31109416_4063186720, package: Package_for_RollupFix ",
         "2024-05-17 12:00:01, Info                  CSI    00000123 Performing 1 operations as "
         "follows: (0) LockComponentPath ",
         "MSI (s) (C8:44) [12:00:01:789]: Doing action: CostFinalize run "},
        {"2024-05-17 12:00:01, Error                 CBS    Failed to resolve package ",
         "2024-05-17 12:00:01, Warning               CBS    Unrecognized attribute ",
         "Action ended 12:00:01: InstallFinalize. Return value 3. ",
         "MSI (s) (C8:44) [12:00:03:000]: Product: Foo -- Installation failed. "}}},
      {"postgresql",
       {{"2026-12-10 09:12:01.101 UTC [1021] LOG:  duration: 0.412 ms  statement: SELECT id, "
         "name FROM items WHERE owner = 4711 row ",
         "2026-12-10 09:12:01.102 UTC [2210] app@shop LOG:  connection authorized: user=app "
         "database=shop application_name=web ",
         "2026-12-10 09:12:01.103 UTC [2210] app@shop DETAIL:  Key (id)=(4711) already exists "},
        {"2026-12-10 09:12:01.110 UTC [2210] app@shop ERROR:  duplicate key value ",
         "2026-12-10 09:12:01.111 UTC [2234] app@shop WARNING:  there is no transaction ",
         "2026-12-10 09:12:01.112 UTC [2301] report@shop FATAL:  password authentication "}}},
      {"mysql",
       {{"2026-12-10T09:12:01.412345Z 0 [Note] [MY-010914] [Server] Aborted connection 4711 to "
         "db: 'shop' user: 'app' host: '10.0.0.17' (Got an error reading communication packets) ",
         "2026-12-10T09:12:01.433001Z 1 [System] [MY-013576] [InnoDB] InnoDB initialization has "
         "started, buffer pool ",
         "2026-12-10  9:40:02 0 [Note] InnoDB: Buffer pool(s) load completed at 261210  9:41:17 "},
        {"2026-12-10T09:31:45.771100Z 0 [ERROR] [MY-012592] [InnoDB] Operating system error ",
         "2026-12-10T09:12:02.391002Z 0 [Warning] [MY-010068] [Server] CA certificate ",
         "261210  9:41:17 mysqld got signal 11 ;"}}},
      {"logfmt",
       {{"time=2026-12-10T09:12:01.101Z level=info msg=\"request served\" method=GET "
         "path=/api/items status=200 duration=12ms user=",
         "ts=2026-12-10T09:16:00.000Z caller=main.go:412 level=debug component=tsdb "
         "msg=\"compaction done\" blocks=",
         "t=2026-12-10T09:15:01+0000 lvl=info msg=\"Alert rule evaluated\" logger=alerting id="},
        {"time=2026-12-10T09:14:22.317Z level=error msg=\"payment failed\" attempt=",
         "time=2026-12-10T09:13:17.551Z level=warn msg=\"slow request\" id=",
         "time=2026-12-10T09:17:30.900Z level=fatal msg=\"cannot open\" id="}}},
      {"json",
       {{"{\"time\":\"2026-12-10T09:12:01.101Z\",\"level\":\"info\",\"msg\":\"request "
         "served\",\"method\":\"GET\",\"path\":\"/api/items\",\"status\":200,\"id\":",
         "{\"level\":30,\"time\":1765357262400,\"pid\":4711,\"hostname\":\"web1\",\"msg\":"
         "\"GET /health 200\",\"id\":",
         "{\"@timestamp\":\"2026-12-10T09:15:00.000Z\",\"log.level\":\"debug\",\"message\":"
         "\"cache warmed\",\"id\":"},
        {"{\"time\":\"2026-12-10T09:14:22.317Z\",\"level\":\"error\",\"msg\":\"failed\",\"id\":",
         "{\"level\":40,\"msg\":\"slow\",\"id\":",
         "{\"level\":\"fatal\",\"msg\":\"cannot open\",\"id\":"}}},
      {"glog",
       {{"I1210 09:12:01.101234    4711 server.cc:88] Served GET /api/items in 12 ms for user ",
         "I1210 09:12:01.205511    4711 store.cc:210] Compacted shard 7 with 12 files, run ",
         "    @     0x55d6a1c2f3a4  kv::Store::Compact() frame "},
        {"E1210 09:14:22.317004    4733 store.cc:377] Shard 7: checksum mismatch ",
         "W1210 09:13:17.551002    4733 rpc.cc:141] Deadline exceeded ",
         "F1210 09:17:30.900117    4711 store.cc:402] Check failed: shard != nullptr "}}},
      {"monolog",
       {{"[2026-12-10 09:12:01] production.INFO: Request served {\"method\":\"GET\",\"path\":"
         "\"/api/items\",\"status\":200,\"user\":",
         "[2026-12-10 09:12:05] production.DEBUG: Cache hit for key settings.site [] [] run ",
         "#0 /var/www/shop/vendor/laravel/framework/src/Illuminate/Database/Connection.php(776): "
         "frame "},
        {"[2026-12-10 09:14:22] production.ERROR: SQLSTATE[40001]: Serialization failure ",
         "[2026-12-10 09:13:17] production.WARNING: Slow query detected ",
         "[2026-12-10 09:17:30] production.CRITICAL: Payment gateway unreachable "}}},
      {"generic",
       {{"2026-12-10 09:12:01.101 | INFO     | shop.worker:run:42 - Request served for user "
         "4711 in 12 ms, session ",
         "2026-12-10 09:12:01.220 | DEBUG    | shop.db:connect:88 - Connected to "
         "postgresql://db1/shop pool ",
         "2026-12-10 09:15:00.000 | SUCCESS  | shop.jobs:nightly:55 - Nightly report sent run "},
        {"2026-12-10 09:14:22.317 | ERROR    | shop.orders:submit:207 - Order rejected ",
         "2026-12-10 09:13:17.551 | WARNING  | shop.http:fetch:131 - Slow answer ",
         "2026-12-10 09:17:30.900 | CRITICAL | shop.worker:run:77 - Database unreachable "}}},
  };
  return formats;
}

std::size_t BenchLines() {
  const char* text = std::getenv("BRONTEL_BENCH_LINES");
  return text != nullptr ? std::strtoul(text, nullptr, 10) : 1000000;
}

std::vector<std::string> MakeLines(const Format& format, std::size_t count) {
  std::mt19937 random(12345);
  std::vector<std::string> lines;
  lines.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const bool marked = random() % 25 == 0;
    const std::vector<std::string>& pool = marked ? format.marked : format.ordinary;
    lines.push_back(pool[random() % pool.size()] + std::to_string(random() % 100000));
  }
  return lines;
}

void CountLines(benchmark::State& state, const std::string& preset, bool builtin) {
  const std::vector<std::string> lines = MakeLines(Formats().at(preset), BenchLines());
  TypesFileStore presetStore(std::string(BRONTEL_TYPES_DIR) + "/" + preset + ".ini");
  NoTypesStore builtinStore;
  LineClassifier classifier(builtin ? static_cast<ExtManager&>(builtinStore) : presetStore);
  classifier.LoadMsgTypes();
  std::int64_t counted = 0;
  for (auto _ : state) {
    classifier.ResetMsgTypeCounts();
    for (const std::string& line : lines)
      counted += classifier.CountLine(line) ? 1 : 0;
  }
  benchmark::DoNotOptimize(counted);
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
  state.SetLabel(std::to_string(lines.size()) + " " + preset + " lines, " +
                 (builtin ? "built-in types" : preset + " types"));
}

// The choice a viewer makes when it loads its types: the store asked, the file's first 64 KB
// read and looked at, the chosen preset compiled. The file is named app.log, so that the name
// says nothing and the lines decide.
void ChooseTypes(benchmark::State& state, const std::string& preset) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("brontel-choice-" + preset) / "app.log";
  std::filesystem::create_directories(path.parent_path());
  {
    std::ofstream out(path, std::ios::binary);
    for (const std::string& line : MakeLines(Formats().at(preset), 20000))
      out << line << '\n';
  }
  NoTypesStore store;
  std::string chosen;
  for (auto _ : state) {
    LineClassifier classifier(store);
    classifier.SetFilePath(path.string());
    chosen = classifier.ChosenPreset();
    benchmark::DoNotOptimize(chosen.data());
  }
  std::filesystem::remove_all(path.parent_path());
  state.SetLabel("chose " + (chosen.empty() ? std::string("the built-in types") : chosen));
  if (chosen != preset)
    state.SkipWithError(("chose " + chosen + " for a " + preset + " log").c_str());
}

void RegisterAll() {
  for (const auto& [name, format] : Formats()) {
    for (const bool builtin : {true, false}) {
      const std::string title = "BM_CountLine/" + name + (builtin ? "/builtin" : "/preset");
      benchmark::RegisterBenchmark(title.c_str(), [name = name, builtin](benchmark::State& state) {
        CountLines(state, name, builtin);
      })->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark(("BM_ChooseTypes/" + name).c_str(), [name = name](
                                                                         benchmark::State& state) {
      ChooseTypes(state, name);
    })->Unit(benchmark::kMicrosecond);
  }
}

const int kRegistered = (RegisterAll(), 0);

}  // namespace
}  // namespace brontel::app
