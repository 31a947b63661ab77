// The notification objects, driven the way the engine drives them: over loopback,
// through real proxies, into this side's instance whose main thread forwards each
// notification to the source that the cookie names.

#include <gtest/gtest.h>

#include <mutex>
#include <thread>

#include "NotificationSinks.h"
#include "QuorvelFactories.h"
#include "RawPeer.h"
#include "RpcFrame.h"
#include "ServingPeer.h"

namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

// One source of every kind, writing what it is handed as lines of text.
class RecordingSource : public IEventSource,
                        public IResourceSource,
                        public IAtomicLoadingSource,
                        public IMixerNoticeSource,
                        public ISceneSource {
public:
    RpcResult OnEvent(std::uint32_t id, std::uint32_t type, std::int32_t priority, std::int32_t object,
                      std::int32_t objectType) override {
        return Add("event", {id, type, std::uint32_t(priority), std::uint32_t(object), std::uint32_t(objectType)});
    }
    RpcResult OnResource(std::uint32_t id, std::uint32_t type, std::int32_t volume) override {
        return Add("resource", {id, type, std::uint32_t(volume)});
    }
    RpcResult OnAtomicLoading(std::uint32_t id, std::uint32_t type, std::uint32_t dataType) override {
        return Add("loading", {id, type, dataType});
    }
    RpcResult PostToTargets(std::uint32_t code, std::uint32_t value) override { return Add("notice", {code, value}); }
    RpcResult UpdateScene(const TRpcArray<CPropSceneObjectRecord>& objects, const CVec3& mic, std::int32_t zone,
                          const CVec2& direction, const CVec2& second) override {
        std::uint32_t vertices = 0;
        for (const auto& o : objects) vertices += o.m_ulVertexCount[0] + o.m_ulVertexCount[1];
        return Add("scene", {objects.Count(), vertices, std::uint32_t(mic.z), std::uint32_t(zone),
                             std::uint32_t(direction.y), std::uint32_t(second.x)});
    }
    RpcResult AddZone(const CPropZoneRecord& zone, std::int32_t id) override {
        return Add("zone+", {std::uint32_t(id), zone.m_vertices.Count(), zone.m_wallLines.Count(),
                             zone.m_occluders.Count(), std::uint32_t(zone.m_rTopHeight)});
    }
    RpcResult RemoveZone(std::int32_t id) override { return Add("zone-", {std::uint32_t(id)}); }
    RpcResult AddPortal(const CPropPortalRecord& portal, std::int32_t id) override {
        return Add("portal+", {std::uint32_t(id), std::uint32_t(portal.m_lZoneA), std::uint32_t(portal.m_lZoneB)});
    }
    RpcResult RemovePortal(std::int32_t id) override { return Add("portal-", {std::uint32_t(id)}); }
    RpcResult SetOccluderValue(std::int32_t zone, std::int32_t occluder, float value) override {
        return Add("occluder", {std::uint32_t(zone), std::uint32_t(occluder), std::uint32_t(value * 100)});
    }
    RpcResult RenameOccluder(std::int32_t from, std::int32_t to) override {
        return Add("rename", {std::uint32_t(from), std::uint32_t(to)});
    }

    Lines WaitFor(std::size_t count) {
        for (int i = 0; i < 3000; ++i) {
            {
                std::lock_guard lock(m_lock);
                if (m_lines.size() >= count) return m_lines;
            }
            std::this_thread::sleep_for(1ms);
        }
        std::lock_guard lock(m_lock);
        return m_lines;
    }

private:
    RpcResult Add(const char* what, std::initializer_list<std::uint32_t> values) {
        std::string line = what;
        for (std::uint32_t v : values) line += " " + std::to_string(v);
        std::lock_guard lock(m_lock);
        m_lines.push_back(line);
        return 0;
    }
    std::mutex m_lock;
    Lines m_lines;
};

struct NotificationSinks : ::testing::Test {
    ServingPeer quorvel{FactoryList{CreateQuorvelFactory(), CreateQuorvelSceneFactory()}};
    CallingPeer engine{FactoryList{CreateQuorvelFactory(), CreateQuorvelSceneFactory()}};
    RecordingSource source;
};

// Registers the source for the sink's kind and keeps it registered for the test.
template <class Source>
struct Registered {
    explicit Registered(Source* s) : cookie(CSourceCookies::Instance().Register(s)) {}
    ~Registered() { CSourceCookies::Instance().Unregister(cookie); }
    RpcCookie cookie;
};

TEST_F(NotificationSinks, EventsFlowBetweenMethod1AndMethod2Only) {
    Registered<IEventSource> reg(&source);
    RpcPtr<IQuorvelEventSink> sink;
    ASSERT_EQ(engine.Open(quorvel.Port(), &sink), RPC_S_OK);
    EXPECT_EQ(sink->OnEvent(1, 1, 1, 1, 1), 0);  // before method 1: dropped
    EXPECT_EQ(sink->SetCookie(reg.cookie), 0);
    EXPECT_EQ(sink->OnEvent(0x100, 2, -3, 44, 5), 0);
    EXPECT_EQ(sink->OnEvent(0x101, 2, 7, 45, 5), 0);
    EXPECT_EQ(sink->ClearCookie(), 0);
    EXPECT_EQ(sink->OnEvent(9, 9, 9, 9, 9), 0);  // after method 2: dropped
    EXPECT_EQ(sink->SetCookie(reg.cookie), 0);
    EXPECT_EQ(sink->OnEvent(0x102, 0, 0, 0, 0), 0);  // a fence: everything before it has been handled
    EXPECT_EQ(source.WaitFor(3), (Lines{"event 256 2 4294967293 44 5", "event 257 2 7 45 5", "event 258 0 0 0 0"}));
}

TEST_F(NotificationSinks, ResourcesLoadingAndMixerNotices) {
    Registered<IResourceSource> resources(&source);
    Registered<IAtomicLoadingSource> loading(&source);
    Registered<IMixerNoticeSource> mixer(&source);
    RpcPtr<IQuorvelResourceSink> resourceSink;
    RpcPtr<IQuorvelAtomicLoadingSink> loadingSink;
    RpcPtr<IQuorvelWindowNotifySink> mixerSink;
    ASSERT_EQ(engine.Open(quorvel.Port(), &resourceSink), RPC_S_OK);
    ASSERT_EQ(engine.Open(quorvel.Port(), &loadingSink), RPC_S_OK);
    ASSERT_EQ(engine.Open(quorvel.Port(), &mixerSink), RPC_S_OK);
    resourceSink->SetCookie(resources.cookie);
    loadingSink->SetCookie(loading.cookie);
    mixerSink->SetCookie(mixer.cookie);

    resourceSink->OnResource(0x00020001, 1, -3 * 65536);
    Lines got = source.WaitFor(1);
    loadingSink->OnAtomicLoading(5, 1);     // method 3: no data type
    loadingSink->OnAtomicLoading(5, 1, 0);  // method 4 with data type 0: the same record
    loadingSink->OnAtomicLoading(6, 2, 3);
    got = source.WaitFor(4);
    using Notice = RpcResult (IQuorvelWindowNotifySink::*)(std::uint32_t);
    for (Notice send : {&IQuorvelWindowNotifySink::Notice10, &IQuorvelWindowNotifySink::Notice11,
                        &IQuorvelWindowNotifySink::Notice12, &IQuorvelWindowNotifySink::Notice13}) {
        ((*mixerSink).*send)(77);
        got = source.WaitFor(got.size() + 1);
    }
    EXPECT_EQ(got, (Lines{"resource 131073 1 4294770688", "loading 5 1 0", "loading 5 1 0", "loading 6 2 3",
                          "notice 10 77", "notice 11 77", "notice 12 77", "notice 13 77"}));
}

TEST_F(NotificationSinks, SceneNotificationsArriveDecoded) {
    Registered<ISceneSource> reg(&source);
    RpcPtr<IQuorvelSceneSink> sink;
    ASSERT_EQ(engine.Open(quorvel.Port(), &sink), RPC_S_OK);
    sink->SetCookie(reg.cookie);

    TRpcArray<CPropSceneObjectRecord> objects;
    objects.Allocate(2);
    objects[0].m_ulPathCount = 2;
    objects[0].m_ulVertexCount[0] = 3;
    objects[0].m_ulVertexCount[1] = 32;
    objects[1].m_ulPathCount = 0;
    EXPECT_EQ(sink->UpdateScene(objects, CVec3{0, 0, 5}, 12, CVec2{0, 1}, CVec2{2, 0}), 0);
    CPropZoneRecord zone;
    zone.m_vertices.Allocate(4);
    zone.m_wallLines.Allocate(1);
    zone.m_rTopHeight = 3;
    EXPECT_EQ(sink->AddZone(zone, 12), 0);
    EXPECT_EQ(sink->RemoveZone(12), 0);
    CPropPortalRecord portal;
    portal.m_lZoneA = 12;
    portal.m_lZoneB = 13;
    EXPECT_EQ(sink->AddPortal(portal, 4), 0);
    EXPECT_EQ(sink->RemovePortal(4), 0);
    EXPECT_EQ(sink->SetOccluderValue(12, 3, 0.5f), 0);
    EXPECT_EQ(sink->RenameOccluder(3, 8), 0);
    EXPECT_EQ(source.WaitFor(7), (Lines{"scene 2 35 5 12 1 2", "zone+ 12 4 1 0 3", "zone- 12", "portal+ 4 12 13",
                                        "portal- 4", "occluder 12 3 50", "rename 3 8"}));
}

TEST_F(NotificationSinks, CookiesThatNameNoLiveSourceAreIgnored) {
    RpcPtr<IQuorvelEventSink> sink;
    ASSERT_EQ(engine.Open(quorvel.Port(), &sink), RPC_S_OK);
    RpcCookie stale;
    {
        Registered<IEventSource> reg(&source);
        stale = reg.cookie;
    }
    Registered<IResourceSource> otherKind(&source);
    sink->SetCookie(stale);
    sink->OnEvent(1, 0, 0, 0, 0);
    sink->SetCookie(otherKind.cookie);  // a resource source behind an event sink
    sink->OnEvent(2, 0, 0, 0, 0);
    Registered<IEventSource> live(&source);
    sink->SetCookie(live.cookie);
    sink->OnEvent(3, 0, 0, 0, 0);
    EXPECT_EQ(source.WaitFor(1), (Lines{"event 3 0 0 0 0"}));
}

TEST_F(NotificationSinks, MalformedSceneRecordsAreDropped) {
    Registered<ISceneSource> reg(&source);
    RawConnection c = RawConnection::ConnectTo(quorvel.Port());
    Bytes clsid;
    PutGuid(clsid, IQuorvelSceneSink::CLSID);
    ASSERT_TRUE(c.Send(DataFrame(LINK_OPEN, clsid)));
    ASSERT_TRUE(c.ReadFrame());
    Bytes cookie;
    Put32(cookie, reg.cookie);
    const GUID iid = IQuorvelSceneSink::IID;
    c.Send(DataFrame(LINK_CALL_ONEWAY, CallBody(1, iid, 1, cookie)));
    Bytes hostile;
    Put32(hostile, 0x40000000);  // forty million objects in a few bytes
    Put32(hostile, 0);
    c.Send(DataFrame(LINK_CALL_ONEWAY, CallBody(3, iid, 2, hostile)));
    Bytes zone(24, 0);
    Put32(zone, 0xFFFFFFFF);  // vertex count
    c.Send(DataFrame(LINK_CALL_ONEWAY, CallBody(4, iid, 3, zone)));
    Bytes removal;
    Put32(removal, 5);
    c.Send(DataFrame(LINK_CALL_ONEWAY, CallBody(5, iid, 4, removal)));
    EXPECT_EQ(source.WaitFor(1), (Lines{"zone- 5"}));
}

TEST_F(NotificationSinks, MethodsOutsideTheInterfaceGetNoAnswer) {
    // The engine classes are served here by skeletons: every method answers E_NOTIMPL,
    // and a method number past the last one gets no answer at all.
    RawConnection c = RawConnection::ConnectTo(quorvel.Port());
    Bytes clsid;
    PutGuid(clsid, INorvKeepAlive::CLSID);
    ASSERT_TRUE(c.Send(DataFrame(LINK_OPEN, clsid)));
    ASSERT_TRUE(c.ReadFrame());
    c.Send(DataFrame(LINK_CALL, CallBody(2, INorvKeepAlive::IID, 1, {})));
    c.Send(DataFrame(LINK_CALL, CallBody(1, INorvMonitorManager::IID, 2, {})));  // another interface
    c.Send(DataFrame(LINK_CALL, CallBody(1, INorvKeepAlive::IID, 3, {})));
    auto answer = c.ReadFrame();
    ASSERT_TRUE(answer);
    EXPECT_EQ(Get32(*answer, 40), 3u);
    EXPECT_EQ(Get32(*answer, 44), static_cast<std::uint32_t>(E_NOTIMPL));
    EXPECT_TRUE(c.Quiet(50));
}

}  // namespace
