// The element tests draw text, so fontconfig's one-time allocation (kept
// unreachable for the life of the process) shows up in sanitizer builds as
// it does for the raster tests; only that library's allocations are excused.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
