#pragma once
// The proxy side of every remote interface: attach to a binding, send requests,
// wait for the matching answer and decode it. The per-interface proxy classes only
// forward each method to Call with its number, its kind and its signature.

#include <tuple>
#include <utility>
#include <vector>

#include "RpcInstance.h"
#include "RpcParam.h"

template <class I>
class TRpcProxy : public TRpcObject<I, IRpcProxy> {
public:
    RpcResult QueryInterface(const GUID* iid, void** out) override {
        if (!iid || !out) return E_INVALIDARG;
        if (*iid == I::IID || *iid == IID_IRpcUnknown)
            *out = static_cast<I*>(this);
        else if (*iid == IID_IRpcProxy)
            *out = static_cast<IRpcProxy*>(this);
        else
            return RPC_E_NO_INTERFACE;
        this->AddRef();
        return 0;
    }

    RpcResult Attach(CRpcInstance* instance, std::uint32_t bindingId) override {
        m_instance = RpcPtr<CRpcInstance>::Retain(instance);
        m_ulBindingId = bindingId;
        return 0;
    }

    void Detach() override {
        if (m_instance) m_instance->ReleaseBinding(m_ulBindingId);
        m_instance.Reset();
        m_ulBindingId = 0;
        m_unclaimed.clear();
    }

    std::uint32_t BindingId() const { return m_ulBindingId; }

    // Only the answer to the call in progress is kept. Anything else (answers to
    // calls given up on, answers nobody asked for, one-way or unknown methods) is
    // dropped at once, so a peer cannot make us hold messages without bound.
    RpcResult AnswerReceived(std::uint32_t messageKey, const std::uint8_t* body, std::uint32_t length) override {
        CRpcStream s;
        CRpcCallHeader call;
        s.Attach(body, length, false);
        RpcResult r = 0;
        if (!body || RpcFailed(s.ReadCallHeader(call).Status()))
            r = E_FAIL;
        else if (call.iid != I::IID)
            r = E_NOINTERFACE;
        else if (I::MethodKind(call.ulMethod) == RPC_ONEWAY)
            r = E_FAIL;
        else if (I::MethodKind(call.ulMethod) != RPC_TWOWAY)
            r = E_NOTIMPL;
        if (RpcSucceeded(r) && m_bCallPending && call.ulMethod == m_ulPendingMethod && call.ulCallId == m_ulPendingCallId) {
            m_unclaimed.push_back(messageKey);
            return 0;
        }
        if (m_instance) m_instance->DropHeldMessage(messageKey);
        return r;
    }

    // Decodes an answer's values (what follows its call header) for the method
    // with signature Pm, and throws the outputs away: the decoder on its own, for
    // tests and fuzzing.
    template <class Pm>
    static RpcResult DecodeAnswer(CRpcStream& s) {
        return DecodeDiscarding(typename TRpcMethodTraits<Pm>::Params{}, s);
    }

protected:
    TRpcProxy() = default;
    ~TRpcProxy() override { Detach(); }

    template <std::uint32_t N, ERpcMethodKind K, class Pm, class... A>
    RpcResult Call(A&&... a) {
        return CallWith<N, K>(typename TRpcMethodTraits<Pm>::Params{}, std::forward<A>(a)...);
    }

private:
    template <std::uint32_t N, ERpcMethodKind K, class... P, class... A>
    RpcResult CallWith(TRpcTypeList<P...>, A&&... a) {
        static_assert(sizeof...(P) == sizeof...(A));
        if (!(TRpcParam<P>::IsValid(a) && ...)) return E_INVALIDARG;
        if (!m_instance) return RPC_E_DISCONNECTED;

        CRpcStream values;
        (WriteInput<P>(values, a), ...);
        if (RpcFailed(values.Status())) return values.Status();
        CRpcStream message;
        CRpcCallHeader header;
        header.ulMethod = N;
        header.iid = I::IID;
        header.ulArgsLength = values.WrittenSize();
        header.ulCallId = m_instance->NextCallId();
        message.WriteCallHeader(header).Append(values);
        if (RpcFailed(message.Status())) return message.Status();

        const RpcResult sent = m_instance->SendAsClient(m_ulBindingId, message.Data(), message.WrittenSize(),
                                                        K == RPC_TWOWAY ? RPC_CALL_MODE_TWOWAY : RPC_CALL_MODE_ONEWAY);
        if (RpcFailed(sent)) return sent;
        if constexpr (K == RPC_ONEWAY) {
            return 0;
        } else {
            RpcPtr<CRpcQueuedMessage> answer;
            const RpcResult waited = WaitForAnswer(N, header.ulCallId, &answer);
            if (RpcFailed(waited)) return waited;
            CRpcStream s;
            CRpcCallHeader echoed;
            s.Attach(answer->Data(), answer->Length(), false);
            s.ReadCallHeader(echoed);
            return DecodeWith(TRpcTypeList<P...>{}, s, std::forward<A>(a)...);
        }
    }

    template <class P, class V>
    static void WriteInput(CRpcStream& s, V&& v) {
        if constexpr (!TRpcParam<P>::kIsOutput) TRpcParam<P>::Write(s, v);
    }

    template <class... P>
    static RpcResult DecodeDiscarding(TRpcTypeList<P...>, CRpcStream& s) {
        std::tuple<typename TRpcParam<P>::Storage...> places;
        return std::apply([&](auto&... x) { return DecodeWith(TRpcTypeList<P...>{}, s, TRpcParam<P>::Pass(x)...); },
                          places);
    }

    // The result, then, when it is not negative, every output; the caller's out
    // places are written only when all of them decoded.
    template <class... P, class... A>
    static RpcResult DecodeWith(TRpcTypeList<P...>, CRpcStream& s, A&&... a) {
        std::int32_t result = 0;
        if (RpcFailed(TRpcCodec<std::int32_t>::Read(s, result))) return RPC_E_READ_PAST_END;
        if (RpcFailed(result)) return result;
        std::tuple<typename TRpcParam<P>::Storage...> decoded;
        RpcResult r = 0;
        ReadOutputs<P...>(s, decoded, r, std::index_sequence_for<P...>{});
        if (RpcFailed(r)) return r;
        DeliverOutputs<P...>(decoded, std::index_sequence_for<P...>{}, a...);
        return result;
    }

    template <class... P, class Tuple, std::size_t... Index>
    static void ReadOutputs(CRpcStream& s, Tuple& decoded, RpcResult& r, std::index_sequence<Index...>) {
        (((TRpcParam<P>::kIsOutput && RpcSucceeded(r)) ? (r = TRpcParam<P>::Read(s, std::get<Index>(decoded)), 0) : 0),
         ...);
    }

    template <class... P, class Tuple, std::size_t... Index, class... A>
    static void DeliverOutputs(Tuple& decoded, std::index_sequence<Index...>, A&... a) {
        (DeliverOne<P>(a, std::get<Index>(decoded)), ...);
    }

    template <class P, class V, class S>
    static void DeliverOne(V& v, S& storage) {
        if constexpr (TRpcParam<P>::kIsOutput) TRpcParam<P>::Deliver(v, storage);
    }

    // Waits, within the instance's call time-out, for the answer with this method
    // number and call id.
    RpcResult WaitForAnswer(std::uint32_t method, std::uint32_t callId, RpcPtr<CRpcQueuedMessage>* answer) {
        m_bCallPending = true;
        m_ulPendingMethod = method;
        m_ulPendingCallId = callId;
        const std::uint32_t timeout = m_instance->CallTimeout();
        const std::uint32_t start = RpcClockMs();
        RpcResult r = 0;
        for (;;) {
            if (!m_unclaimed.empty()) {
                const std::uint32_t key = m_unclaimed.front();
                m_unclaimed.erase(m_unclaimed.begin());
                r = m_instance->GetHeldMessage(key, answer);
                m_instance->DropHeldMessage(key);  // the answer stays alive in *answer
                if (RpcFailed(r)) r = E_UNEXPECTED;
                break;
            }
            const std::uint32_t elapsed = RpcClockMs() - start;
            if (timeout != RPC_INFINITE && elapsed >= timeout) {
                r = RPC_E_CALL_TIMEOUT;
                break;
            }
            r = m_instance->WaitForAnswer(m_ulBindingId, timeout == RPC_INFINITE ? RPC_INFINITE : timeout - elapsed);
            if (RpcFailed(r)) break;
        }
        m_bCallPending = false;
        return r;
    }

    RpcPtr<CRpcInstance> m_instance;
    std::uint32_t m_ulBindingId = 0;
    std::vector<std::uint32_t> m_unclaimed;
    bool m_bCallPending = false;
    std::uint32_t m_ulPendingMethod = 0;
    std::uint32_t m_ulPendingCallId = 0;
};
