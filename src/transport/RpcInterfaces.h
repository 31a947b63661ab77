#pragma once
// The interfaces through which the instance drives proxies, stubs and class
// factories. Proxies, stubs and factories themselves are built on top of them.

#include <cstdint>

#include "RpcGuid.h"
#include "RpcUnknown.h"

class CRpcInstance;

inline constexpr GUID IID_IRpcProxy = MakeGuid("{50283FAF-4FDA-978A-87AC-7B963745CEFF}");
inline constexpr GUID IID_IRpcStub = MakeGuid("{9B3CF692-46CB-D2C3-DE80-A6A931FB9116}");

// The control view of a proxy: the side of a binding that opened the remote object.
struct IRpcProxy : IRpcUnknown {
    virtual RpcResult Attach(CRpcInstance* instance, std::uint32_t bindingId) = 0;
    virtual void Detach() = 0;
    // An answer or notification held for the proxy under the given message key.
    virtual RpcResult AnswerReceived(std::uint32_t messageKey, const std::uint8_t* body, std::uint32_t length) = 0;
};

// The side of a binding that serves a remote object for a peer.
struct IRpcStub : IRpcUnknown {
    virtual RpcResult Attach(CRpcInstance* instance, std::uint32_t bindingId, IRpcUnknown* servedObject) = 0;
    virtual void Detach() = 0;
    virtual RpcResult Dispatch(const std::uint8_t* body, std::uint32_t length) = 0;
};

// Creates served objects, proxies and stubs by class id.
struct IRpcFactory : IRpcUnknown {
    virtual RpcResult CreateObject(const GUID* clsid, const GUID* iid, void** out) = 0;
    virtual RpcResult CreateProxy(const GUID* clsid, const GUID* iid, void** out) = 0;
    virtual RpcResult CreateStub(const GUID* clsid, const GUID* iid, void** out) = 0;
};
