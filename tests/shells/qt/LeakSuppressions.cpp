// Memory that the system libraries under the widget tests keep to the end of the process
// (fontconfig's caches, the offscreen platform's screen) is no leak of ours.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:libqoffscreen.so\n";
}
