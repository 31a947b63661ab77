#pragma once
// A reference-counted byte buffer holding one frame while it is built, queued,
// sent or received. With header room, 8 bytes in front of the payload are kept
// for the frame header so that a frame is always one contiguous block.

#include <atomic>
#include <cstdint>

#include "RpcAllocator.h"
#include "RpcUnknown.h"

class CRpcBuffer : public CRpcAllocated {
public:
    // An empty buffer, or one whose payload is a copy of the given bytes. None when memory runs out.
    static RpcPtr<CRpcBuffer> Create(std::uint32_t payloadLength, bool headerRoom);
    static RpcPtr<CRpcBuffer> CreateCopy(const void* data, std::uint32_t length, bool headerRoom);

    void AddRef() { m_lRefs.fetch_add(1, std::memory_order_relaxed); }
    void Release() {
        if (m_lRefs.fetch_sub(1, std::memory_order_acq_rel) - 1 < 1) delete this;
    }

    // Keeps the bytes that fit; on failure the buffer is left empty and false is returned.
    bool Resize(std::uint32_t payloadLength);

    std::uint8_t* Payload() { return m_pStorage ? m_pStorage + (m_bHeaderRoom ? 8 : 0) : nullptr; }
    const std::uint8_t* Payload() const { return const_cast<CRpcBuffer*>(this)->Payload(); }
    std::uint8_t* Storage() { return m_pStorage; }
    std::uint32_t PayloadLength() const { return m_ulPayloadLength; }
    std::uint32_t StorageSize() const { return m_ulPayloadLength + (m_bHeaderRoom ? 8 : 0); }
    bool HasHeaderRoom() const { return m_bHeaderRoom; }

private:
    explicit CRpcBuffer(bool headerRoom) : m_bHeaderRoom(headerRoom) {}
    ~CRpcBuffer() { RpcFree(m_pStorage); }

    std::uint8_t* m_pStorage = nullptr;
    std::uint32_t m_ulPayloadLength = 0;
    std::atomic<std::int32_t> m_lRefs{1};
    const bool m_bHeaderRoom;
};
