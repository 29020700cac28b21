// Leak checking of every test program. Process-long allocations that are
// not ours: fontconfig keeps its configuration for the life of the process,
// and the Qt application object of a test program is never torn down, so
// what its start-up allocates would be reported at exit.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:QApplicationPrivate::initialize\n"
         "leak:QColormap::initialize\n";
}
