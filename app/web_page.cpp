// SPDX-License-Identifier: GPL-3.0-or-later
// The game's window as a web page. Built into the WebAssembly programs alone (app/CMakeLists.txt),
// it sets itself up as the toolkit starts: the window takes the whole page, which takes the
// window's title; the text is laid out in Liberation Sans, compiled in, wherever Arial is asked
// for (its metrics are Arial's), as Debian's font configuration does on Linux; the game's news
// goes to the page's live region (dist/web/index.html), where a screen reader hears it; and once
// the game ends, the program ends too, for the page to say so.
#include <QAccessible>
#include <QAccessibleAnnouncementEvent>
#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QFontDatabase>
#include <QLoggingCategory>
#include <QWidget>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

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
                window && window->windowType() == Qt::Window) {
                window->setWindowState(window->windowState() | Qt::WindowFullScreen);
            }
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

// Qt's accessibility for the web makes no use of announcements: the game's news is written, as
// text, into the page's live region. Every other event goes on to Qt.
void tellPage(QAccessibleEvent* event) {
    if (event->type() == QAccessible::Announcement) {
        emscripten::val news = emscripten::val::global("document")
                                   .call<emscripten::val>("getElementById", std::string("news"));
        if (!news.isNull())
            news.set("textContent",
                     static_cast<QAccessibleAnnouncementEvent*>(event)->message().toStdString());
        return;
    }
    if (QPlatformAccessibility* platform =
            QGuiApplicationPrivate::platformIntegration()->accessibility())
        platform->notifyAccessibilityUpdate(event);
}

void startPage() {
    for (const char* face :
         {":/fonts/LiberationSans-Regular.ttf", ":/fonts/LiberationSans-Bold.ttf"})
        QFontDatabase::addApplicationFont(QString::fromLatin1(face));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    qApp->installEventFilter(new WebPage(qApp));
    QAccessible::installUpdateHandler(tellPage);
    // Once a screen reader's user turns Qt's accessibility on, it warns that the application
    // object, which no window holds, has no place on the page: true, and of no consequence.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.qpa.accessibility.warning=false"));
    // Qt's accessibility puts a stand-in element in the page for each control, and writes its
    // name into it as HTML, and a text box's contents too, right after giving the box its name as
    // "name": markup typed as a player's name would become part of the page, scripts and all. No
    // markup is taken from a string here: what Qt writes is an element's text, an option's or a
    // text box's label (the browser takes no name from "name"), or a text box's value.
    // clang-format off
    EM_ASM({
        const inner = Object.getOwnPropertyDescriptor(Element.prototype, "innerHTML");
        const setAttribute = Element.prototype.setAttribute;
        Object.defineProperty(Element.prototype, "innerHTML", {
            configurable: true,
            get: inner.get,
            set(text) {
                if (!(this instanceof HTMLInputElement)) {
                    this.textContent = text;
                } else if (this.type === "text" && this.valueComesNext) {
                    this.value = text;
                    this.valueComesNext = false;
                } else {
                    setAttribute.call(this, "aria-label", text);
                }
            },
        });
        Element.prototype.setAttribute = function(name, value) {
            setAttribute.call(this, name, value);
            if (name === "name" && this instanceof HTMLInputElement && this.type === "text") {
                setAttribute.call(this, "aria-label", value);
                this.valueComesNext = true;
            }
        };
    });
// clang-format on
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startPage)
