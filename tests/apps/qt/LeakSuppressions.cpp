// What LeakSanitizer is not to report in the Qt test programs: fontconfig's caches and the
// offscreen platform's screen, which the system libraries keep to the end of the process.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:libqoffscreen.so\n";
}
