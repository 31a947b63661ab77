#include "RpcClassFactory.h"

RpcResult CRpcClassFactory::QueryInterface(const GUID* iid, void** out) {
    if (!iid || !out) return E_INVALIDARG;
    if (*iid != IID_IRpcUnknown) return RPC_E_NO_INTERFACE;
    AddRef();
    *out = static_cast<IRpcFactory*>(this);
    return 0;
}

RpcResult CRpcClassFactory::Create(Creation creation, const GUID* clsid, const GUID* iid, void** out) {
    if (!clsid || !iid || !out) return E_INVALIDARG;
    for (const CRpcClassEntry& entry : m_classes)
        if (entry.clsid == *clsid) return (entry.*creation)(iid, out);
    *out = nullptr;
    return RPC_E_UNKNOWN_CLASS;
}

RpcResult CRpcClassFactory::CreateObject(const GUID* clsid, const GUID* iid, void** out) {
    return Create(&CRpcClassEntry::pfnCreateObject, clsid, iid, out);
}

RpcResult CRpcClassFactory::CreateProxy(const GUID* clsid, const GUID* iid, void** out) {
    return Create(&CRpcClassEntry::pfnCreateProxy, clsid, iid, out);
}

RpcResult CRpcClassFactory::CreateStub(const GUID* clsid, const GUID* iid, void** out) {
    return Create(&CRpcClassEntry::pfnCreateStub, clsid, iid, out);
}
