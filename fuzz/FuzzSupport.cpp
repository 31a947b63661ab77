#include "FuzzSupport.h"

#include <cstring>

#include "RpcFrame.h"

namespace {

class SilentSource : public IEventSource,
                     public IResourceSource,
                     public IAtomicLoadingSource,
                     public IMixerNoticeSource,
                     public ISceneSource {
public:
    RpcResult OnEvent(std::uint32_t, std::uint32_t, std::int32_t, std::int32_t, std::int32_t) override { return 0; }
    RpcResult OnResource(std::uint32_t, std::uint32_t, std::int32_t) override { return 0; }
    RpcResult OnAtomicLoading(std::uint32_t, std::uint32_t, std::uint32_t) override { return 0; }
    RpcResult PostToTargets(std::uint32_t, std::uint32_t) override { return 0; }
    RpcResult UpdateScene(const TRpcArray<CPropSceneObjectRecord>& objects, const CVec3&, std::int32_t,
                          const CVec2&, const CVec2&) override {
        // Touch what was decoded so the sanitizers see every byte of it.
        std::uint32_t sum = 0;
        for (const auto& o : objects)
            for (std::uint32_t p = 0; p < o.m_ulPathCount; ++p) sum += o.m_ulVertexCount[p];
        return sum > 64 ? E_FAIL : 0;
    }
    RpcResult AddZone(const CPropZoneRecord& zone, std::int32_t) override {
        return zone.m_vertices.Count() + zone.m_occluders.Count() > 0 ? 0 : 1;
    }
    RpcResult RemoveZone(std::int32_t) override { return 0; }
    RpcResult AddPortal(const CPropPortalRecord&, std::int32_t) override { return 0; }
    RpcResult RemovePortal(std::int32_t) override { return 0; }
    RpcResult SetOccluderValue(std::int32_t, std::int32_t, float) override { return 0; }
    RpcResult RenameOccluder(std::int32_t, std::int32_t) override { return 0; }
};

}  // namespace

CRpcInstance* FuzzInstance() {
    static RpcPtr<CRpcInstance> instance = [] {
        auto i = CRpcInstance::Create();
        i->RegisterFactory(CreateQuorvelFactory().Get());
        i->RegisterFactory(CreateQuorvelSceneFactory().Get());
        i->Start(0, RPC_PRIORITY_NORMAL);
        i->RegisterThread();
        static SilentSource source;
        auto& cookies = CSourceCookies::Instance();
        cookies.Register<IEventSource>(&source);
        cookies.Register<IResourceSource>(&source);
        cookies.Register<IAtomicLoadingSource>(&source);
        cookies.Register<IMixerNoticeSource>(&source);
        cookies.Register<ISceneSource>(&source);
        return i;
    }();
    return instance.Get();
}

RpcPtr<CRpcBuffer> FuzzFrame(const std::uint8_t* data, std::size_t size) {
    auto frame = CRpcBuffer::CreateCopy(data, static_cast<std::uint32_t>(size), true);
    if (frame) {
        RpcStore32(frame->Storage(), FRAME_DATA);
        RpcStore32(frame->Storage() + 4, static_cast<std::uint32_t>(size));
    }
    return frame;
}
