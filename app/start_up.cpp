// SPDX-License-Identifier: GPL-3.0-or-later
#include "start_up.h"

#include "ui/look.h"

#include <QApplication>
#include <QList>
#include <QRegularExpression>

#include <cstdio>
#include <cstdlib>

#ifdef __GLIBC__
#include <malloc.h>
#endif
// Set by the build when TAVLO_SANITIZE is on (app/CMakeLists.txt).
#ifdef TAVLO_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

namespace tavlo::app {

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

// While the toolkit starts: Qt's last word on a display it could not open is replaced by ours.
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

int run(int& argc, char** argv, const std::function<int(QApplication&)>& play) {
#ifdef __GLIBC__
    // The pictures are decoded, and the board painted, in buffers of up to a few megabytes that
    // are needed once. glibc raises its threshold for mapping memory past the largest block
    // freed so far and keeps smaller ones in its heaps, a thread's heap for good: a fixed
    // threshold maps each and gives it back as soon as it is freed.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
    previousHandler = qInstallMessageHandler(startupMessage);
    QApplication application(argc, argv);
    qInstallMessageHandler(previousHandler);
    application.setApplicationName(QStringLiteral("tavlo"));
    application.setApplicationVersion(QStringLiteral(TAVLO_VERSION));
    application.setDesktopFileName(QStringLiteral("io.github.tavlo.Tavlo"));
    ui::applyLook(application);

    const int status = play(application);
#ifdef TAVLO_LEAK_CHECK
    __lsan_do_leak_check();
#endif
    // The game keeps nothing, so tearing the toolkit down once the window has closed achieves
    // nothing, and on Wayland Qt 6.4's plugin can hang in it for good, its two reader threads
    // waiting for each other: there the program ends at once, its output flushed. Elsewhere the
    // toolkit shuts down as usual; on X11 it then hands text copied from the name boxes to the
    // desktop's clipboard manager, so that it can still be pasted once the game has gone.
    if (QGuiApplication::platformName().startsWith(u"wayland")) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}

} // namespace tavlo::app
