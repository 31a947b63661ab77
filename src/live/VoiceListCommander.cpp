#include "VoiceListCommander.h"

void CVoiceListCommander::EmptyState() {
    std::lock_guard lock(m_lock);
    m_voices.clear();
}

RpcResult CVoiceListCommander::Poll() {
    m_voices.clear();
    if (!m_engine) return CONN_E_NOT_STARTED;
    TRpcArray<CNorvVoiceRecord> voices;
    const RpcResult r = m_engine->GetVoices(&voices);
    m_voices.assign(voices.begin(), voices.end());
    return r;
}

std::vector<CNorvVoiceRecord> CVoiceListCommander::CopyVoiceList() const {
    std::lock_guard lock(m_lock);
    return m_voices;
}
