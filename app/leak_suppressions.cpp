// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into every program of a sanitizer build. Some system libraries the toolkit loads keep
// allocations for the life of the process on purpose; LeakSanitizer would report them at exit.
// GTK, started by Qt's GTK platform theme (a GNOME desktop's style), is one of them; GLib has no
// frame pointers, so its stacks reach the theme only when unwound in full
// (ASAN_OPTIONS=fast_unwind_on_malloc=0).
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n"
           "leak:libfontconfig.so\n"
           "leak:libqgtk3.so\n";
}
