#include "PrintingWindowGuard.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace {

bool isUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::NonClientAreaMouseMove:
        case QEvent::HoverEnter:
        case QEvent::HoverMove:
        case QEvent::HoverLeave:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::TabletEnterProximity:
        case QEvent::TabletLeaveProximity:
        case QEvent::NativeGesture:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::DragLeave:
        case QEvent::Drop:
        case QEvent::InputMethod:
            return true;
        default:
            return false;
    }
}

}  // namespace

PrintingWindowGuard::PrintingWindowGuard(QWidget& window, bool& closeAsked)
    : m_window(window), m_closeAsked(closeAsked) {
    QCoreApplication::instance()->installEventFilter(this);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

PrintingWindowGuard::~PrintingWindowGuard() {
    // Input still on its way as the print ends is dropped too. The X11 platform looks at what
    // it was sent only once its event dispatcher has been woken. Windows' platform hands what it
    // takes from the system's queue in one pass to the window only in the next: passes run until
    // one finds nothing, or what the last one took would reach the window after the guard,
    // acted on or, behind a warning, lost.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) {
        dispatcher->wakeUp();
        constexpr int kMostPasses = 8;  // a timer that is always due must not keep us here
        for (int pass = 0; pass < kMostPasses && dispatcher->processEvents(QEventLoop::AllEvents);
             ++pass) {
        }
    }
    QCoreApplication::instance()->removeEventFilter(this);
    QGuiApplication::restoreOverrideCursor();
}

bool PrintingWindowGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close && watched == &m_window) {
        // Filtered but accepted, the event would close the window all the same.
        event->ignore();
        m_closeAsked = true;
        return true;
    }
    return isUserInput(event->type()) && !isForDialogShownMeanwhile(watched);
}

// Input reaches the widgets of a window through its platform window: both are let through.
bool PrintingWindowGuard::isForDialogShownMeanwhile(QObject* receiver) const {
    QWidget* const dialog = QApplication::activeModalWidget();
    if (!dialog || dialog == &m_window) return false;
    if (receiver->isWidgetType()) return static_cast<QWidget*>(receiver)->window() == dialog;
    return receiver == dialog->windowHandle();
}
