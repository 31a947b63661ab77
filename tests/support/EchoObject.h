#pragma once
// A small remote class for exercising the transport: a served object that echoes
// its arguments, counts one-way calls and can be told to swallow a request, with
// the proxy, stub and factory around it. Class and interface ids are chosen by the
// factory, so a test can give it any identity on the wire.

#include <atomic>
#include <cstdint>
#include <vector>

#include "RpcInstance.h"

inline constexpr GUID CLSID_TestEcho = MakeGuid("{6A0F5E1C-0B7D-4C11-9A2E-3F4B5C6D7E01}");
inline constexpr GUID IID_ITestEcho = MakeGuid("{6A0F5E1C-0B7D-4C11-9A2E-3F4B5C6D7E02}");

// Method numbers on the wire.
enum : std::uint32_t {
    ECHO_METHOD_ECHO = 1,     // two-way: answers 0 and the arguments
    ECHO_METHOD_NOTIFY = 2,   // one-way: counted
    ECHO_METHOD_SWALLOW = 3,  // two-way, but the stub never answers
};

struct EchoStats {
    std::atomic<int> liveObjects{0};
    std::atomic<int> notifications{0};
    std::atomic<int> echoes{0};
    std::atomic<int> answersReceived{0};  // by proxies, accepted or not
    void Reset() {
        liveObjects = notifications = echoes = answersReceived = 0;
    }
};
EchoStats& TestEchoStats();

struct ITestEcho : IRpcUnknown {
    virtual RpcResult Echo(const std::vector<std::uint8_t>& in, std::vector<std::uint8_t>* out) = 0;
    virtual RpcResult Notify(const std::vector<std::uint8_t>& in) = 0;
    virtual RpcResult Swallow() = 0;
};

class CTestEchoFactory : public TRpcObject<IRpcFactory> {
public:
    CTestEchoFactory(const GUID& clsid = CLSID_TestEcho, const GUID& iid = IID_ITestEcho)
        : m_clsid(clsid), m_iid(iid) {}
    RpcResult QueryInterface(const GUID* iid, void** out) override;
    RpcResult CreateObject(const GUID* clsid, const GUID* iid, void** out) override;
    RpcResult CreateProxy(const GUID* clsid, const GUID* iid, void** out) override;
    RpcResult CreateStub(const GUID* clsid, const GUID* iid, void** out) override;

private:
    GUID m_clsid, m_iid;
};

// The binding of a test echo proxy, to watch its connection's send backlog.
std::uint32_t TestEchoBindingId(ITestEcho* proxy);

// Opens a test echo object on a peer at 127.0.0.1:port.
RpcResult OpenTestEcho(CRpcInstance* instance, std::int32_t port, RpcPtr<ITestEcho>* out,
                       const GUID& clsid = CLSID_TestEcho, const GUID& iid = IID_ITestEcho);
