#include "AtomicLoadingCommander.h"

#include <new>

RpcResult CAtomicLoadingCommander::Poll() {
    m_loaded.clear();
    if (!m_engine) return CONN_E_NOT_STARTED;
    TRpcArray<CNorvLoadedObjectRecord> objects;
    const RpcResult r = m_engine->GetLoadedObjects(&objects);
    if (RpcFailed(r)) return r;
    INameResolver* resolver = Owner()->ReadsFromEditor() ? Owner()->NameResolver() : nullptr;
    for (const CNorvLoadedObjectRecord& o : objects) {
        TInfoPtr<CAtomicLoadingInfoContainer> record(new (std::nothrow) CAtomicLoadingInfoContainer(
            o.m_ulObjectId, o.m_ulDataType, o.m_ulReferenceCount, o.m_ulLoadCount, o.m_ulUnloadedFlag == 0 ? 1 : 0,
            o.m_ulSize));
        if (!record) return E_OUTOFMEMORY;
        record->ResolveNames(resolver);
        m_loaded[o.m_ulObjectId] = std::move(record);  // a later record with the same id wins
    }
    return r;
}
