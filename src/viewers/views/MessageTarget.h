#pragma once
// A window's message target for core code: PostMessage queues the message as a Qt
// event for the owner's thread (from any thread), SendMessage handles it at once
// on the owner's thread or waits for it from another one. The owner handles every
// message in one function.

#include <QEvent>
#include <QObject>
#include <functional>

#include "WindowMessages.h"

class CMessageTarget final : public QObject, public IMessageTarget {
public:
    using Handler = std::function<void(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)>;

    explicit CMessageTarget(Handler handler, QObject* parent = nullptr) : QObject(parent), m_handler(std::move(handler)) {}

    void PostMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void SendMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;

protected:
    bool event(QEvent* event) override;

private:
    Handler m_handler;
};
