#pragma once
// A class factory driven by a table of classes: for each class id, how to create
// its served object, its proxy and its stub.

#include <new>
#include <vector>

#include "RpcInterfaces.h"

struct CRpcClassEntry {
    GUID clsid;
    RpcResult (*pfnCreateObject)(const GUID* iid, void** out);
    RpcResult (*pfnCreateProxy)(const GUID* iid, void** out);
    RpcResult (*pfnCreateStub)(const GUID* iid, void** out);
};

// Creates a T and asks it for the interface; the creation reference is dropped, so
// a failed query lets the new object die.
template <class T>
RpcResult RpcCreateAndQuery(const GUID* iid, void** out) {
    auto object = RpcMake<T>();
    if (!object) return RPC_E_OUTOFMEMORY;
    return object->QueryInterface(iid, out);
}

// The entry of a remote class whose interface is I.
template <class I, class Object, class Proxy, class Stub>
constexpr CRpcClassEntry RpcClassEntry() {
    return {I::CLSID, &RpcCreateAndQuery<Object>, &RpcCreateAndQuery<Proxy>, &RpcCreateAndQuery<Stub>};
}

class CRpcClassFactory : public TRpcObject<IRpcFactory> {
public:
    explicit CRpcClassFactory(std::vector<CRpcClassEntry> classes) : m_classes(std::move(classes)) {}

    RpcResult QueryInterface(const GUID* iid, void** out) override;
    RpcResult CreateObject(const GUID* clsid, const GUID* iid, void** out) override;
    RpcResult CreateProxy(const GUID* clsid, const GUID* iid, void** out) override;
    RpcResult CreateStub(const GUID* clsid, const GUID* iid, void** out) override;

private:
    using Creation = RpcResult (*CRpcClassEntry::*)(const GUID*, void**);
    RpcResult Create(Creation creation, const GUID* clsid, const GUID* iid, void** out);

    const std::vector<CRpcClassEntry> m_classes;
};
