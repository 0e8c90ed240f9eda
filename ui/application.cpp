// SPDX-License-Identifier: GPL-3.0-or-later
#include "application.h"

#include <QApplication>
#include <QStyleFactory>

#include <cstdio>
#include <cstdlib>

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

} // namespace tavlo::ui
