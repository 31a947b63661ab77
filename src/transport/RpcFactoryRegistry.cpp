#include "RpcFactoryRegistry.h"

#include <algorithm>

RpcResult CRpcFactoryRegistry::Register(IRpcFactory* factory) {
    if (!factory) return RPC_E_INVALIDARG;
    std::lock_guard lock(m_lock);
    m_factories.push_back(RpcPtr<IRpcFactory>::Retain(factory));
    return RPC_S_REGISTRY_OK;
}

RpcResult CRpcFactoryRegistry::Unregister(IRpcFactory* factory) {
    RpcPtr<IRpcFactory> removed;
    std::lock_guard lock(m_lock);
    auto it = std::find_if(m_factories.begin(), m_factories.end(),
                           [factory](const auto& f) { return f.Get() == factory; });
    if (!factory || it == m_factories.end()) return RPC_E_INVALIDARG;
    removed = std::move(*it);
    m_factories.erase(it);
    return RPC_S_REGISTRY_OK;
}

void CRpcFactoryRegistry::Clear() {
    std::vector<RpcPtr<IRpcFactory>> released;
    std::lock_guard lock(m_lock);
    released.swap(m_factories);
}

RpcResult CRpcFactoryRegistry::Create(Creation creation, const GUID* clsid, const GUID* iid, void** out) {
    std::lock_guard lock(m_lock);
    for (auto& factory : m_factories)
        if (RpcSucceeded(((*factory).*creation)(clsid, iid, out))) return RPC_S_REGISTRY_OK;
    return RPC_E_NO_FACTORY;
}

RpcResult CRpcFactoryRegistry::CreateObject(const GUID* clsid, const GUID* iid, void** out) {
    return Create(&IRpcFactory::CreateObject, clsid, iid, out);
}

RpcResult CRpcFactoryRegistry::CreateProxy(const GUID* clsid, const GUID* iid, void** out) {
    return Create(&IRpcFactory::CreateProxy, clsid, iid, out);
}

RpcResult CRpcFactoryRegistry::CreateStub(const GUID* clsid, const GUID* iid, void** out) {
    return Create(&IRpcFactory::CreateStub, clsid, iid, out);
}
