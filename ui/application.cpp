// SPDX-License-Identifier: GPL-3.0-or-later
#include "application.h"

#include <QApplication>
#include <QClipboard>
#include <QStyleFactory>

#include <cstdio>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#define TAVLO_LEAK_CHECK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(leak_sanitizer)
#define TAVLO_LEAK_CHECK 1
#endif
#endif
#ifdef TAVLO_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

namespace tavlo::ui {

namespace {

QtMessageHandler previousHandler = nullptr;

void startupMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        std::fputs("tavlo: cannot open the game window: no usable display "
                   "(is DISPLAY set and the X server running?)\n",
                   stderr);
        std::_Exit(EXIT_FAILURE);
    }
    // The platform plugin's own complaints about the display would only repeat that line.
    if (context.category && QByteArrayView(context.category).startsWith("qt.qpa"))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

// On X11 the toolkit, as it shuts down, gives text copied or selected in the name boxes to the
// desktop's clipboard manager, so that it can still be pasted once the game has gone.
bool clipboardToHandOver() {
    if (QGuiApplication::platformName() != u"xcb")
        return false;
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard->ownsClipboard() || clipboard->ownsSelection();
}

} // namespace

DisplayGuard::DisplayGuard() {
    previousHandler = qInstallMessageHandler(startupMessage);
}

DisplayGuard::~DisplayGuard() {
    qInstallMessageHandler(previousHandler);
}

void prepareApplication(QApplication& application) {
    application.setApplicationName(QStringLiteral("tavlo"));
    application.setApplicationVersion(QStringLiteral(TAVLO_VERSION));
    application.setDesktopFileName(QStringLiteral("io.github.tavlo.Tavlo"));
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}

// The game keeps nothing: no settings, no saved game. Once its window has closed, tearing the
// toolkit down achieves nothing, and on Wayland it can hang the program for good after the window
// has gone. Qt 6.4's Wayland plugin reads the connection in two threads of its own: the first
// reads for the main thread, which announces each of those reads (wl_display_prepare_read); the
// second announces and reads for itself. When the main thread announces a read just as the
// toolkit stops, the first thread may quit without reading or withdrawing it
// (wl_display_cancel_read). The next event from the compositor then takes the second thread into
// wl_display_read_events, where it waits for that reader forever, and the main thread waits for
// the second thread. So the program ends here, with its output flushed and, in a sanitizer build,
// its leaks checked while everything it still uses is in reach.
int endAfterEventLoop(int status) {
    if (clipboardToHandOver())
        return status;
    std::fflush(nullptr);
#ifdef TAVLO_LEAK_CHECK
    __lsan_do_leak_check();
#endif
    std::_Exit(status);
}

} // namespace tavlo::ui
