// Stub dispatch of every class with arbitrary call bodies: the first input byte
// picks the class, the rest is the call body after its interface id is set, so
// that the decoders of every method are reached.

#include <cstdint>
#include <cstring>
#include <vector>

#include "FuzzSupport.h"
#include "NorvInterfaces.h"

namespace {
struct Class {
    GUID clsid;
    GUID iid;
};
const std::vector<Class> kClasses = {
    {INorvKeepAlive::CLSID, INorvKeepAlive::IID},
    {INorvMonitorManager::CLSID, INorvMonitorManager::IID},
    {IQuorvelResourceSink::CLSID, IQuorvelResourceSink::IID},
    {IQuorvelEventSink::CLSID, IQuorvelEventSink::IID},
    {IQuorvelAtomicLoadingSink::CLSID, IQuorvelAtomicLoadingSink::IID},
    {INorvObjectMonitor::CLSID, INorvObjectMonitor::IID},
    {INorvVoiceMonitor::CLSID, INorvVoiceMonitor::IID},
    {INorvAtomicLoadingMonitor::CLSID, INorvAtomicLoadingMonitor::IID},
    {IQuorvelWindowNotifySink::CLSID, IQuorvelWindowNotifySink::IID},
    {INorvResMixer::CLSID, INorvResMixer::IID},
    {IQuorvelSceneSink::CLSID, IQuorvelSceneSink::IID},
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    CRpcInstance* instance = FuzzInstance();
    static auto first = CreateQuorvelFactory();
    static auto second = CreateQuorvelSceneFactory();
    const Class& c = kClasses[data[0] % kClasses.size()];
    IRpcFactory* factory = c.clsid == IQuorvelSceneSink::CLSID ? second.Get() : first.Get();

    RpcPtr<IRpcStub> stub;
    RpcPtr<IRpcUnknown> object;
    if (RpcFailed(factory->CreateStub(&c.clsid, &IID_IRpcStub, stub.PutVoid())) ||
        RpcFailed(factory->CreateObject(&c.clsid, &IID_IRpcUnknown, object.PutVoid())))
        return 0;
    stub->Attach(instance, 0, object.Get());

    std::vector<std::uint8_t> body(data + 1, data + size);
    // Mostly the right interface id, sometimes the fuzzer's own.
    if (body.size() >= 20 && !(data[0] & 0x80)) GuidToBytes(c.iid, body.data() + 4);
    stub->Dispatch(body.data(), static_cast<std::uint32_t>(body.size()));
    stub->Detach();
    return 0;
}
