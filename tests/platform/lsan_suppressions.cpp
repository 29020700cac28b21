// Leak checking of the platform tests: fontconfig keeps its configuration
// for the life of the process (the Qt application object is never torn
// down in tests), which the leak checker would report at exit.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
