// Fontconfig 2.14 keeps a few hundred bytes from its first initialisation
// unreachable for the life of the process; the sanitizer builds would report
// them as a leak of this program. Only that library's allocations are
// excused.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
