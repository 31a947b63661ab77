#pragma once
// The stub side of every remote interface: decode a request, call the served
// object, and for a two-way method send back the result and the outputs. The
// per-interface dispatch only maps method numbers to Serve.

#include <mutex>
#include <tuple>
#include <utility>

#include "RpcInstance.h"
#include "RpcParam.h"

template <class I>
class TRpcStub : public TRpcObject<IRpcStub> {
public:
    RpcResult QueryInterface(const GUID* iid, void** out) override {
        if (!iid || !out) return E_INVALIDARG;
        if (*iid != IID_IRpcStub && *iid != IID_IRpcUnknown) return RPC_E_NO_INTERFACE;
        AddRef();
        *out = static_cast<IRpcStub*>(this);
        return 0;
    }

    // The instance owns the binding that owns this stub, so it outlives it.
    RpcResult Attach(CRpcInstance* instance, std::uint32_t bindingId, IRpcUnknown* servedObject) override {
        std::lock_guard lock(m_lock);
        m_pInstance = instance;
        m_ulBindingId = bindingId;
        m_object = RpcPtr<IRpcUnknown>::Retain(servedObject);
        return 0;
    }

    void Detach() override {
        RpcPtr<IRpcUnknown> released;
        std::lock_guard lock(m_lock);
        released = std::move(m_object);
    }

    RpcResult Dispatch(const std::uint8_t* body, std::uint32_t length) override {
        if (!body) return E_INVALIDARG;
        CRpcStream request;
        CRpcCallHeader call;
        request.Attach(body, length, false);
        if (RpcFailed(request.ReadCallHeader(call).Status())) return RPC_E_READ_PAST_END;
        if (call.iid != I::IID) return E_NOINTERFACE;
        RpcPtr<IRpcUnknown> object;
        {
            std::lock_guard lock(m_lock);
            object = m_object;
        }
        if (!object) return E_UNEXPECTED;
        RpcPtr<I> served;
        const RpcResult r = object->QueryInterface(&I::IID, served.PutVoid());
        if (RpcFailed(r)) return r;
        // The values are read in place, and no further than the header says.
        CRpcStream values;
        if (call.ulArgsLength != 0)
            values.Attach(request.Cursor(), std::min(call.ulArgsLength, request.Remaining()), false);
        return I::Serve(*this, served.Get(), call, values);
    }

    // Decodes the inputs of one method, calls it, and answers a two-way call.
    template <ERpcMethodKind K, class... P>
    RpcResult Serve(I* object, RpcResult (I::*method)(P...), const CRpcCallHeader& call, CRpcStream& values) {
        std::tuple<typename TRpcParam<P>::Storage...> places;
        RpcResult r = 0;
        ReadInputs<P...>(values, places, r, std::index_sequence_for<P...>{});
        if (RpcFailed(r)) return r;
        const RpcResult result =
            std::apply([&](auto&... x) { return (object->*method)(TRpcParam<P>::Pass(x)...); }, places);
        if constexpr (K == RPC_TWOWAY) Answer<P...>(call, result, places, std::index_sequence_for<P...>{});
        return 0;
    }

private:
    template <class... P, class Tuple, std::size_t... Index>
    static void ReadInputs(CRpcStream& s, Tuple& places, RpcResult& r, std::index_sequence<Index...>) {
        (((!TRpcParam<P>::kIsOutput && RpcSucceeded(r)) ? (r = TRpcParam<P>::Read(s, std::get<Index>(places)), 0) : 0),
         ...);
    }

    template <class... P, class Tuple, std::size_t... Index>
    void Answer(const CRpcCallHeader& call, RpcResult result, Tuple& places, std::index_sequence<Index...>) {
        CRpcStream values;
        TRpcCodec<std::int32_t>::Write(values, result);
        if (RpcSucceeded(result)) (WriteOutput<P>(values, std::get<Index>(places)), ...);
        CRpcStream message;
        CRpcCallHeader header = call;
        header.ulArgsLength = values.WrittenSize();
        message.WriteCallHeader(header).Append(values);
        if (RpcFailed(message.Status())) return;
        CRpcInstance* instance;
        std::uint32_t bindingId;
        {
            std::lock_guard lock(m_lock);
            instance = m_pInstance;
            bindingId = m_ulBindingId;
        }
        if (instance) instance->SendAsServer(bindingId, message.Data(), message.WrittenSize(), RPC_CALL_MODE_TWOWAY);
    }

    template <class P, class S>
    static void WriteOutput(CRpcStream& s, const S& storage) {
        if constexpr (TRpcParam<P>::kIsOutput) TRpcParam<P>::Write(s, storage);
    }

    std::mutex m_lock;
    CRpcInstance* m_pInstance = nullptr;
    std::uint32_t m_ulBindingId = 0;
    RpcPtr<IRpcUnknown> m_object;
};

// The served-object side of a remote interface, to derive served objects from.
template <class I>
class TRpcServedObject : public TRpcObject<I> {
public:
    RpcResult QueryInterface(const GUID* iid, void** out) override {
        if (!iid || !out) return E_INVALIDARG;
        if (*iid != I::IID && *iid != IID_IRpcUnknown) return RPC_E_NO_INTERFACE;
        this->AddRef();
        *out = static_cast<I*>(this);
        return 0;
    }
};
