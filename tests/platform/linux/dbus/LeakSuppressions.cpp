// The D-Bus libraries keep connection buffers and Qt's per-connection messages to the end of
// the process: not ours to report when the run is checked for leaks. LeakSanitizer reads this
// list at start; without the sanitizer nothing calls it.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\nleak:libQt6DBus.so\n";
}
