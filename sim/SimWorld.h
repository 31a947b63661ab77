#pragma once
// The simulated game: four rooms joined by doorways, sound objects walking between
// them with propagation paths to a circling microphone, sound events that start
// and stop resources, voices for the playing resources, sound data loaded and
// unloaded, and the resource mixer's volumes, mutes and solos.
//
// Game time advances in fixed ticks and every choice comes from one generator
// seeded at Restart, so the same seed gives the same sequence of notifications.

#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <vector>

#include "NorvRecords.h"
#include "SimOutput.h"
#include "SimProject.h"

inline constexpr std::uint32_t SIM_TICK_MS = 20;

// Atomic loading: the top four bits of an object id give its data type.
inline constexpr std::uint32_t SIM_DATA_EVENT = 0x10000000;
inline constexpr std::uint32_t SIM_DATA_RESOURCE = 0x20000000;
inline constexpr std::uint32_t SIM_DATA_SOUND = 0x30000000;
inline constexpr std::uint32_t SIM_DATA_SETTINGS = 0x40000000;

class CSimWorld {
public:
    CSimWorld(std::uint32_t seed, double eventsPerSecond, ISimOutput* output);

    // Back to game time 0, with the seed's generator and nothing playing.
    void Restart();
    void Tick();
    std::uint64_t GameTimeMs() const { return m_ulTimeMs; }

    // What a new scene listener is given first.
    void SendScene(ISimOutput& to) const;
    // One notification of the kind, for load runs: as cheap as the game allows.
    void LoadNotification(std::uint32_t listenerKind, ISimOutput& to);

    void FillObjects(TRpcArray<CNorvObjectRecord>& objects) const;
    void FillMicros(CNorvMicroList& micros) const;
    void FillVoices(TRpcArray<CNorvVoiceRecord>& voices) const;
    void FillLoaded(TRpcArray<CNorvLoadedObjectRecord>& loaded) const;

    // The resource mixer. Unknown resource ids answer E_INVALIDARG.
    RpcResult MixerAdd(std::uint32_t resourceId);
    RpcResult MixerRemove(std::uint32_t resourceId);
    RpcResult IsPlaying(std::uint32_t resourceId) const;  // 0 playing, 1 not
    RpcResult SetVolume(std::uint32_t resourceId, std::int32_t volume);
    RpcResult SetMute(std::uint32_t resourceId, bool muted);
    RpcResult SetSolo(std::uint32_t resourceId, bool soloed);
    RpcResult MixerVolume(std::uint32_t resourceId, std::int32_t* volume) const;

    std::size_t PlayingCount() const { return m_playing.size(); }

private:
    struct Walker {
        std::int32_t lId;
        std::vector<CVec3> waypoints;
        std::size_t next = 1;
        float rSpeed;
        CVec3 position;
        CVec3 velocity;
    };
    struct Playing {
        std::uint32_t ulVoiceId;
        std::int32_t lPriority;
        std::int32_t lObjectId;
        std::uint64_t ulEndsAtMs;  // 0 while it loops
        std::int32_t lInstance;
    };
    struct Mix {
        std::int32_t lVolume = 0;
        bool bMuted = false;
        bool bSoloed = false;
    };
    struct Loaded {
        std::uint32_t ulLoadCount = 1;
        std::uint32_t ulReferences = 0;
        std::uint32_t ulSize = 0;
    };

    std::uint32_t Random(std::uint32_t n) { return n ? static_cast<std::uint32_t>(m_random() % n) : 0; }
    float RandomFloat(float lo, float hi) { return lo + (hi - lo) * static_cast<float>(m_random() % 10000) / 10000.f; }
    void MoveWalkers();
    void MoveMicrophone();
    void FireEvents();
    void FireEvent(const SimEvent& event, std::int32_t priority, std::int32_t objectId, ISimOutput& to);
    void StartResource(std::uint32_t resourceId, std::int32_t priority, std::int32_t objectId, ISimOutput& to);
    void StopResource(std::uint32_t resourceId, ISimOutput& to);
    void ExpireResources();
    void ChurnLoading();
    void Load(std::uint32_t objectId, ISimOutput& to);
    void SceneTick();
    std::int32_t EffectiveVolume(const SimResource& resource) const;
    bool Audible(std::uint32_t resourceId) const;
    CPropSceneObjectRecord SceneObject(const Walker& w) const;
    CPropZoneRecord Zone(std::int32_t zoneId) const;

    const std::uint32_t m_ulSeed;
    const double m_rEventsPerSecond;
    ISimOutput* const m_pOutput;
    std::mt19937 m_random;
    std::uint64_t m_ulTimeMs = 0;
    double m_rEventDebt = 0;
    std::vector<Walker> m_walkers;
    CVec3 m_microphone;
    CVec2 m_micDirection;
    std::map<std::uint32_t, Playing> m_playing;  // by resource id
    std::uint32_t m_ulNextVoiceId = 1;
    std::map<std::uint32_t, Mix> m_mix;          // resources added to the mixer
    std::map<std::uint32_t, Loaded> m_loaded;    // atomic objects by id
    bool m_bZone4Removed = false;
};

// The rooms: zone ids 1 to 4 on a 2 x 2 grid of 20 x 20 rooms.
std::int32_t SimZoneAt(const CVec3& p);
