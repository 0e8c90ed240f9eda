// SPDX-License-Identifier: GPL-3.0-or-later
#include "application.h"

#include <QApplication>
#include <QFont>
#include <QList>
#include <QRegularExpression>
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

// A platform Qt tried to start the window on, and whether it found that platform's plugin.
struct Attempt {
    QString platform;
    bool pluginFound;
};
QList<Attempt> attempts;

// Qt reports each platform it could not start, in the order it tried them: "Could not find the Qt
// platform plugin "wayland" in ..." or "Could not load the Qt platform plugin "xcb" in ... even
// though it was found."
void noteAttempt(const QString& message) {
    static const QRegularExpression pattern(
        QStringLiteral(R"re(^Could not (find|load) the Qt platform plugin "([^"]*)")re"));
    if (const QRegularExpressionMatch match = pattern.match(message); match.hasMatch())
        attempts.append({match.captured(2), match.captured(1) == u"load"});
}

// Which display the attempt was for and what it lacked.
QByteArray explain(const Attempt& attempt) {
    if (attempt.platform.startsWith(u"wayland")) {
        const QByteArray name = qgetenv("WAYLAND_DISPLAY");
        // Without a name, the Wayland library tries its default.
        const QByteArray display = name.isEmpty() ? "wayland-0 (WAYLAND_DISPLAY is not set)" : name;
        if (!attempt.pluginFound)
            return "on Wayland display " + display +
                   ": Qt's Wayland platform plugin is not installed (Debian package qt6-wayland)";
        return "on Wayland display " + display + ": no Wayland compositor answers there";
    }
    if (attempt.platform == u"xcb") {
        const QByteArray display = qgetenv("DISPLAY");
        if (!attempt.pluginFound)
            return "on X11: Qt's X11 platform plugin is not installed (Debian package libqt6gui6)";
        if (display.isEmpty())
            return "on X11: DISPLAY is not set";
        return "on X11 display " + display + ": no X server accepts a connection there";
    }
    return "on platform " + attempt.platform.toLocal8Bit() +
           (attempt.pluginFound ? ": it could not start" : ": its Qt plugin is not installed");
}

void startupMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        // Qt's own last word suggests reinstalling the program and lists every plugin it has;
        // what helps is which display was tried and what it lacked, after the warnings Qt gave.
        if (attempts.isEmpty())
            std::fprintf(stderr, "%s\ntavlo: cannot open the game window\n", qPrintable(message));
        for (const Attempt& attempt : std::as_const(attempts))
            std::fprintf(stderr, "tavlo: cannot open the game window %s\n",
                         explain(attempt).constData());
        std::_Exit(EXIT_FAILURE);
    }
    if (context.category && QByteArrayView(context.category) == "qt.qpa.plugin")
        noteAttempt(message);
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

DisplayGuard::DisplayGuard() {
    attempts.clear();
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
    // The window's own font, from the start: a text box lays out its text in the application's
    // font before it takes the one set for it, and the desktop's would be loaded for that alone.
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(8.25);
    application.setFont(arial);
}

void checkLeaksWhileToolkitStands() {
#ifdef TAVLO_LEAK_CHECK
    __lsan_do_leak_check();
#endif
}

// The game keeps nothing: no settings, no saved game. Once its window has closed, tearing the
// toolkit down achieves nothing, and on Wayland it can hang the program for good after the window
// has gone. Qt 6.4's Wayland plugin reads the connection in two threads of its own: the first
// reads for the main thread, which announces each of those reads (wl_display_prepare_read); the
// second announces and reads for itself. When the main thread announces a read just as the
// toolkit stops, the first thread may quit without reading or withdrawing it
// (wl_display_cancel_read). The next event from the compositor then takes the second thread into
// wl_display_read_events, where it waits for that reader forever, and the main thread waits for
// the second thread. So on Wayland the program ends here, with its output flushed. Elsewhere the
// toolkit shuts down as usual: on X11 it then hands text copied or selected in the name boxes to
// the desktop's clipboard manager, so that it can still be pasted once the game has gone.
int exitNowWhereTeardownCanHang(int status) {
    if (!QGuiApplication::platformName().startsWith(u"wayland"))
        return status;
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace tavlo::ui
