// SPDX-License-Identifier: GPL-3.0-or-later
// What a Windows screen reader first does with a window, and all that Qt waits for before it
// passes the window's accessibility events on to UI Automation: it asks the window for its UI
// Automation provider. Under Wine, which has no screen reader, this stands in for one, so that the
// notifications the program then raises show in Wine's trace of UI Automation.
// Usage: ui_automation_client.exe <the window's title>

// windows.h first: the UI Automation headers build on its types.
#include <windows.h>

#include <uiautomation.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: ui_automation_client <the window's title>\n", stderr);
        return 2;
    }
    HWND window = FindWindowA(nullptr, argv[1]);
    if (!window) {
        std::fprintf(stderr, "no window is titled \"%s\"\n", argv[1]);
        return 1;
    }
    DWORD_PTR provider = 0;
    if (!SendMessageTimeoutW(window, WM_GETOBJECT, 0, UiaRootObjectId, SMTO_ABORTIFHUNG, 10000,
                             &provider) ||
        !provider) {
        std::fputs("the window gave no UI Automation provider\n", stderr);
        return 1;
    }
    return 0;
}
