// EventLoop  The one yield of the system.
#include "platform/EventLoop.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>

namespace EventLoop {

bool Yield() {
    // What QCoreApplication::processEvents() does, keeping the dispatcher's answer.
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    return dispatcher && dispatcher->processEvents(QEventLoop::AllEvents);
}

}  // namespace EventLoop
