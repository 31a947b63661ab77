#include "NotificationSources.h"

CSourceCookies& CSourceCookies::Instance() {
    static CSourceCookies cookies;
    return cookies;
}

RpcCookie CSourceCookies::Add(ENorvListenerKind kind, void* source) {
    std::lock_guard lock(m_lock);
    RpcCookie cookie;
    do {
        cookie = m_ulNext++;
    } while (cookie == 0 || m_sources.count(cookie));
    m_sources.emplace(cookie, Entry{kind, source});
    return cookie;
}

void CSourceCookies::Unregister(RpcCookie cookie) {
    std::lock_guard lock(m_lock);
    m_sources.erase(cookie);
}

std::size_t CSourceCookies::Count() {
    std::lock_guard lock(m_lock);
    return m_sources.size();
}
