// Linked into every test program: the leak checker of sanitised builds reads this at exit.
// Fontconfig keeps what it allocates while parsing its configuration for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
