#pragma once
// The records that the engine's monitors return and that the scene notifications
// carry, in the order this program keeps them in memory, with their wire order
// given once per record right below it.

#include <cstdint>
#include <tuple>

#include "RpcArray.h"
#include "RpcCodec.h"

struct CVec2 {
    float x = 0, y = 0;

    friend bool operator==(const CVec2&, const CVec2&) = default;
};
template <>
struct TRpcLayout<CVec2> {
    static constexpr auto kFields = std::make_tuple(&CVec2::x, &CVec2::y);
};

struct CVec3 {
    float x = 0, y = 0, z = 0;

    friend bool operator==(const CVec3&, const CVec3&) = default;
};
template <>
struct TRpcLayout<CVec3> {
    static constexpr auto kFields = std::make_tuple(&CVec3::x, &CVec3::y, &CVec3::z);
};

// ---- INorvObjectMonitor ------------------------------------------------------------

// One sound object, 52 bytes on the wire.
struct CNorvObjectRecord {
    std::uint32_t m_ulObjectId = 0;
    std::int32_t m_lObjectType = 0;
    CVec3 m_position;
    float m_rValue1 = 0, m_rValue2 = 0, m_rValue3 = 0;
    std::uint32_t m_ulRollOffPresent = 0;
    float m_rRollOffA = 0, m_rRollOffB = 0, m_rRollOffC = 0, m_rRollOffD = 0;

    friend bool operator==(const CNorvObjectRecord&, const CNorvObjectRecord&) = default;
};
template <>
struct TRpcLayout<CNorvObjectRecord> {
    using R = CNorvObjectRecord;
    static constexpr auto kFields =
        std::make_tuple(&R::m_ulRollOffPresent, &R::m_rRollOffA, &R::m_rRollOffB, &R::m_rRollOffC, &R::m_rRollOffD,
                        &R::m_position, &R::m_rValue1, &R::m_rValue2, &R::m_rValue3, &R::m_ulObjectId, &R::m_lObjectType);
};

// One microphone, 48 bytes on the wire, kept with its id in front.
struct CNorvMicroRecord {
    CVec3 m_position;
    CVec3 m_second;
    CVec3 m_front;  // Nx, Ny, Nz
    CVec3 m_top;    // Tx, Ty, Tz

    friend bool operator==(const CNorvMicroRecord&, const CNorvMicroRecord&) = default;
};
template <>
struct TRpcLayout<CNorvMicroRecord> {
    using R = CNorvMicroRecord;
    static constexpr auto kFields = std::make_tuple(&R::m_front, &R::m_top, &R::m_position, &R::m_second);
};

struct CNorvMicro {
    std::uint32_t m_ulMicroId = 0;
    CNorvMicroRecord m_record;

    friend bool operator==(const CNorvMicro&, const CNorvMicro&) = default;
};

// The microphone list: one count, then all the ids, then all the records.
class CNorvMicroList : public TRpcArray<CNorvMicro> {};
template <>
struct TRpcCodec<CNorvMicroList> {
    static constexpr std::uint32_t kMinWireSize = 4;
    static void Write(CRpcStream& s, const CNorvMicroList& list);
    static RpcResult Read(CRpcStream& s, CNorvMicroList& list);
};

// ---- INorvVoiceMonitor -------------------------------------------------------------

inline constexpr std::uint32_t NORV_VOICE_NAME_MAX = 128;

// One voice: 15 words, then as many name bytes as word 14 says. The wire order is
// the memory order; only the first 128 name bytes are kept.
struct CNorvVoiceRecord {
    std::uint32_t m_ulType = 0;  // 0 Oneshot, 1 Looping, 2 Theme, 3 Synth, 4 Invalid
    std::uint32_t m_ulWord1 = 0;
    std::uint32_t m_ulStreaming = 0;
    std::int32_t m_lPriority = 0;
    std::int32_t m_lInstance = 0;
    std::int32_t m_lVoiceId = 0;
    std::int32_t m_lResourceId = 0;
    std::uint32_t m_ulStatus = 0;  // 0 Invalid, 1 Audible, 2 Virtual
    std::uint32_t m_ulWord8 = 0;
    std::uint32_t m_ulRollOffPresent = 0;
    std::int32_t m_lRollOff1 = 0;  // 16.16 fixed point; -1 means disabled
    std::int32_t m_lRollOff4 = 0;
    std::int32_t m_lRollOff2 = 0;
    std::int32_t m_lRollOff3 = 0;
    std::uint32_t m_ulNameLength = 0;  // bytes kept in m_szName
    char m_szName[NORV_VOICE_NAME_MAX + 1] = {};

    friend bool operator==(const CNorvVoiceRecord&, const CNorvVoiceRecord&) = default;
};
template <>
struct TRpcCodec<CNorvVoiceRecord> {
    static constexpr std::uint32_t kMinWireSize = 15 * 4;
    static void Write(CRpcStream& s, const CNorvVoiceRecord& voice);
    static RpcResult Read(CRpcStream& s, CNorvVoiceRecord& voice);
};

// ---- INorvAtomicLoadingMonitor -----------------------------------------------------

// One loaded object, six words in wire and memory order.
struct CNorvLoadedObjectRecord {
    std::uint32_t m_ulObjectId = 0;
    std::uint32_t m_ulDataType = 0;
    std::uint32_t m_ulLoadCount = 0;
    std::uint32_t m_ulReferenceCount = 0;
    std::uint32_t m_ulUnloadedFlag = 0;  // the load state is its logical negation
    std::uint32_t m_ulSize = 0;

    friend bool operator==(const CNorvLoadedObjectRecord&, const CNorvLoadedObjectRecord&) = default;
};
template <>
struct TRpcLayout<CNorvLoadedObjectRecord> {
    using R = CNorvLoadedObjectRecord;
    static constexpr auto kFields = std::make_tuple(&R::m_ulObjectId, &R::m_ulDataType, &R::m_ulLoadCount,
                                                    &R::m_ulReferenceCount, &R::m_ulUnloadedFlag, &R::m_ulSize);
};

// ---- IQuorvelSceneSink -------------------------------------------------------------

inline constexpr std::uint32_t PROP_MAX_PATHS = 2;
inline constexpr std::uint32_t PROP_MAX_PATH_VERTICES = 32;

// A sound object of the propagation scene with up to two propagation paths. On the
// wire: id, path count, physical and virtual position, then per path in use its
// vertex count and vertices. More than 2 paths or 32 vertices is refused.
struct CPropSceneObjectRecord {
    std::int32_t m_lObjectId = 0;
    std::uint32_t m_ulPathCount = 0;
    std::uint32_t m_ulVertexCount[PROP_MAX_PATHS] = {};
    CVec3 m_pathVertices[PROP_MAX_PATHS][PROP_MAX_PATH_VERTICES];
    CVec3 m_physicalPosition;
    CVec3 m_virtualPosition;

    friend bool operator==(const CPropSceneObjectRecord&, const CPropSceneObjectRecord&) = default;
};
template <>
struct TRpcCodec<CPropSceneObjectRecord> {
    static constexpr std::uint32_t kMinWireSize = 4 + 4 + 12 + 12;
    static void Write(CRpcStream& s, const CPropSceneObjectRecord& object);
    static RpcResult Read(CRpcStream& s, CPropSceneObjectRecord& object);
};

// Zone items: memory order in the struct, wire order in the layout.
struct CPropZoneVertex {
    float m_rX = 0, m_rY = 0;
    std::uint32_t m_ulWord3 = 0, m_ulWord4 = 0;

    friend bool operator==(const CPropZoneVertex&, const CPropZoneVertex&) = default;
};
template <>
struct TRpcLayout<CPropZoneVertex> {
    using R = CPropZoneVertex;
    static constexpr auto kFields = std::make_tuple(&R::m_rX, &R::m_rY, &R::m_ulWord4, &R::m_ulWord3);
};

struct CPropWallLine {
    std::uint32_t m_ulClosed = 0;
    std::uint32_t m_ulFirstVertex = 0;
    std::uint32_t m_ulVertexCount = 0;

    friend bool operator==(const CPropWallLine&, const CPropWallLine&) = default;
};
template <>
struct TRpcLayout<CPropWallLine> {
    using R = CPropWallLine;
    static constexpr auto kFields = std::make_tuple(&R::m_ulClosed, &R::m_ulVertexCount, &R::m_ulFirstVertex);
};

struct CPropOccluder {
    std::uint32_t m_ulVertexA = 0;
    std::uint32_t m_ulVertexB = 0;
    float m_rOcclusion = 0;
    std::int32_t m_lOccluderId = 0;
    std::uint32_t m_ulWord5 = 0;

    friend bool operator==(const CPropOccluder&, const CPropOccluder&) = default;
};
template <>
struct TRpcLayout<CPropOccluder> {
    using R = CPropOccluder;
    static constexpr auto kFields =
        std::make_tuple(&R::m_lOccluderId, &R::m_rOcclusion, &R::m_ulVertexA, &R::m_ulVertexB, &R::m_ulWord5);
};

// A zone: twelve words in memory (each count with its array counts as two), its
// vertices, wall lines and occluders.
struct CPropZoneRecord {
    std::uint32_t m_ulWord1 = 0;
    TRpcArray<CPropZoneVertex> m_vertices;
    TRpcArray<CPropWallLine> m_wallLines;
    TRpcArray<CPropOccluder> m_occluders;
    std::uint32_t m_ulWord8 = 0;
    float m_rBottomHeight = 0;
    float m_rTopHeight = 0;
    std::uint32_t m_ulWord11 = 0;
    std::uint32_t m_ulWord12 = 0;
};
template <>
struct TRpcLayout<CPropZoneRecord> {
    using R = CPropZoneRecord;
    static constexpr auto kFields =
        std::make_tuple(&R::m_ulWord1, &R::m_ulWord8, &R::m_ulWord12, &R::m_ulWord11, &R::m_rBottomHeight,
                        &R::m_rTopHeight, &R::m_vertices, &R::m_wallLines, &R::m_occluders);
};

// A portal between two zones, nine words.
struct CPropPortalRecord {
    std::int32_t m_lZoneA = 0;
    std::int32_t m_lZoneB = 0;
    CVec2 m_point1;
    CVec2 m_point2;
    float m_rBottomHeight = 0;
    float m_rTopHeight = 0;
    std::uint32_t m_ulWord9 = 0;

    friend bool operator==(const CPropPortalRecord&, const CPropPortalRecord&) = default;
};
template <>
struct TRpcLayout<CPropPortalRecord> {
    using R = CPropPortalRecord;
    static constexpr auto kFields = std::make_tuple(&R::m_lZoneA, &R::m_lZoneB, &R::m_point1, &R::m_point2,
                                                    &R::m_rTopHeight, &R::m_rBottomHeight, &R::m_ulWord9);
};
