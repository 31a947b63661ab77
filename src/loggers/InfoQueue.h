#pragma once
// The records waiting for one open view. A queue wakes its view only when it goes
// from empty to one record, so a burst of notifications costs one message.

#include <cstdint>
#include <deque>
#include <mutex>

#include "InfoContainer.h"
#include "WindowMessages.h"

class CInfoQueue {
public:
    CInfoQueue(IMessageTarget* target, std::uint32_t message) : m_pTarget(target), m_ulMessage(message) {}
    ~CInfoQueue() { Clear(); }
    CInfoQueue(const CInfoQueue&) = delete;
    CInfoQueue& operator=(const CInfoQueue&) = delete;

    void SetTarget(IMessageTarget* target, std::uint32_t message);
    void Detach() { SetTarget(nullptr, 0); }
    IMessageTarget* GetTarget();
    std::uint32_t GetMessage();

    // Takes a reference of its own.
    void Push(CInfoContainer* record);
    // The oldest record with the caller's reference, or none.
    CInfoContainer* Pop();
    std::size_t Count();
    void Clear();

private:
    std::mutex m_lock;
    std::deque<CInfoContainer*> m_records;
    IMessageTarget* m_pTarget;
    std::uint32_t m_ulMessage;
};
