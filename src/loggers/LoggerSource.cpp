#include "LoggerSource.h"

#include "ConnectionResults.h"

#include <new>

CLoggerSource::~CLoggerSource() {
    m_queues.clear();
    EmptyHistory();
}

void CLoggerSource::UnregisterCookie() {
    if (m_ulCookie) CSourceCookies::Instance().Unregister(m_ulCookie);
    m_ulCookie = 0;
}

bool IsNotConnectedCode(RpcResult code) {
    const auto c = static_cast<std::uint32_t>(code);
    const auto n = static_cast<std::uint32_t>(CONN_E_NOT_CONNECTED);
    return (c & 0x80000000u) == (n & 0x80000000u) && (c & 0xFFFFu) == (n & 0xFFFFu);
}

RpcResult CLoggerSource::Enable(bool enable) {
    // The engine is called without the source's lock: a notification that arrives
    // meanwhile needs that lock on the worker thread, and the call may wait for
    // the engine for seconds.
    RpcPtr<INorvMonitorManager> manager;
    RpcResult r = m_pOwner ? m_pOwner->GetEngineInfo(&manager) : CONN_E_NOT_CONNECTED;
    if (RpcFailed(r)) {
        m_bEnabled = false;
        return r;
    }
    if (enable) {
        r = manager->AddListener(m_eKind, m_ulCookie);
        m_bEnabled = RpcSucceeded(r);
        return RpcFailed(r) ? r : 0;
    }
    manager->RemoveListener(m_eKind);
    m_bEnabled = false;
    return 0;
}

int CLoggerSource::AddQueue(IMessageTarget* window, std::uint32_t message) {
    std::lock_guard lock(m_lock);
    m_queues[window] = std::make_unique<CInfoQueue>(window, message);
    return 1;
}

void CLoggerSource::RemoveQueue(IMessageTarget* window) {
    std::unique_ptr<CInfoQueue> removed;
    std::lock_guard lock(m_lock);
    auto it = m_queues.find(window);
    if (it == m_queues.end()) return;
    it->second->Detach();
    removed = std::move(it->second);
    m_queues.erase(it);
}

CInfoQueue* CLoggerSource::QueueOf(IMessageTarget* window) {
    std::lock_guard lock(m_lock);
    auto it = m_queues.find(window);
    return it == m_queues.end() ? nullptr : it->second.get();
}

int CLoggerSource::RefreshFromHistory(IMessageTarget* window) {
    std::lock_guard lock(m_lock);
    auto it = m_queues.find(window);
    if (it == m_queues.end()) return 0;
    for (CInfoContainer* record : m_history) it->second->Push(record);
    return 1;
}

void CLoggerSource::EmptyHistory() {
    std::deque<CInfoContainer*> released;
    {
        std::lock_guard lock(m_lock);
        released.swap(m_history);
    }
    for (CInfoContainer* record : released) record->Release();
}

std::size_t CLoggerSource::HistorySize() {
    std::lock_guard lock(m_lock);
    return m_history.size();
}

RpcResult CLoggerSource::Distribute(CInfoContainer* record) {
    if (!record) return E_OUTOFMEMORY;
    std::lock_guard lock(m_lock);
    m_history.push_back(record);
    for (auto& [window, queue] : m_queues) queue->Push(record);
    return 0;
}

CEventLoggerSource::CEventLoggerSource(IEngineInfoProvider* owner) : CLoggerSource(NORV_LISTENER_EVENTS, owner) {
    RegisterCookie<IEventSource>(this);
}
CEventLoggerSource::~CEventLoggerSource() { UnregisterCookie(); }
RpcResult CEventLoggerSource::OnEvent(std::uint32_t eventId, std::uint32_t eventType, std::int32_t priority,
                                      std::int32_t objectId, std::int32_t objectType) {
    return Distribute(new (std::nothrow) CEventInfoContainer(eventId, eventType, priority, objectId, objectType));
}

CResourceLoggerSource::CResourceLoggerSource(IEngineInfoProvider* owner)
    : CLoggerSource(NORV_LISTENER_RESOURCES, owner) {
    RegisterCookie<IResourceSource>(this);
}
CResourceLoggerSource::~CResourceLoggerSource() { UnregisterCookie(); }
RpcResult CResourceLoggerSource::OnResource(std::uint32_t resourceId, std::uint32_t resourceType, std::int32_t volume) {
    return Distribute(new (std::nothrow) CResourceInfoContainer(resourceId, resourceType, volume));
}

CAtomicLoadingLoggerSource::CAtomicLoadingLoggerSource(IEngineInfoProvider* owner)
    : CLoggerSource(NORV_LISTENER_ATOMIC_LOADING, owner) {
    RegisterCookie<IAtomicLoadingSource>(this);
}
CAtomicLoadingLoggerSource::~CAtomicLoadingLoggerSource() { UnregisterCookie(); }
RpcResult CAtomicLoadingLoggerSource::OnAtomicLoading(std::uint32_t objectId, std::uint32_t eventType,
                                                      std::uint32_t dataType) {
    return Distribute(new (std::nothrow) CAtomicLoadingInfoContainer(objectId, eventType, dataType));
}
