#pragma once
// Every remote interface that this program and the Norv engine share: the six
// interfaces of engine objects, and the five notification interfaces whose objects
// this program serves and the engine calls. Each table lists the methods in number
// order with their parameters in wire order; RPC_REMOTE_INTERFACE derives the
// interface, its proxy (C...Proxy), stub (C...Stub) and served-object skeleton
// (C...Skeleton, every method answering E_NOTIMPL) from it.

#include "NorvRecords.h"
#include "RpcInterface.h"

// ---- Engine objects ------------------------------------------------------------------

#define NORV_KEEP_ALIVE_METHODS(M) M(1, TWOWAY, IsAlive, (), ())
RPC_REMOTE_INTERFACE(INorvKeepAlive, CNorvKeepAlive, "{B2C8CFC9-4568-B37B-84B0-2CB3DE5C60FB}",
                     "{9EB2B9C8-43CE-48C0-CC43-A698E67D0088}", NORV_KEEP_ALIVE_METHODS)

#define NORV_MONITOR_MANAGER_METHODS(M)                                                              \
    M(1, TWOWAY, SetQuorvelAddress, (const char* address, std::uint32_t port), (address, port))     \
    M(2, TWOWAY, Reserved2, (), ())                                                                  \
    M(3, TWOWAY, GetVersion, (CRpcFixedText * version), (version))                                   \
    M(4, TWOWAY, AddListener, (std::uint32_t listenerKind, RpcCookie cookie), (listenerKind, cookie)) \
    M(5, TWOWAY, RemoveListener, (std::uint32_t listenerKind), (listenerKind))
RPC_REMOTE_INTERFACE(INorvMonitorManager, CNorvMonitorManager, "{6E4843E2-4B0C-D3DC-9CE3-97B253B35161}",
                     "{8DE722B2-4368-1AD6-94E8-DDB4DA8AB0CE}", NORV_MONITOR_MANAGER_METHODS)

#define NORV_OBJECT_MONITOR_METHODS(M)                                           \
    M(1, TWOWAY, StartMonitoring, (), ())                                        \
    M(2, TWOWAY, StopMonitoring, (), ())                                         \
    M(3, TWOWAY, GetObjects, (TRpcArray<CNorvObjectRecord> * objects), (objects)) \
    M(4, TWOWAY, GetMicros, (CNorvMicroList * micros), (micros))
RPC_REMOTE_INTERFACE(INorvObjectMonitor, CNorvObjectMonitor, "{9C5DCAD3-4499-2FBE-FC18-029B1BEE93F3}",
                     "{9C5DCAD3-4499-2FBE-FC18-029B9BEE93F3}", NORV_OBJECT_MONITOR_METHODS)

#define NORV_VOICE_MONITOR_METHODS(M)    \
    M(1, TWOWAY, StartMonitoring, (), ()) \
    M(2, TWOWAY, StopMonitoring, (), ())  \
    M(3, TWOWAY, GetVoices, (TRpcArray<CNorvVoiceRecord> * voices), (voices))
RPC_REMOTE_INTERFACE(INorvVoiceMonitor, CNorvVoiceMonitor, "{9C5DCAD3-4499-2FBE-FC18-029B1CEE93F3}",
                     "{9C5DCAD3-4499-2FBE-FC18-029B9CEE93F3}", NORV_VOICE_MONITOR_METHODS)

#define NORV_ATOMIC_LOADING_MONITOR_METHODS(M) \
    M(1, TWOWAY, GetLoadedObjects, (TRpcArray<CNorvLoadedObjectRecord> * objects), (objects))
RPC_REMOTE_INTERFACE(INorvAtomicLoadingMonitor, CNorvAtomicLoadingMonitor, "{D9BF2830-40E6-9A98-ABDA-09B73A0C93F4}",
                     "{83A4EEDD-4481-F723-FEB3-ADB6C7118386}", NORV_ATOMIC_LOADING_MONITOR_METHODS)

// Every method but 9 takes the resource id first; volumes are dB x 65536.
#define NORV_RES_MIXER_METHODS(M)                                                                   \
    M(1, TWOWAY, AddResource, (std::uint32_t resourceId), (resourceId))                             \
    M(2, TWOWAY, RemoveResource, (std::uint32_t resourceId), (resourceId))                          \
    M(3, TWOWAY, Reserved3, (std::uint32_t resourceId), (resourceId))                               \
    M(4, ONEWAY, Reserved4, (std::uint32_t resourceId), (resourceId))                               \
    M(5, TWOWAY, IsPlaying, (std::uint32_t resourceId), (resourceId))                               \
    M(6, ONEWAY, SetVolume, (std::uint32_t resourceId, std::int32_t volume), (resourceId, volume))   \
    M(7, TWOWAY, Reserved7, (std::uint32_t resourceId, std::int32_t * value), (resourceId, value))   \
    M(8, ONEWAY, SetMute, (std::uint32_t resourceId, std::int32_t muted), (resourceId, muted))       \
    M(9, ONEWAY, Reserved9, (std::int32_t value), (value))                                          \
    M(10, ONEWAY, SetSolo, (std::uint32_t resourceId, std::int32_t soloed), (resourceId, soloed))    \
    M(11, ONEWAY, Reserved11, (std::uint32_t resourceId), (resourceId))
RPC_REMOTE_INTERFACE(INorvResMixer, CNorvResMixer, "{40C268CA-42DD-E04E-BE40-F2A362A7AC8C}",
                     "{5D2C75DA-4C41-DC83-C5ED-9DB87127DE46}", NORV_RES_MIXER_METHODS)

// ---- Notification objects served by this program --------------------------------------

// Methods 1 and 2 of every notification interface.
#define QUORVEL_SINK_COOKIE_METHODS(M)                     \
    M(1, ONEWAY, SetCookie, (RpcCookie cookie), (cookie)) \
    M(2, ONEWAY, ClearCookie, (), ())

#define QUORVEL_EVENT_SINK_METHODS(M)                                                                              \
    QUORVEL_SINK_COOKIE_METHODS(M)                                                                                 \
    M(3, ONEWAY, OnEvent,                                                                                          \
      (std::uint32_t eventId, std::uint32_t eventType, std::int32_t priority, std::int32_t objectId,               \
       std::int32_t objectType),                                                                                   \
      (eventId, eventType, priority, objectId, objectType))
RPC_REMOTE_INTERFACE(IQuorvelEventSink, CQuorvelEventSink, "{9EF7F1BF-43B9-1B85-0AF7-E0817838CAE2}",
                     "{D8AC1384-4372-73A9-68B6-7FAD22AB8DAF}", QUORVEL_EVENT_SINK_METHODS)

#define QUORVEL_RESOURCE_SINK_METHODS(M)                                                             \
    QUORVEL_SINK_COOKIE_METHODS(M)                                                                   \
    M(3, ONEWAY, OnResource, (std::uint32_t resourceId, std::uint32_t resourceType, std::int32_t volume), \
      (resourceId, resourceType, volume))
RPC_REMOTE_INTERFACE(IQuorvelResourceSink, CQuorvelResourceSink, "{566F7D09-4E9A-0EFF-413F-5BA306E82794}",
                     "{D5008716-443F-4CBA-1B81-58807EAA4DEE}", QUORVEL_RESOURCE_SINK_METHODS)

// Methods 3 and 4 share one handler name: without and with the data type.
#define QUORVEL_ATOMIC_LOADING_SINK_METHODS(M)                                                               \
    QUORVEL_SINK_COOKIE_METHODS(M)                                                                           \
    M(3, ONEWAY, OnAtomicLoading, (std::uint32_t objectId, std::uint32_t eventType), (objectId, eventType)) \
    M(4, ONEWAY, OnAtomicLoading, (std::uint32_t objectId, std::uint32_t eventType, std::uint32_t dataType), \
      (objectId, eventType, dataType))
RPC_REMOTE_INTERFACE(IQuorvelAtomicLoadingSink, CQuorvelAtomicLoadingSink, "{26781734-418F-9079-56CB-FD8B95CF0DBA}",
                     "{39570BD6-4501-336D-BB55-9E9AF9904304}", QUORVEL_ATOMIC_LOADING_SINK_METHODS)

// The mixer's numbered notices; methods 3 to 6 are forwarded as codes 10 to 13.
#define QUORVEL_WINDOW_NOTIFY_SINK_METHODS(M)                \
    QUORVEL_SINK_COOKIE_METHODS(M)                           \
    M(3, ONEWAY, Notice10, (std::uint32_t value), (value)) \
    M(4, ONEWAY, Notice11, (std::uint32_t value), (value)) \
    M(5, ONEWAY, Notice12, (std::uint32_t value), (value)) \
    M(6, ONEWAY, Notice13, (std::uint32_t value), (value))
RPC_REMOTE_INTERFACE(IQuorvelWindowNotifySink, CQuorvelWindowNotifySink, "{06AF4B20-4AED-8015-D3B9-4EB0432430BE}",
                     "{893729CB-4C97-5561-6D3F-00AF7EE7FB60}", QUORVEL_WINDOW_NOTIFY_SINK_METHODS)

#define QUORVEL_SCENE_SINK_METHODS(M)                                                                              \
    QUORVEL_SINK_COOKIE_METHODS(M)                                                                                 \
    M(3, ONEWAY, UpdateScene,                                                                                      \
      (const TRpcArray<CPropSceneObjectRecord>& objects, const CVec3& microphonePosition, std::int32_t currentZoneId, \
       const CVec2& microphoneDirection, const CVec2& secondVector),                                               \
      (objects, microphonePosition, currentZoneId, microphoneDirection, secondVector))                             \
    M(4, ONEWAY, AddZone, (const CPropZoneRecord& zone, std::int32_t zoneId), (zone, zoneId))                      \
    M(5, ONEWAY, RemoveZone, (std::int32_t zoneId), (zoneId))                                                      \
    M(6, ONEWAY, AddPortal, (const CPropPortalRecord& portal, std::int32_t portalId), (portal, portalId))          \
    M(7, ONEWAY, RemovePortal, (std::int32_t portalId), (portalId))                                                \
    M(8, ONEWAY, SetOccluderValue, (std::int32_t zoneId, std::int32_t occluderId, float value),                    \
      (zoneId, occluderId, value))                                                                                 \
    M(9, ONEWAY, RenameOccluder, (std::int32_t oldOccluderId, std::int32_t newOccluderId),                         \
      (oldOccluderId, newOccluderId))
RPC_REMOTE_INTERFACE(IQuorvelSceneSink, CQuorvelSceneSink, "{F9F1D0FA-4443-B542-4933-E8961BACFEA8}",
                     "{CA50403F-4720-F212-6F54-0493B1DBEB06}", QUORVEL_SCENE_SINK_METHODS)

// The listener kinds of INorvMonitorManager::AddListener.
enum ENorvListenerKind : std::uint32_t {
    NORV_LISTENER_EVENTS = 1,
    NORV_LISTENER_RESOURCES = 2,
    NORV_LISTENER_SCENE = 3,
    NORV_LISTENER_MIXER = 4,
    NORV_LISTENER_ATOMIC_LOADING = 5,
};
