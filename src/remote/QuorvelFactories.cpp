#include "QuorvelFactories.h"

#include "NotificationSinks.h"

// The engine's objects are only ever called here; served on this side they answer E_NOTIMPL.
#define ENGINE_CLASS(I, C) RpcClassEntry<I, C##Skeleton, C##Proxy, C##Stub>()
#define SINK_CLASS(I, C) RpcClassEntry<I, C##Object, C##Proxy, C##Stub>()

RpcPtr<IRpcFactory> CreateQuorvelFactory() {
    return RpcMake<CRpcClassFactory>(std::vector<CRpcClassEntry>{
        ENGINE_CLASS(INorvKeepAlive, CNorvKeepAlive),
        ENGINE_CLASS(INorvMonitorManager, CNorvMonitorManager),
        SINK_CLASS(IQuorvelResourceSink, CQuorvelResourceSink),
        SINK_CLASS(IQuorvelEventSink, CQuorvelEventSink),
        SINK_CLASS(IQuorvelAtomicLoadingSink, CQuorvelAtomicLoadingSink),
        ENGINE_CLASS(INorvObjectMonitor, CNorvObjectMonitor),
        ENGINE_CLASS(INorvVoiceMonitor, CNorvVoiceMonitor),
        ENGINE_CLASS(INorvAtomicLoadingMonitor, CNorvAtomicLoadingMonitor),
        SINK_CLASS(IQuorvelWindowNotifySink, CQuorvelWindowNotifySink),
        ENGINE_CLASS(INorvResMixer, CNorvResMixer),
    });
}

RpcPtr<IRpcFactory> CreateQuorvelSceneFactory() {
    return RpcMake<CRpcClassFactory>(std::vector<CRpcClassEntry>{
        SINK_CLASS(IQuorvelSceneSink, CQuorvelSceneSink),
    });
}
