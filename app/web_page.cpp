// SPDX-License-Identifier: GPL-3.0-or-later
// The game's window as a web page. Built into the WebAssembly programs alone (app/CMakeLists.txt),
// it sets itself up as the toolkit starts: the window takes the whole page, which takes the
// window's title; the text is laid out in Liberation Sans, compiled in, wherever Arial is asked
// for (its metrics are Arial's), as Debian's font configuration does on Linux; and once the game
// ends, the program ends too, for the page (dist/web/index.html) to say so.
#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QFontDatabase>
#include <QWidget>

#include <emscripten.h>
#include <emscripten/val.h>

namespace {

class WebPage : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Show:
            if (auto* window = qobject_cast<QWidget*>(watched);
                window && window->windowType() == Qt::Window)
                window->setWindowState(window->windowState() | Qt::WindowFullScreen);
            break;
        case QEvent::WindowTitleChange:
            if (auto* window = qobject_cast<QWidget*>(watched); window && window->isWindow())
                emscripten::val::global("document")
                    .set("title", window->windowTitle().toStdString());
            break;
        case QEvent::Quit:
            // The event loop never returns here, and the toolkit is not torn down: the runtime
            // ends once the event has been handled, outside any of the toolkit's calls.
            if (watched == qApp)
                emscripten_async_call([](void*) { emscripten_force_exit(0); }, nullptr, 0);
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }
};

void startPage() {
    for (const char* face :
         {":/fonts/LiberationSans-Regular.ttf", ":/fonts/LiberationSans-Bold.ttf"})
        QFontDatabase::addApplicationFont(QString::fromLatin1(face));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    qApp->installEventFilter(new WebPage(qApp));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startPage)
