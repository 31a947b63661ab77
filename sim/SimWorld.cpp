#include "SimWorld.h"

#include "NorvInterfaces.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr float kRoom = 20.f;
constexpr float kPi = 3.14159265358979f;
constexpr std::int32_t kDb = 65536;
constexpr std::int32_t kSilence = -96 * kDb;

struct PortalGeometry {
    std::int32_t lId, lZoneA, lZoneB;
    CVec2 p1, p2;
};
const PortalGeometry kPortals[] = {
    {1, 1, 2, {20, 8}, {20, 12}},
    {2, 1, 3, {8, 20}, {12, 20}},
    {3, 2, 4, {28, 20}, {32, 20}},
    {4, 3, 4, {20, 28}, {20, 32}},
};

CVec3 PortalCenter(const PortalGeometry& p) { return {(p.p1.x + p.p2.x) / 2, (p.p1.y + p.p2.y) / 2, 1.5f}; }

const PortalGeometry* PortalBetween(std::int32_t a, std::int32_t b) {
    for (const auto& p : kPortals)
        if ((p.lZoneA == a && p.lZoneB == b) || (p.lZoneA == b && p.lZoneB == a)) return &p;
    return nullptr;
}

// Doorway centres on the way from zone a to zone b; diagonal rooms go through the
// room with the lower id of the two between them.
std::vector<CVec3> Route(std::int32_t a, std::int32_t b) {
    if (a == b) return {};
    if (const auto* p = PortalBetween(a, b)) return {PortalCenter(*p)};
    const std::int32_t via = (a == 1 || b == 1) ? 2 : 1;
    std::vector<CVec3> route = Route(a, via);
    for (const CVec3& c : Route(via, b)) route.push_back(c);
    return route;
}

float Distance(const CVec3& a, const CVec3& b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }

std::uint32_t VoiceType(std::uint32_t resourceType) {
    switch (resourceType) {
    case 1: case 3: case 4: return 0;  // Oneshot
    case 2: case 6: return 1;          // Looping
    case 5: return 2;                  // Theme
    case 7: return 3;                  // Synth
    default: return 4;                 // Invalid
    }
}

}  // namespace

std::int32_t SimZoneAt(const CVec3& p) {
    const int col = std::clamp(static_cast<int>(std::floor(p.x / kRoom)), 0, 1);
    const int row = std::clamp(static_cast<int>(std::floor(p.y / kRoom)), 0, 1);
    return 1 + col + 2 * row;
}

CSimWorld::CSimWorld(std::uint32_t seed, double eventsPerSecond, ISimOutput* output)
    : m_ulSeed(seed), m_rEventsPerSecond(eventsPerSecond), m_pOutput(output) {
    Restart();
}

void CSimWorld::Restart() {
    m_random.seed(m_ulSeed);
    m_ulTimeMs = 0;
    m_rEventDebt = 0;
    m_playing.clear();
    m_ulNextVoiceId = 1;
    m_bZone4Removed = false;
    m_walkers.clear();
    for (std::int32_t id = 1; id <= 5; ++id) {
        Walker w;
        w.lId = id;
        w.rSpeed = RandomFloat(2, 5);
        std::vector<CVec3> points;
        for (int i = 0; i < 4; ++i) points.push_back({RandomFloat(2, 38), RandomFloat(2, 38), 1.5f});
        // Between points in different rooms the walk goes through the doorways.
        for (std::size_t i = 0; i < points.size(); ++i) {
            const CVec3& from = points[i];
            const CVec3& to = points[(i + 1) % points.size()];
            w.waypoints.push_back(from);
            for (const CVec3& door : Route(SimZoneAt(from), SimZoneAt(to))) w.waypoints.push_back(door);
        }
        w.position = w.waypoints[0];
        m_walkers.push_back(std::move(w));
    }
    m_loaded.clear();
    m_loaded[SIM_DATA_SETTINGS | 1] = {1, 0, 2048};
    for (std::uint32_t bank = 1; bank <= 3; ++bank) m_loaded[SIM_DATA_SOUND | bank] = {1, 0, 262144u * bank};
    for (const SimEvent& e : SimSampleProject()[0].events) m_loaded[SIM_DATA_EVENT | e.ulId] = {1, 0, 64};
    MoveMicrophone();
}

void CSimWorld::Tick() {
    m_ulTimeMs += SIM_TICK_MS;
    MoveWalkers();
    MoveMicrophone();
    FireEvents();
    ExpireResources();
    if (m_ulTimeMs % 2000 == 0) ChurnLoading();
    SceneTick();
}

void CSimWorld::MoveWalkers() {
    const float dt = SIM_TICK_MS / 1000.f;
    for (Walker& w : m_walkers) {
        const CVec3& target = w.waypoints[w.next];
        const float d = Distance(w.position, target);
        const float step = w.rSpeed * dt;
        if (d <= step) {
            w.position = target;
            w.next = (w.next + 1) % w.waypoints.size();
            w.velocity = {};
            continue;
        }
        w.velocity = {(target.x - w.position.x) / d * w.rSpeed, (target.y - w.position.y) / d * w.rSpeed, 0};
        w.position.x += w.velocity.x * dt;
        w.position.y += w.velocity.y * dt;
    }
}

void CSimWorld::MoveMicrophone() {
    const float angle = 2 * kPi * static_cast<float>(m_ulTimeMs % 60000) / 60000.f;
    m_microphone = {20 + 12 * std::cos(angle), 20 + 12 * std::sin(angle), 1.7f};
    m_micDirection = {-std::sin(angle), std::cos(angle)};
}

void CSimWorld::FireEvents() {
    m_rEventDebt += m_rEventsPerSecond * SIM_TICK_MS / 1000.0;
    while (m_rEventDebt >= 1) {
        m_rEventDebt -= 1;
        const SimGroup& group = SimSampleProject()[Random(static_cast<std::uint32_t>(SimSampleProject().size()))];
        const SimEvent& event = group.events[Random(static_cast<std::uint32_t>(group.events.size()))];
        FireEvent(event, static_cast<std::int32_t>(Random(100)), m_walkers[Random(5)].lId, *m_pOutput);
    }
}

void CSimWorld::FireEvent(const SimEvent& event, std::int32_t priority, std::int32_t objectId, ISimOutput& to) {
    to.Event(event.ulId, event.ulType, priority, objectId, 1);
    if (event.ulType == 1)
        StartResource(event.ulResourceId, priority, objectId, to);
    else if (event.ulType == 2 || event.ulType == 3)
        StopResource(event.ulResourceId, to);
}

void CSimWorld::StartResource(std::uint32_t resourceId, std::int32_t priority, std::int32_t objectId,
                              ISimOutput& to) {
    const SimResource* resource = SimFindResource(resourceId);
    if (!resource) return;
    Load(SIM_DATA_RESOURCE | resourceId, to);
    const bool loops = resource->ulType == 5;
    const std::uint64_t endsAt = loops ? 0 : m_ulTimeMs + 1000 + Random(5000);
    auto it = m_playing.find(resourceId);
    if (it != m_playing.end()) {
        ++it->second.lInstance;
        it->second.ulEndsAtMs = endsAt;
    } else {
        m_playing[resourceId] = Playing{m_ulNextVoiceId++, priority, objectId, endsAt, 1};
        if (m_mix.count(resourceId)) to.MixerNotice(12, resourceId);
    }
    to.Resource(resourceId, resource->ulType, EffectiveVolume(*resource));
}

void CSimWorld::StopResource(std::uint32_t resourceId, ISimOutput& to) {
    if (m_playing.erase(resourceId) && m_mix.count(resourceId)) to.MixerNotice(13, resourceId);
}

void CSimWorld::ExpireResources() {
    std::vector<std::uint32_t> ended;
    for (const auto& [id, p] : m_playing)
        if (p.ulEndsAtMs != 0 && p.ulEndsAtMs <= m_ulTimeMs) ended.push_back(id);
    for (std::uint32_t id : ended) StopResource(id, *m_pOutput);
}

void CSimWorld::Load(std::uint32_t objectId, ISimOutput& to) {
    auto it = m_loaded.find(objectId);
    if (it != m_loaded.end()) {
        ++it->second.ulLoadCount;
        return;
    }
    m_loaded[objectId] = {1, 0, 4096 + Random(60000)};
    to.Loading(objectId, 4, objectId & 0xF0000000, true);
}

void CSimWorld::ChurnLoading() {
    ISimOutput& to = *m_pOutput;
    switch (Random(4)) {
    case 3: {  // load or unload the events of a group
        const auto& groups = SimSampleProject();
        const SimGroup& group = groups[Random(static_cast<std::uint32_t>(groups.size()))];
        const std::uint32_t id = SIM_DATA_EVENT | group.events[Random(static_cast<std::uint32_t>(group.events.size()))].ulId;
        if (m_loaded.erase(id))
            to.Loading(id, 5, SIM_DATA_EVENT, true);
        else
            Load(id, to);
        break;
    }
    case 0: {  // unload a resource nobody plays
        for (auto it = m_loaded.begin(); it != m_loaded.end(); ++it) {
            const std::uint32_t id = it->first;
            if ((id & 0xF0000000) == SIM_DATA_RESOURCE && !m_playing.count(id & 0x0FFFFFFF)) {
                m_loaded.erase(it);
                to.Loading(id, 5, SIM_DATA_RESOURCE, true);
                return;
            }
        }
        break;
    }
    case 1: {  // prefetch a sound bank, reported without its data type
        const std::uint32_t bank = SIM_DATA_SOUND | (4 + Random(4));
        if (!m_loaded.count(bank)) {
            m_loaded[bank] = {1, 0, 131072};
            to.Loading(bank, 2, 0, false);
        }
        break;
    }
    default:
        to.Loading(SIM_DATA_SETTINGS | 1, 6, SIM_DATA_SETTINGS, true);  // soft reload of the settings
        ++m_loaded[SIM_DATA_SETTINGS | 1].ulLoadCount;
        break;
    }
}

void CSimWorld::SceneTick() {
    ISimOutput& to = *m_pOutput;
    if (m_ulTimeMs % 200 == 0) {
        TRpcArray<CPropSceneObjectRecord> objects;
        if (objects.Allocate(static_cast<std::uint32_t>(m_walkers.size())))
            for (std::size_t i = 0; i < m_walkers.size(); ++i) objects[static_cast<std::uint32_t>(i)] = SceneObject(m_walkers[i]);
        to.SceneUpdate(objects, m_microphone, SimZoneAt(m_microphone), m_micDirection,
                       CVec2{-m_micDirection.y, m_micDirection.x});
    }
    if (m_ulTimeMs % 1000 == 0) {
        const std::int32_t zone = static_cast<std::int32_t>(m_ulTimeMs / 1000 % 4) + 1;
        const float value = 0.5f + 0.5f * std::sin(static_cast<float>(m_ulTimeMs) / 3000.f);
        if (!(zone == 4 && m_bZone4Removed)) to.OccluderValue(zone, zone * 10 + 1, value);
    }
    // Now and then the fourth room leaves the scene for two seconds.
    const std::uint64_t phase = m_ulTimeMs % 15000;
    if (phase == 10000 && !m_bZone4Removed) {
        m_bZone4Removed = true;
        to.ZoneRemoved(4);
    } else if (phase == 12000 && m_bZone4Removed) {
        m_bZone4Removed = false;
        to.ZoneAdded(Zone(4), 4);
    }
}

CPropSceneObjectRecord CSimWorld::SceneObject(const Walker& w) const {
    CPropSceneObjectRecord r;
    r.m_lObjectId = w.lId;
    r.m_physicalPosition = w.position;
    const std::vector<CVec3> route = Route(SimZoneAt(w.position), SimZoneAt(m_microphone));
    r.m_virtualPosition = route.empty() ? w.position : route.back();
    // The direct path, through the doorways when the rooms differ.
    std::uint32_t n = 0;
    r.m_pathVertices[0][n++] = w.position;
    for (const CVec3& door : route) r.m_pathVertices[0][n++] = door;
    r.m_pathVertices[0][n++] = m_microphone;
    r.m_ulVertexCount[0] = n;
    r.m_ulPathCount = 1;
    // In the same room, even-numbered objects also reach the microphone off the floor-side wall.
    if (route.empty() && w.lId % 2 == 0) {
        const float wallY = std::floor(w.position.y / kRoom) * kRoom;
        r.m_pathVertices[1][0] = w.position;
        r.m_pathVertices[1][1] = {(w.position.x + m_microphone.x) / 2, wallY, 1.5f};
        r.m_pathVertices[1][2] = m_microphone;
        r.m_ulVertexCount[1] = 3;
        r.m_ulPathCount = 2;
    }
    return r;
}

CPropZoneRecord CSimWorld::Zone(std::int32_t zoneId) const {
    const float x0 = kRoom * static_cast<float>((zoneId - 1) % 2);
    const float y0 = kRoom * static_cast<float>((zoneId - 1) / 2);
    CPropZoneRecord z;
    z.m_ulWord1 = static_cast<std::uint32_t>(zoneId);
    z.m_rBottomHeight = 0;
    z.m_rTopHeight = 4;
    z.m_vertices.Allocate(6);
    const float corners[6][2] = {{x0, y0}, {x0 + kRoom, y0}, {x0 + kRoom, y0 + kRoom}, {x0, y0 + kRoom},
                                 {x0 + 8, y0 + 8}, {x0 + 12, y0 + 12}};
    for (std::uint32_t i = 0; i < 6; ++i) z.m_vertices[i] = {corners[i][0], corners[i][1], 0, 0};
    z.m_wallLines.Allocate(1);
    z.m_wallLines[0] = {1, 0, 4};
    z.m_occluders.Allocate(1);
    z.m_occluders[0] = {4, 5, 0.5f, zoneId * 10 + 1, 0};
    return z;
}

void CSimWorld::SendScene(ISimOutput& to) const {
    for (std::int32_t zone = 1; zone <= 4; ++zone)
        if (!(zone == 4 && m_bZone4Removed)) to.ZoneAdded(Zone(zone), zone);
    for (const auto& p : kPortals) {
        CPropPortalRecord r;
        r.m_lZoneA = p.lZoneA;
        r.m_lZoneB = p.lZoneB;
        r.m_point1 = p.p1;
        r.m_point2 = p.p2;
        r.m_rBottomHeight = 0;
        r.m_rTopHeight = 2.5f;
        to.PortalAdded(r, p.lId);
    }
}

void CSimWorld::LoadNotification(std::uint32_t listenerKind, ISimOutput& to) {
    const auto& project = SimSampleProject();
    const SimGroup& group = project[Random(static_cast<std::uint32_t>(project.size()))];
    switch (listenerKind) {
    case NORV_LISTENER_EVENTS: {
        const SimEvent& e = group.events[Random(static_cast<std::uint32_t>(group.events.size()))];
        to.Event(e.ulId, e.ulType, static_cast<std::int32_t>(Random(100)), 1 + static_cast<std::int32_t>(Random(5)), 1);
        break;
    }
    case NORV_LISTENER_RESOURCES: {
        const SimResource& r = group.resources[Random(static_cast<std::uint32_t>(group.resources.size()))];
        to.Resource(r.ulId, r.ulType, EffectiveVolume(r));
        break;
    }
    case NORV_LISTENER_ATOMIC_LOADING:
        to.Loading(SIM_DATA_RESOURCE | group.resources[0].ulId, 4 + Random(2), SIM_DATA_RESOURCE, true);
        break;
    case NORV_LISTENER_MIXER:
        to.MixerNotice(10 + Random(4), group.resources[0].ulId);
        break;
    case NORV_LISTENER_SCENE: {
        m_ulTimeMs += SIM_TICK_MS;
        MoveWalkers();
        TRpcArray<CPropSceneObjectRecord> objects;
        if (objects.Allocate(static_cast<std::uint32_t>(m_walkers.size())))
            for (std::size_t i = 0; i < m_walkers.size(); ++i) objects[static_cast<std::uint32_t>(i)] = SceneObject(m_walkers[i]);
        to.SceneUpdate(objects, m_microphone, SimZoneAt(m_microphone), m_micDirection, m_micDirection);
        break;
    }
    default:
        break;
    }
}

std::int32_t CSimWorld::EffectiveVolume(const SimResource& resource) const {
    std::int64_t volume = resource.lVolume;
    auto it = m_mix.find(resource.ulId);
    if (it != m_mix.end()) volume += it->second.lVolume;
    return static_cast<std::int32_t>(std::max<std::int64_t>(volume, kSilence));
}

bool CSimWorld::Audible(std::uint32_t resourceId) const {
    const SimResource* resource = SimFindResource(resourceId);
    if (!resource) return false;
    auto it = m_mix.find(resourceId);
    if (it != m_mix.end() && it->second.bMuted) return false;
    const bool anySolo = std::any_of(m_mix.begin(), m_mix.end(), [](const auto& m) { return m.second.bSoloed; });
    if (anySolo && (it == m_mix.end() || !it->second.bSoloed)) return false;
    return EffectiveVolume(*resource) > -60 * kDb;
}

void CSimWorld::FillObjects(TRpcArray<CNorvObjectRecord>& objects) const {
    if (!objects.Allocate(static_cast<std::uint32_t>(m_walkers.size()))) return;
    for (std::size_t i = 0; i < m_walkers.size(); ++i) {
        const Walker& w = m_walkers[i];
        CNorvObjectRecord& r = objects[static_cast<std::uint32_t>(i)];
        r.m_ulObjectId = static_cast<std::uint32_t>(w.lId);
        r.m_lObjectType = 1;
        r.m_position = w.position;
        r.m_rValue1 = w.velocity.x, r.m_rValue2 = w.velocity.y, r.m_rValue3 = w.velocity.z;
        r.m_ulRollOffPresent = w.lId % 3 == 0 ? 0 : 1;
        // Saturation in 16.16 fixed point, the distances in metres; -1 switches one off.
        if (r.m_ulRollOffPresent)
            r.m_rRollOffA = w.lId % 2 ? -1.0f : 20.0f, r.m_rRollOffB = 40, r.m_rRollOffC = 65536, r.m_rRollOffD = 5;
    }
}

void CSimWorld::FillMicros(CNorvMicroList& micros) const {
    if (!micros.Allocate(1)) return;
    CNorvMicro& m = micros[0];
    m.m_ulMicroId = 1;
    m.m_record.m_position = m_microphone;
    m.m_record.m_second = {m_micDirection.x * 2.5f, m_micDirection.y * 2.5f, 0};
    m.m_record.m_front = {m_micDirection.x, m_micDirection.y, 0};
    m.m_record.m_top = {0, 0, 1};
}

void CSimWorld::FillVoices(TRpcArray<CNorvVoiceRecord>& voices) const {
    if (!voices.Allocate(static_cast<std::uint32_t>(m_playing.size()))) return;
    std::uint32_t i = 0;
    for (const auto& [resourceId, p] : m_playing) {
        const SimResource* resource = SimFindResource(resourceId);
        CNorvVoiceRecord& v = voices[i++];
        v.m_ulType = VoiceType(resource->ulType);
        v.m_ulStreaming = resource->ulType == 5 ? 1 : 0;
        v.m_lPriority = p.lPriority;
        v.m_lInstance = p.lInstance;
        v.m_lVoiceId = static_cast<std::int32_t>(p.ulVoiceId);
        v.m_lResourceId = static_cast<std::int32_t>(resourceId);
        v.m_ulStatus = Audible(resourceId) ? 1 : 2;
        v.m_ulWord8 = static_cast<std::uint32_t>(EffectiveVolume(*resource) / kDb);  // dB, truncated
        v.m_ulRollOffPresent = p.lObjectId % 3 == 0 ? 0 : 1;
        v.m_lRollOff1 = kDb;
        v.m_lRollOff4 = p.lObjectId % 2 ? -1 : 20 * kDb;
        v.m_lRollOff2 = 5 * kDb;
        v.m_lRollOff3 = 40 * kDb;
        v.m_ulNameLength = static_cast<std::uint32_t>(std::min<std::size_t>(resource->csName.size(), NORV_VOICE_NAME_MAX));
        std::memcpy(v.m_szName, resource->csName.data(), v.m_ulNameLength);
    }
}

void CSimWorld::FillLoaded(TRpcArray<CNorvLoadedObjectRecord>& loaded) const {
    if (!loaded.Allocate(static_cast<std::uint32_t>(m_loaded.size()))) return;
    std::uint32_t i = 0;
    for (const auto& [id, l] : m_loaded) {
        const bool playing = (id & 0xF0000000) == SIM_DATA_RESOURCE && m_playing.count(id & 0x0FFFFFFF);
        loaded[i++] = {id, id & 0xF0000000, l.ulLoadCount, playing ? 1u : l.ulReferences, 0, l.ulSize};
    }
}

RpcResult CSimWorld::MixerAdd(std::uint32_t resourceId) {
    if (!SimFindResource(resourceId)) return E_INVALIDARG;
    if (m_mix.emplace(resourceId, Mix{}).second) m_pOutput->MixerNotice(10, resourceId);
    return 0;
}

RpcResult CSimWorld::MixerRemove(std::uint32_t resourceId) {
    if (!SimFindResource(resourceId)) return E_INVALIDARG;
    if (m_mix.erase(resourceId)) m_pOutput->MixerNotice(11, resourceId);
    return 0;
}

RpcResult CSimWorld::IsPlaying(std::uint32_t resourceId) const {
    if (!SimFindResource(resourceId)) return E_INVALIDARG;
    return m_playing.count(resourceId) ? 0 : 1;
}

RpcResult CSimWorld::SetVolume(std::uint32_t resourceId, std::int32_t volume) {
    if (!SimFindResource(resourceId)) return E_INVALIDARG;
    m_mix[resourceId].lVolume = std::clamp(volume, kSilence, 0);
    return 0;
}

RpcResult CSimWorld::SetMute(std::uint32_t resourceId, bool muted) {
    if (!SimFindResource(resourceId)) return E_INVALIDARG;
    m_mix[resourceId].bMuted = muted;
    return 0;
}

RpcResult CSimWorld::SetSolo(std::uint32_t resourceId, bool soloed) {
    if (!SimFindResource(resourceId)) return E_INVALIDARG;
    m_mix[resourceId].bSoloed = soloed;
    return 0;
}

RpcResult CSimWorld::MixerVolume(std::uint32_t resourceId, std::int32_t* volume) const {
    auto it = m_mix.find(resourceId);
    if (!SimFindResource(resourceId)) return E_INVALIDARG;
    *volume = it == m_mix.end() ? 0 : it->second.lVolume;
    return 0;
}
