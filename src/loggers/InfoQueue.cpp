#include "InfoQueue.h"

void CInfoQueue::SetTarget(IMessageTarget* target, std::uint32_t message) {
    std::lock_guard lock(m_lock);
    m_pTarget = target;
    m_ulMessage = message;
}

IMessageTarget* CInfoQueue::GetTarget() {
    std::lock_guard lock(m_lock);
    return m_pTarget;
}

std::uint32_t CInfoQueue::GetMessage() {
    std::lock_guard lock(m_lock);
    return m_ulMessage;
}

void CInfoQueue::Push(CInfoContainer* record) {
    std::lock_guard lock(m_lock);
    record->AddRef();
    m_records.push_back(record);
    if (m_records.size() == 1 && m_pTarget)
        m_pTarget->PostMessage(m_ulMessage, reinterpret_cast<std::uintptr_t>(this), 0);
}

CInfoContainer* CInfoQueue::Pop() {
    std::lock_guard lock(m_lock);
    if (m_records.empty()) return nullptr;
    CInfoContainer* record = m_records.front();
    m_records.pop_front();
    return record;
}

std::size_t CInfoQueue::Count() {
    std::lock_guard lock(m_lock);
    return m_records.size();
}

void CInfoQueue::Clear() {
    std::deque<CInfoContainer*> released;
    {
        std::lock_guard lock(m_lock);
        released.swap(m_records);
    }
    for (CInfoContainer* record : released) record->Release();
}
