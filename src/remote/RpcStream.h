#pragma once
// The growable byte stream that every proxy and stub builds and parses its call
// messages with. Values follow each other little-endian with no tags and no
// padding. Typed writers and readers return the stream so that calls chain; a
// chain does not stop at an error, and Status() tells the first one.

#include <cstdint>

#include "RpcGuid.h"
#include "RpcResult.h"

inline constexpr std::uint32_t RPC_STREAM_GROWTH_STEP = 512;
inline constexpr std::uint32_t RPC_FIXED_TEXT_SIZE = 255;

struct CRpcCallHeader {
    std::uint32_t ulMethod = 0;
    GUID iid;
    std::uint32_t ulArgsLength = 0;
    std::uint32_t ulCallId = 0;
};

class CRpcStream {
public:
    CRpcStream() = default;
    ~CRpcStream() { Reset(); }
    CRpcStream(const CRpcStream&) = delete;
    CRpcStream& operator=(const CRpcStream&) = delete;

    // Writing. Out of memory resets the stream and answers E_OUTOFMEMORY.
    RpcResult WriteBytes(const void* source, std::uint32_t n);
    CRpcStream& Write8(std::uint8_t v);
    CRpcStream& Write16(std::uint16_t v);
    CRpcStream& Write32(std::uint32_t v);
    CRpcStream& Write64(std::uint64_t v);
    CRpcStream& WriteGuid(const GUID& g);
    CRpcStream& WriteCallHeader(const CRpcCallHeader& h);
    CRpcStream& WriteText(const char* text);  // count including the NUL, then the bytes
    CRpcStream& WriteFixedText(const char* text);  // exactly 255 bytes, NUL-terminated and padded
    CRpcStream& Append(const CRpcStream& other);

    std::uint32_t WrittenSize() const { return m_ulTotal - m_ulFree; }
    const std::uint8_t* Data() const { return m_pData; }

    // Reading. A read that wants more than remains answers RPC_E_READ_PAST_END,
    // consumes nothing and leaves the destination as it was.
    RpcResult Attach(const void* source, std::uint32_t n, bool copy);
    RpcResult ReadBytes(void* destination, std::uint32_t n);
    RpcResult Skip(std::uint32_t n);
    CRpcStream& Read8(std::uint8_t& v);
    CRpcStream& Read16(std::uint16_t& v);
    CRpcStream& Read32(std::uint32_t& v);
    CRpcStream& Read32(std::int32_t& v);
    CRpcStream& Read64(std::uint64_t& v);
    CRpcStream& ReadGuid(GUID& g);
    CRpcStream& ReadCallHeader(CRpcCallHeader& h);
    std::uint32_t Remaining() const { return m_ulFree; }
    const std::uint8_t* Cursor() const { return m_pCursor; }

    RpcResult Rewind(std::uint32_t growthStep = RPC_STREAM_GROWTH_STEP);
    void Reset();

    // The first failure since the stream was last reset, rewound or attached; 0 when none.
    RpcResult Status() const { return m_lStatus; }
    std::uint32_t Total() const { return m_ulTotal; }
    std::uint32_t GrowthStep() const { return m_ulGrowthStep; }
    bool Owned() const { return m_bOwned; }

private:
    bool Grow(std::uint32_t n);
    void Note(RpcResult r) {
        if (RpcFailed(r) && !RpcFailed(m_lStatus)) m_lStatus = r;
    }

    std::uint8_t* m_pData = nullptr;
    std::uint32_t m_ulTotal = 0;
    std::uint32_t m_ulFree = 0;
    std::uint8_t* m_pCursor = nullptr;
    std::uint32_t m_ulGrowthStep = RPC_STREAM_GROWTH_STEP;
    bool m_bOwned = true;
    RpcResult m_lStatus = 0;
};
