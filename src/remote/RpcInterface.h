#pragma once
// Declares a remote interface from one table of its methods, and derives from that
// table the interface itself, its proxy, its stub and a served-object skeleton
// whose methods all answer E_NOTIMPL (C...Skeleton).
//
// A method table is a macro taking M and listing, per method in number order:
//   M(number, TWOWAY or ONEWAY, Name, (parameters), (argument names))
// The parameters' C++ types decide their wire encoding (see RpcParam.h); the
// order of the parameters is the wire order.

#include "RpcProxy.h"
#include "RpcStub.h"

#define RPC_X_PURE(n, kind, name, params, args) virtual RpcResult name params = 0;
#define RPC_X_KIND(n, kind, name, params, args) \
    case n:                                     \
        return RPC_##kind;
#define RPC_X_MEMBER(name, params) static_cast<RpcResult(Self::*) params>(&Self::name)
#define RPC_X_SERVE(n, kind, name, params, args) \
    case n:                                      \
        return stub.template Serve<RPC_##kind>(object, RPC_X_MEMBER(name, params), call, values);
#define RPC_X_PROXY(n, kind, name, params, args) \
    RpcResult name params override { return this->template Call<n, RPC_##kind, decltype(RPC_X_MEMBER(name, params))> args; }
#define RPC_X_NOTIMPL(n, kind, name, params, args) \
    RpcResult name params override { return E_NOTIMPL; }
#define RPC_X_DECODE(n, kind, name, params, args) \
    case n:                                       \
        return TRpcProxy<Self>::template DecodeAnswer<decltype(RPC_X_MEMBER(name, params))>(values);

#define RPC_REMOTE_INTERFACE(I, C, CLSID_TEXT, IID_TEXT, METHODS)                                            \
    struct I : IRpcUnknown {                                                                                 \
        using Self = I;                                                                                      \
        static constexpr GUID IID = MakeGuid(IID_TEXT);                                                      \
        static constexpr GUID CLSID = MakeGuid(CLSID_TEXT);                                                  \
        METHODS(RPC_X_PURE)                                                                                  \
        static constexpr ERpcMethodKind MethodKind(std::uint32_t method) {                                   \
            switch (method) {                                                                                \
                METHODS(RPC_X_KIND)                                                                          \
            default:                                                                                         \
                return RPC_NO_METHOD;                                                                        \
            }                                                                                                \
        }                                                                                                    \
        template <class Stub>                                                                                \
        static RpcResult Serve(Stub& stub, Self* object, const CRpcCallHeader& call, CRpcStream& values) {   \
            switch (call.ulMethod) {                                                                         \
                METHODS(RPC_X_SERVE)                                                                         \
            default:                                                                                         \
                return E_NOTIMPL;                                                                            \
            }                                                                                                \
        }                                                                                                    \
        /* Decodes the values of an answer to method `method` and discards them. */                          \
        static RpcResult DecodeAnswer(std::uint32_t method, CRpcStream& values);                             \
    };                                                                                                       \
    class C##Proxy final : public TRpcProxy<I> {                                                             \
    public:                                                                                                  \
        using Self = I;                                                                                      \
        METHODS(RPC_X_PROXY)                                                                                 \
    };                                                                                                       \
    using C##Stub = TRpcStub<I>;                                                                             \
    _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wunused-parameter\"") class C##Skeleton \
        : public TRpcServedObject<I> {                                                                       \
    public:                                                                                                  \
        using Self = I;                                                                                      \
        METHODS(RPC_X_NOTIMPL)                                                                               \
    };                                                                                                       \
    _Pragma("GCC diagnostic pop") inline RpcResult I::DecodeAnswer(std::uint32_t method, CRpcStream& values) { \
        switch (method) {                                                                                    \
            METHODS(RPC_X_DECODE)                                                                            \
        default:                                                                                             \
            return E_NOTIMPL;                                                                                \
        }                                                                                                    \
    }
