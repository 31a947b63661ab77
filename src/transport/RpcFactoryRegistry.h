#pragma once
// The registered class factories, asked in registration order; the first that
// succeeds wins.

#include <mutex>
#include <vector>

#include "RpcInterfaces.h"

class CRpcFactoryRegistry {
public:
    RpcResult Register(IRpcFactory* factory);
    RpcResult Unregister(IRpcFactory* factory);
    void Clear();

    RpcResult CreateObject(const GUID* clsid, const GUID* iid, void** out);
    RpcResult CreateProxy(const GUID* clsid, const GUID* iid, void** out);
    RpcResult CreateStub(const GUID* clsid, const GUID* iid, void** out);

private:
    using Creation = RpcResult (IRpcFactory::*)(const GUID*, const GUID*, void**);
    RpcResult Create(Creation creation, const GUID* clsid, const GUID* iid, void** out);

    std::mutex m_lock;
    std::vector<RpcPtr<IRpcFactory>> m_factories;
};
