#include "EchoObject.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "RpcFrame.h"

EchoStats& TestEchoStats() {
    static EchoStats stats;
    return stats;
}

namespace {

std::vector<std::uint8_t> CallMessage(std::uint32_t method, const GUID& iid, std::uint32_t callId,
                                      const std::vector<std::uint8_t>& values) {
    std::vector<std::uint8_t> m(RPC_CALL_HEADER_SIZE + values.size());
    RpcStore32(m.data(), method);
    GuidToBytes(iid, m.data() + 4);
    RpcStore32(m.data() + 20, static_cast<std::uint32_t>(values.size()));
    RpcStore32(m.data() + 24, callId);
    if (!values.empty()) std::memcpy(m.data() + RPC_CALL_HEADER_SIZE, values.data(), values.size());
    return m;
}

class CTestEchoObject : public TRpcObject<ITestEcho> {
public:
    explicit CTestEchoObject(const GUID& iid) : m_iid(iid) { ++TestEchoStats().liveObjects; }
    ~CTestEchoObject() override { --TestEchoStats().liveObjects; }
    RpcResult QueryInterface(const GUID* iid, void** out) override {
        if (!iid || !out) return E_INVALIDARG;
        if (*iid != m_iid && *iid != IID_IRpcUnknown) return RPC_E_NO_INTERFACE;
        AddRef();
        *out = static_cast<ITestEcho*>(this);
        return 0;
    }
    RpcResult Echo(const std::vector<std::uint8_t>& in, std::vector<std::uint8_t>* out) override {
        ++TestEchoStats().echoes;
        *out = in;
        return 0;
    }
    RpcResult Notify(const std::vector<std::uint8_t>&) override {
        ++TestEchoStats().notifications;
        return 0;
    }
    RpcResult Swallow() override { return 0; }

private:
    GUID m_iid;
};

class CTestEchoStub : public TRpcObject<IRpcStub> {
public:
    explicit CTestEchoStub(const GUID& iid) : m_iid(iid) {}
    RpcResult QueryInterface(const GUID* iid, void** out) override {
        if (!iid || !out) return E_INVALIDARG;
        if (*iid != IID_IRpcStub && *iid != IID_IRpcUnknown) return RPC_E_NO_INTERFACE;
        AddRef();
        *out = static_cast<IRpcStub*>(this);
        return 0;
    }
    RpcResult Attach(CRpcInstance* instance, std::uint32_t bindingId, IRpcUnknown* object) override {
        m_pInstance = instance;
        m_ulBindingId = bindingId;
        m_object = RpcPtr<IRpcUnknown>::Retain(object);
        return 0;
    }
    void Detach() override { m_object.Reset(); }
    RpcResult Dispatch(const std::uint8_t* body, std::uint32_t length) override {
        if (!body || length < RPC_CALL_HEADER_SIZE) return E_INVALIDARG;
        const std::uint32_t method = RpcLoad32(body);
        if (GuidFromBytes(body + 4) != m_iid) return E_NOINTERFACE;
        const std::uint32_t callId = RpcLoad32(body + 24);
        const std::uint32_t argsLength = std::min(RpcLoad32(body + 20), length - RPC_CALL_HEADER_SIZE);
        std::vector<std::uint8_t> args(body + RPC_CALL_HEADER_SIZE, body + RPC_CALL_HEADER_SIZE + argsLength);
        RpcPtr<ITestEcho> echo;
        RpcResult r = m_object ? m_object->QueryInterface(&m_iid, echo.PutVoid()) : E_UNEXPECTED;
        if (RpcFailed(r)) return r;
        switch (method) {
        case ECHO_METHOD_ECHO: {
            std::vector<std::uint8_t> out;
            r = echo->Echo(args, &out);
            std::vector<std::uint8_t> values(4);
            RpcStore32(values.data(), static_cast<std::uint32_t>(r));
            values.insert(values.end(), out.begin(), out.end());
            const auto answer = CallMessage(method, m_iid, callId, values);
            m_pInstance->SendAsServer(m_ulBindingId, answer.data(), static_cast<std::uint32_t>(answer.size()),
                                      RPC_CALL_MODE_TWOWAY);
            return 0;
        }
        case ECHO_METHOD_NOTIFY:
            echo->Notify(args);
            return 0;
        case ECHO_METHOD_SWALLOW:
            echo->Swallow();
            return 0;
        default:
            return E_NOTIMPL;
        }
    }

private:
    GUID m_iid;
    CRpcInstance* m_pInstance = nullptr;
    std::uint32_t m_ulBindingId = 0;
    RpcPtr<IRpcUnknown> m_object;
};

}  // namespace

class CTestEchoProxy : public TRpcObject<ITestEcho, IRpcProxy> {
public:
    explicit CTestEchoProxy(const GUID& iid) : m_iid(iid) {}
    ~CTestEchoProxy() override { Detach(); }

    RpcResult QueryInterface(const GUID* iid, void** out) override {
        if (!iid || !out) return E_INVALIDARG;
        if (*iid == m_iid || *iid == IID_IRpcUnknown)
            *out = static_cast<ITestEcho*>(this);
        else if (*iid == IID_IRpcProxy)
            *out = static_cast<IRpcProxy*>(this);
        else
            return RPC_E_NO_INTERFACE;
        AddRef();
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
    RpcResult AnswerReceived(std::uint32_t key, const std::uint8_t* body, std::uint32_t length) override {
        ++TestEchoStats().answersReceived;
        if (length < RPC_CALL_HEADER_SIZE) return E_FAIL;
        if (GuidFromBytes(body + 4) != m_iid) return E_NOINTERFACE;
        const std::uint32_t method = RpcLoad32(body);
        if (method == ECHO_METHOD_NOTIFY) return E_FAIL;
        if (method != ECHO_METHOD_ECHO && method != ECHO_METHOD_SWALLOW) return E_NOTIMPL;
        m_unclaimed.push_back(key);
        return 0;
    }

    RpcResult Echo(const std::vector<std::uint8_t>& in, std::vector<std::uint8_t>* out) override {
        std::vector<std::uint8_t> answer;
        const RpcResult r = TwoWay(ECHO_METHOD_ECHO, in, &answer);
        if (RpcFailed(r)) return r;
        if (answer.size() < 4) return RPC_E_READ_PAST_END;
        const RpcResult result = static_cast<RpcResult>(RpcLoad32(answer.data()));
        if (RpcSucceeded(result)) out->assign(answer.begin() + 4, answer.end());
        return result;
    }
    RpcResult Notify(const std::vector<std::uint8_t>& in) override {
        if (!m_instance) return E_UNEXPECTED;
        const auto m = CallMessage(ECHO_METHOD_NOTIFY, m_iid, m_instance->NextCallId(), in);
        return m_instance->SendAsClient(m_ulBindingId, m.data(), static_cast<std::uint32_t>(m.size()),
                                        RPC_CALL_MODE_ONEWAY);
    }
    RpcResult Swallow() override {
        std::vector<std::uint8_t> answer;
        return TwoWay(ECHO_METHOD_SWALLOW, {}, &answer);
    }
    std::uint32_t BindingId() const { return m_ulBindingId; }

private:
    RpcResult TwoWay(std::uint32_t method, const std::vector<std::uint8_t>& in, std::vector<std::uint8_t>* values) {
        if (!m_instance) return E_UNEXPECTED;
        const std::uint32_t callId = m_instance->NextCallId();
        const auto m = CallMessage(method, m_iid, callId, in);
        RpcResult r = m_instance->SendAsClient(m_ulBindingId, m.data(), static_cast<std::uint32_t>(m.size()),
                                               RPC_CALL_MODE_TWOWAY);
        if (RpcFailed(r)) return r;
        for (;;) {
            r = m_instance->WaitForAnswer(m_ulBindingId);
            if (RpcFailed(r)) return r;
            for (auto it = m_unclaimed.begin(); it != m_unclaimed.end(); ++it) {
                RpcPtr<CRpcQueuedMessage> held;
                if (RpcFailed(m_instance->GetHeldMessage(*it, &held))) return E_UNEXPECTED;
                const std::uint8_t* body = held->Data();
                if (held->Length() < RPC_CALL_HEADER_SIZE || RpcLoad32(body) != method ||
                    RpcLoad32(body + 24) != callId)
                    continue;
                values->assign(body + RPC_CALL_HEADER_SIZE, body + held->Length());
                m_instance->DropHeldMessage(*it);
                m_unclaimed.erase(it);
                return 0;
            }
        }
    }

    GUID m_iid;
    RpcPtr<CRpcInstance> m_instance;
    std::uint32_t m_ulBindingId = 0;
    std::vector<std::uint32_t> m_unclaimed;
};

RpcResult CTestEchoFactory::QueryInterface(const GUID* iid, void** out) {
    if (!iid || !out) return E_INVALIDARG;
    if (*iid != IID_IRpcUnknown) return RPC_E_NO_INTERFACE;
    AddRef();
    *out = static_cast<IRpcFactory*>(this);
    return 0;
}

namespace {
template <class T>
RpcResult CreateAndQuery(const GUID* clsid, const GUID& known, const GUID& iidOfClass, const GUID* iid, void** out) {
    if (!clsid || !iid || !out) return E_INVALIDARG;
    if (*clsid != known) {
        *out = nullptr;
        return RPC_E_UNKNOWN_CLASS;
    }
    auto object = RpcPtr<T>::Adopt(new (std::nothrow) T(iidOfClass));
    if (!object) return RPC_E_OUTOFMEMORY;
    return object->QueryInterface(iid, out);
}
}  // namespace

RpcResult CTestEchoFactory::CreateObject(const GUID* clsid, const GUID* iid, void** out) {
    return CreateAndQuery<CTestEchoObject>(clsid, m_clsid, m_iid, iid, out);
}
RpcResult CTestEchoFactory::CreateProxy(const GUID* clsid, const GUID* iid, void** out) {
    return CreateAndQuery<CTestEchoProxy>(clsid, m_clsid, m_iid, iid, out);
}
RpcResult CTestEchoFactory::CreateStub(const GUID* clsid, const GUID* iid, void** out) {
    return CreateAndQuery<CTestEchoStub>(clsid, m_clsid, m_iid, iid, out);
}

std::uint32_t TestEchoBindingId(ITestEcho* proxy) { return static_cast<CTestEchoProxy*>(proxy)->BindingId(); }

RpcResult OpenTestEcho(CRpcInstance* instance, std::int32_t port, RpcPtr<ITestEcho>* out, const GUID& clsid,
                       const GUID& iid) {
    CRpcAddress address{};
    std::snprintf(address.szAddress, sizeof address.szAddress, "127.0.0.1");
    address.lPort = port;
    return instance->OpenRemote(&address, &clsid, &iid, out->PutVoid());
}
