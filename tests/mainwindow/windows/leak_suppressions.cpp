// The system font library keeps its caches until the process ends; the leak
// checker of sanitized test runs is told so here, so that every way of running
// the window tests (ctest, the test binary itself) sees only our own leaks.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}
