#include "EngineCommander.h"

bool CEngineCommander::IsEnabled() const {
    std::lock_guard lock(m_lock);
    return m_bEnabled;
}

RpcResult CEngineCommander::Enable(bool enable) {
    if (enable == IsEnabled()) return 0;
    if (enable) {
        if (m_pOwner->ConnectionState() != CONNECTION_ESTABLISHED) return NotConnectedResult();
        const RpcResult r = OpenEngineObject();
        if (RpcFailed(r)) {
            CloseEngineObject();
            std::lock_guard lock(m_lock);
            m_bEnabled = false;
            return r;
        }
    } else {
        CloseEngineObject();
    }
    std::lock_guard lock(m_lock);
    m_bEnabled = enable;
    return 0;
}
