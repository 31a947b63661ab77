// Both sides' link-message handling fed arbitrary link messages: a server link as
// if they came from a peer that opened an object here, and a client link as if
// they answered an object opened on a peer.

#include <cstdint>
#include <cstdio>

#include "FuzzSupport.h"
#include "NorvInterfaces.h"
#include "RpcClientLink.h"
#include "RpcServerLink.h"

namespace {

// A keep-alive object opened by this instance on itself: a real binding for the
// client link to deliver answers to.
std::uint32_t SelfBinding(RpcPtr<INorvKeepAlive>& keep) {
    CRpcInstance* instance = FuzzInstance();
    CRpcAddress address{};
    std::snprintf(address.szAddress, sizeof address.szAddress, "127.0.0.1");
    address.lPort = instance->ListeningPort();
    instance->SetOpenTimeout(2000);
    // The accept side of the open runs on the I/O thread, so opening on ourselves completes.
    instance->OpenRemote(&address, &INorvKeepAlive::CLSID, &INorvKeepAlive::IID, keep.PutVoid());
    return keep ? static_cast<CNorvKeepAliveProxy*>(keep.Get())->BindingId() : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CRpcInstance* instance = FuzzInstance();
    static RpcPtr<INorvKeepAlive> keep;
    static const std::uint32_t bindingId = SelfBinding(keep);

    auto frame = FuzzFrame(data, size);
    if (!frame) return 0;

    auto server = RpcMake<CRpcServerLink>(instance, nullptr);
    server->DataReceived(nullptr, frame.Get());
    server->DataReceived(nullptr, frame.Get());  // a second open on the same link is refused
    server->ChannelClosed(nullptr);              // drops whatever binding the message created

    auto client = RpcMake<CRpcClientLink>(instance);
    CRpcClientLink::OpenResultOf(frame.Get());
    client->SetBindingId(bindingId);
    client->DataReceived(nullptr, frame.Get());
    instance->Pump();  // requests run their stubs, answers reach the keep-alive proxy
    return 0;
}
