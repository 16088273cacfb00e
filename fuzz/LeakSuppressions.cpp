// Leaks the leak checker should not report, built into every fuzz target so that a session started by
// hand needs no LSAN_OPTIONS; the tests' list in tests/sanitizers/lsan.supp gives the reasons. Of its
// libraries, only fontconfig is loaded here (through pango and cairo).

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
