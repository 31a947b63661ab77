#include "ObjectCommander.h"

void CObjectCommander::EmptyState() {
    std::lock_guard lock(m_lock);
    m_micros.clear();
    m_objects.clear();
}

void CObjectCommander::Poll() {
    if (!m_engine) return;
    m_micros.clear();
    CNorvMicroList micros;
    if (m_engine->GetMicros(&micros) == 0) m_micros.assign(micros.begin(), micros.end());
    TRpcArray<CNorvObjectRecord> objects;
    if (m_engine->GetObjects(&objects) != 0) return;
    m_objects.assign(objects.begin(), objects.end());
}

std::vector<CNorvMicro> CObjectCommander::CopyMicroList() const {
    std::lock_guard lock(m_lock);
    return m_micros;
}

std::vector<CNorvObjectRecord> CObjectCommander::CopyObjectList() const {
    std::lock_guard lock(m_lock);
    return m_objects;
}
