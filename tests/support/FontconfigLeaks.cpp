// Fontconfig keeps a few hundred bytes from its start-up for the whole run
// and never frees them; the leak checker of sanitizer builds is told so.
// Test programs that reach fontconfig list this file among their sources.

extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
