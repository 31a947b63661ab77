#include "MessageTarget.h"

#include <QCoreApplication>
#include <QThread>

namespace {

const QEvent::Type kPostedMessage = static_cast<QEvent::Type>(QEvent::registerEventType());

struct CPostedMessage final : QEvent {
    CPostedMessage(std::uint32_t m, std::uintptr_t w, std::intptr_t l)
        : QEvent(kPostedMessage), message(m), wParam(w), lParam(l) {}
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

}  // namespace

void CMessageTarget::PostMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    QCoreApplication::postEvent(this, new CPostedMessage(message, wParam, lParam));
}

void CMessageTarget::SendMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (QThread::currentThread() == thread()) {
        m_handler(message, wParam, lParam);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, message, wParam, lParam] { m_handler(message, wParam, lParam); }, Qt::BlockingQueuedConnection);
}

bool CMessageTarget::event(QEvent* event) {
    if (event->type() != kPostedMessage) return QObject::event(event);
    const auto* posted = static_cast<CPostedMessage*>(event);
    m_handler(posted->message, posted->wParam, posted->lParam);
    return true;
}
