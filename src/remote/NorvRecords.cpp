#include "NorvRecords.h"

#include <algorithm>
#include <cstring>

void TRpcCodec<CNorvMicroList>::Write(CRpcStream& s, const CNorvMicroList& list) {
    s.Write32(list.Count());
    for (const CNorvMicro& micro : list) s.Write32(micro.m_ulMicroId);
    for (const CNorvMicro& micro : list) RpcWrite(s, micro.m_record);
}

RpcResult TRpcCodec<CNorvMicroList>::Read(CRpcStream& s, CNorvMicroList& list) {
    std::uint32_t count = 0;
    if (RpcFailed(s.Read32(count).Status())) return RPC_E_READ_PAST_END;
    constexpr std::uint32_t perMicro = 4 + TRpcCodec<CNorvMicroRecord>::kMinWireSize;
    if (count > s.Remaining() / perMicro) return RPC_E_READ_PAST_END;
    if (!list.Allocate(count)) return E_OUTOFMEMORY;
    for (CNorvMicro& micro : list) s.Read32(micro.m_ulMicroId);
    for (CNorvMicro& micro : list) RpcRead(s, micro.m_record);
    return 0;  // the count check above guarantees every read succeeds
}

namespace {

template <class F>
void ForEachVoiceWord(F&& f, auto& voice) {
    f(voice.m_ulType);
    f(voice.m_ulWord1);
    f(voice.m_ulStreaming);
    f(voice.m_lPriority);
    f(voice.m_lInstance);
    f(voice.m_lVoiceId);
    f(voice.m_lResourceId);
    f(voice.m_ulStatus);
    f(voice.m_ulWord8);
    f(voice.m_ulRollOffPresent);
    f(voice.m_lRollOff1);
    f(voice.m_lRollOff4);
    f(voice.m_lRollOff2);
    f(voice.m_lRollOff3);
}
}  // namespace

void TRpcCodec<CNorvVoiceRecord>::Write(CRpcStream& s, const CNorvVoiceRecord& voice) {
    ForEachVoiceWord([&](const auto& word) { RpcWrite(s, word); }, voice);
    const std::uint32_t length = std::min(voice.m_ulNameLength, NORV_VOICE_NAME_MAX);
    s.Write32(length);
    s.WriteBytes(voice.m_szName, length);
}

RpcResult TRpcCodec<CNorvVoiceRecord>::Read(CRpcStream& s, CNorvVoiceRecord& voice) {
    if (s.Remaining() < kMinWireSize) return RPC_E_READ_PAST_END;
    ForEachVoiceWord([&](auto& word) { RpcRead(s, word); }, voice);
    std::uint32_t length = 0;
    s.Read32(length);
    if (length > s.Remaining()) return RPC_E_READ_PAST_END;
    voice.m_ulNameLength = std::min(length, NORV_VOICE_NAME_MAX);
    std::memset(voice.m_szName, 0, sizeof voice.m_szName);
    s.ReadBytes(voice.m_szName, voice.m_ulNameLength);
    s.Skip(length - voice.m_ulNameLength);
    return 0;
}

void TRpcCodec<CPropSceneObjectRecord>::Write(CRpcStream& s, const CPropSceneObjectRecord& object) {
    const std::uint32_t paths = std::min(object.m_ulPathCount, PROP_MAX_PATHS);
    RpcWrite(s, object.m_lObjectId);
    s.Write32(paths);
    RpcWrite(s, object.m_physicalPosition);
    RpcWrite(s, object.m_virtualPosition);
    for (std::uint32_t p = 0; p < paths; ++p) {
        const std::uint32_t vertices = std::min(object.m_ulVertexCount[p], PROP_MAX_PATH_VERTICES);
        s.Write32(vertices);
        for (std::uint32_t v = 0; v < vertices; ++v) RpcWrite(s, object.m_pathVertices[p][v]);
    }
}

RpcResult TRpcCodec<CPropSceneObjectRecord>::Read(CRpcStream& s, CPropSceneObjectRecord& object) {
    if (s.Remaining() < kMinWireSize) return RPC_E_READ_PAST_END;
    RpcRead(s, object.m_lObjectId);
    std::uint32_t paths = 0;
    s.Read32(paths);
    if (paths > PROP_MAX_PATHS) return RPC_E_READ_PAST_END;
    object.m_ulPathCount = paths;
    RpcRead(s, object.m_physicalPosition);
    RpcRead(s, object.m_virtualPosition);
    for (std::uint32_t p = 0; p < paths; ++p) {
        std::uint32_t vertices = 0;
        if (RpcFailed(s.Read32(vertices).Status())) return RPC_E_READ_PAST_END;
        if (vertices > PROP_MAX_PATH_VERTICES || vertices > s.Remaining() / 12) return RPC_E_READ_PAST_END;
        object.m_ulVertexCount[p] = vertices;
        for (std::uint32_t v = 0; v < vertices; ++v) RpcRead(s, object.m_pathVertices[p][v]);
    }
    return 0;
}
