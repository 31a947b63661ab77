// Answer decoding of every proxy: the first byte picks the interface, the second
// the method, the rest is the answer's values (result code and outputs). The same
// bytes are also handed to a proxy as a received answer.

#include <cstdint>

#include "FuzzSupport.h"
#include "NorvInterfaces.h"
#include "RawPeer.h"

namespace {

template <class I, class Proxy>
void Decode(std::uint32_t method, const std::uint8_t* values, std::size_t size) {
    CRpcStream s;
    s.Attach(values, static_cast<std::uint32_t>(size), false);
    I::DecodeAnswer(method, s);

    auto proxy = RpcMake<Proxy>();
    const Bytes body = CallBody(method, I::IID, 0xF0000000u, Bytes(values, values + size));
    proxy->AnswerReceived(1, body.data(), static_cast<std::uint32_t>(body.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::uint32_t method = data[1] % 13;
    const std::uint8_t* values = data + 2;
    const std::size_t n = size - 2;
    switch (data[0] % 11) {
    case 0: Decode<INorvKeepAlive, CNorvKeepAliveProxy>(method, values, n); break;
    case 1: Decode<INorvMonitorManager, CNorvMonitorManagerProxy>(method, values, n); break;
    case 2: Decode<INorvObjectMonitor, CNorvObjectMonitorProxy>(method, values, n); break;
    case 3: Decode<INorvVoiceMonitor, CNorvVoiceMonitorProxy>(method, values, n); break;
    case 4: Decode<INorvAtomicLoadingMonitor, CNorvAtomicLoadingMonitorProxy>(method, values, n); break;
    case 5: Decode<INorvResMixer, CNorvResMixerProxy>(method, values, n); break;
    case 6: Decode<IQuorvelEventSink, CQuorvelEventSinkProxy>(method, values, n); break;
    case 7: Decode<IQuorvelResourceSink, CQuorvelResourceSinkProxy>(method, values, n); break;
    case 8: Decode<IQuorvelAtomicLoadingSink, CQuorvelAtomicLoadingSinkProxy>(method, values, n); break;
    case 9: Decode<IQuorvelWindowNotifySink, CQuorvelWindowNotifySinkProxy>(method, values, n); break;
    default: Decode<IQuorvelSceneSink, CQuorvelSceneSinkProxy>(method, values, n); break;
    }
    return 0;
}
