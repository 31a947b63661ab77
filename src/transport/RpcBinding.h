#pragma once
// One remote object as seen from this side: the connection it lives on, the thread
// whose queue receives its messages, and the proxy or stub that speaks for it.

#include <cstdint>

#include "RpcInterfaces.h"
#include "RpcLink.h"

enum ERpcBindingSide : int { RPC_SIDE_CLIENT = 0, RPC_SIDE_SERVER = 1 };

class CRpcBinding : public CRpcInternalObject {
public:
    explicit CRpcBinding(ERpcBindingSide side) : m_eSide(side) {}

    // Stops the link and lets go of it and of the handler.
    void Unbind() {
        RpcPtr<CRpcLink> link = std::move(m_link);
        if (link) link->Stop();
        m_pProxy = nullptr;
        if (RpcPtr<IRpcStub> stub = std::move(m_stub)) stub->Detach();
    }

    const ERpcBindingSide m_eSide;
    std::uint32_t m_ulId = 0;
    std::uint32_t m_ulOwnerThreadId = 0;
    RpcPtr<CRpcLink> m_link;
    IRpcProxy* m_pProxy = nullptr;  // client side; the proxy removes the binding when it dies
    RpcPtr<IRpcStub> m_stub;        // server side
};
