// The simulated game on its own: repeatable from its seed, scene records within
// the caps, and a mixer that changes what the voices and resources report.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "NorvInterfaces.h"
#include "SimWorld.h"

namespace {

// Writes every notification as a line of text.
class Transcript : public ISimOutput {
public:
    std::vector<std::string> lines;
    std::uint32_t maxPaths = 0, maxVertices = 0;

    void Event(std::uint32_t id, std::uint32_t type, std::int32_t priority, std::int32_t object, std::int32_t objectType) override {
        Add("event", {id, type, std::uint32_t(priority), std::uint32_t(object), std::uint32_t(objectType)});
    }
    void Resource(std::uint32_t id, std::uint32_t type, std::int32_t volume) override {
        Add("resource", {id, type, std::uint32_t(volume)});
    }
    void Loading(std::uint32_t id, std::uint32_t type, std::uint32_t dataType, bool with) override {
        Add("loading", {id, type, dataType, with ? 1u : 0u});
    }
    void MixerNotice(std::uint32_t code, std::uint32_t id) override { Add("notice", {code, id}); }
    void SceneUpdate(const TRpcArray<CPropSceneObjectRecord>& objects, const CVec3&, std::int32_t zone, const CVec2&,
                     const CVec2&) override {
        for (const auto& o : objects) {
            maxPaths = std::max(maxPaths, o.m_ulPathCount);
            for (std::uint32_t p = 0; p < o.m_ulPathCount; ++p) maxVertices = std::max(maxVertices, o.m_ulVertexCount[p]);
        }
        Add("scene", {objects.Count(), std::uint32_t(zone)});
    }
    void ZoneAdded(const CPropZoneRecord& z, std::int32_t id) override { Add("zone+", {std::uint32_t(id), z.m_vertices.Count()}); }
    void ZoneRemoved(std::int32_t id) override { Add("zone-", {std::uint32_t(id)}); }
    void PortalAdded(const CPropPortalRecord& p, std::int32_t id) override {
        Add("portal+", {std::uint32_t(id), std::uint32_t(p.m_lZoneA), std::uint32_t(p.m_lZoneB)});
    }
    void OccluderValue(std::int32_t zone, std::int32_t occluder, float) override {
        Add("occluder", {std::uint32_t(zone), std::uint32_t(occluder)});
    }
    std::size_t Count(const std::string& prefix) const {
        std::size_t n = 0;
        for (const auto& l : lines) n += l.rfind(prefix, 0) == 0;
        return n;
    }

private:
    void Add(const char* what, std::initializer_list<std::uint32_t> values) {
        std::string line = what;
        for (auto v : values) line += " " + std::to_string(v);
        lines.push_back(line);
    }
};

std::vector<std::string> Play(std::uint32_t seed, int seconds) {
    Transcript out;
    CSimWorld world(seed, 20, &out);
    for (int t = 0; t < seconds * 1000 / int(SIM_TICK_MS); ++t) world.Tick();
    return out.lines;
}

TEST(SimWorld, TheSameSeedPlaysTheSameGame) {
    const auto a = Play(7, 5), b = Play(7, 5), c = Play(8, 5);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_GT(a.size(), 100u);
}

TEST(SimWorld, EveryKindOfNotificationHappensWithinTwentySeconds) {
    Transcript out;
    CSimWorld world(3, 20, &out);
    for (int t = 0; t < 20000 / int(SIM_TICK_MS); ++t) world.Tick();
    for (const char* kind : {"event", "resource", "loading", "scene", "occluder", "zone-", "zone+"})
        EXPECT_GT(out.Count(kind), 0u) << kind;
    EXPECT_EQ(out.Count("scene"), 100u) << "five scene updates a second";
    EXPECT_LE(out.maxPaths, PROP_MAX_PATHS);
    EXPECT_EQ(out.maxPaths, 2u);
    EXPECT_LE(out.maxVertices, PROP_MAX_PATH_VERTICES);
}

TEST(SimWorld, ANewSceneListenerGetsEveryZoneAndPortal) {
    Transcript out;
    CSimWorld world(1, 0, &out);
    world.SendScene(out);
    EXPECT_EQ(out.lines, (std::vector<std::string>{"zone+ 1 6", "zone+ 2 6", "zone+ 3 6", "zone+ 4 6", "portal+ 1 1 2",
                                                   "portal+ 2 1 3", "portal+ 3 2 4", "portal+ 4 3 4"}));
}

TEST(SimWorld, MixerVolumeMuteAndSoloChangeWhatVoicesReport) {
    Transcript out;
    CSimWorld world(5, 200, &out);
    // Play until two resources are on at once.
    TRpcArray<CNorvVoiceRecord> voices;
    for (int t = 0; t < 5000 && voices.Count() < 2; ++t) {
        world.Tick();
        world.FillVoices(voices);
    }
    ASSERT_GE(voices.Count(), 2u);
    const std::uint32_t a = static_cast<std::uint32_t>(voices[0].m_lResourceId);
    const std::uint32_t b = static_cast<std::uint32_t>(voices[1].m_lResourceId);
    const auto status = [&](std::uint32_t id) {
        TRpcArray<CNorvVoiceRecord> now;
        world.FillVoices(now);
        for (const auto& v : now)
            if (static_cast<std::uint32_t>(v.m_lResourceId) == id) return v.m_ulStatus;
        return 0u;
    };
    EXPECT_EQ(world.IsPlaying(a), 0);
    EXPECT_EQ(world.MixerAdd(a), 0);
    EXPECT_EQ(out.lines.back(), "notice 10 " + std::to_string(a));
    EXPECT_EQ(status(a), 1u);
    world.SetMute(a, true);
    EXPECT_EQ(status(a), 2u) << "muted voices turn virtual";
    world.SetMute(a, false);
    world.SetSolo(b, true);
    EXPECT_EQ(status(a), 2u) << "another resource is soloed";
    EXPECT_EQ(status(b), 1u);
    world.SetSolo(b, false);
    world.SetVolume(a, -90 * 65536);
    EXPECT_EQ(status(a), 2u) << "too quiet to hear";
    std::int32_t volume = 0;
    EXPECT_EQ(world.MixerVolume(a, &volume), 0);
    EXPECT_EQ(volume, -90 * 65536);
    world.SetVolume(a, 10 * 65536);
    world.MixerVolume(a, &volume);
    EXPECT_EQ(volume, 0) << "the mixer never amplifies";
    EXPECT_EQ(world.MixerAdd(0x00990001), E_INVALIDARG);
    EXPECT_EQ(world.IsPlaying(0x00990001), E_INVALIDARG);
}

}  // namespace
