// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into every program of a sanitizer build. Some system libraries the toolkit loads keep
// allocations for the life of the process on purpose; LeakSanitizer would report them at exit.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n"
           "leak:libfontconfig.so\n";
}
