#include "RpcStream.h"

#include <algorithm>
#include <cstring>

#include "RpcAllocator.h"
#include "RpcFrame.h"

bool CRpcStream::Grow(std::uint32_t n) {
    const std::uint32_t step = std::max(m_ulGrowthStep, n);
    if (step > 0xFFFFFFFFu - m_ulTotal) return false;
    // A stream reading someone else's bytes starts a buffer of its own.
    void* grown = m_bOwned ? RpcRealloc(m_pData, m_ulTotal + step) : nullptr;
    if (!grown) return false;
    m_pData = static_cast<std::uint8_t*>(grown);
    m_ulTotal += step;
    m_ulFree += step;
    m_pCursor = m_pData + (m_ulTotal - m_ulFree);
    return true;
}

RpcResult CRpcStream::WriteBytes(const void* source, std::uint32_t n) {
    if (!source || n == 0) return 0;
    if (m_ulFree < n && !Grow(n)) {
        Reset();
        Note(E_OUTOFMEMORY);
        return E_OUTOFMEMORY;
    }
    std::memcpy(m_pCursor, source, n);
    m_pCursor += n;
    m_ulFree -= n;
    return 0;
}

CRpcStream& CRpcStream::Write8(std::uint8_t v) {
    WriteBytes(&v, 1);
    return *this;
}

CRpcStream& CRpcStream::Write16(std::uint16_t v) {
    const std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
    WriteBytes(b, 2);
    return *this;
}

CRpcStream& CRpcStream::Write32(std::uint32_t v) {
    std::uint8_t b[4];
    RpcStore32(b, v);
    WriteBytes(b, 4);
    return *this;
}

CRpcStream& CRpcStream::Write64(std::uint64_t v) {
    std::uint8_t b[8];
    RpcStore32(b, static_cast<std::uint32_t>(v));
    RpcStore32(b + 4, static_cast<std::uint32_t>(v >> 32));
    WriteBytes(b, 8);
    return *this;
}

CRpcStream& CRpcStream::WriteGuid(const GUID& g) {
    std::uint8_t b[16];
    GuidToBytes(g, b);
    WriteBytes(b, 16);
    return *this;
}

CRpcStream& CRpcStream::WriteCallHeader(const CRpcCallHeader& h) {
    return Write32(h.ulMethod).WriteGuid(h.iid).Write32(h.ulArgsLength).Write32(h.ulCallId);
}

CRpcStream& CRpcStream::WriteText(const char* text) {
    if (!text) text = "";
    const std::uint32_t count = static_cast<std::uint32_t>(std::strlen(text)) + 1;
    Write32(count);
    WriteBytes(text, count);
    return *this;
}

CRpcStream& CRpcStream::WriteFixedText(const char* text) {
    char fixed[RPC_FIXED_TEXT_SIZE] = {};
    if (text) std::strncpy(fixed, text, RPC_FIXED_TEXT_SIZE - 1);
    WriteBytes(fixed, RPC_FIXED_TEXT_SIZE);
    return *this;
}

CRpcStream& CRpcStream::Append(const CRpcStream& other) {
    WriteBytes(other.Data(), other.WrittenSize());
    return *this;
}

RpcResult CRpcStream::Attach(const void* source, std::uint32_t n, bool copy) {
    if (!source) return E_INVALIDARG;
    if (copy) {
        if (!m_bOwned) {
            m_pData = nullptr;
            m_bOwned = true;
        }
        void* own = RpcRealloc(m_pData, n ? n : 1);
        if (!own) {
            Reset();
            return E_OUTOFMEMORY;
        }
        m_pData = static_cast<std::uint8_t*>(own);
        if (n) std::memcpy(m_pData, source, n);
    } else {
        Reset();
        m_pData = static_cast<std::uint8_t*>(const_cast<void*>(source));
        m_bOwned = false;
    }
    m_ulTotal = m_ulFree = n;
    m_pCursor = m_pData;
    m_lStatus = 0;
    return 0;
}

RpcResult CRpcStream::ReadBytes(void* destination, std::uint32_t n) {
    if (m_ulFree < n) {
        Note(RPC_E_READ_PAST_END);
        return RPC_E_READ_PAST_END;
    }
    if (n) std::memcpy(destination, m_pCursor, n);
    m_pCursor += n;
    m_ulFree -= n;
    return 0;
}

RpcResult CRpcStream::Skip(std::uint32_t n) {
    if (m_ulFree < n) {
        Note(RPC_E_READ_PAST_END);
        return RPC_E_READ_PAST_END;
    }
    m_pCursor += n;
    m_ulFree -= n;
    return 0;
}

CRpcStream& CRpcStream::Read8(std::uint8_t& v) {
    ReadBytes(&v, 1);
    return *this;
}

CRpcStream& CRpcStream::Read16(std::uint16_t& v) {
    std::uint8_t b[2];
    if (ReadBytes(b, 2) == 0) v = static_cast<std::uint16_t>(b[0] | b[1] << 8);
    return *this;
}

CRpcStream& CRpcStream::Read32(std::uint32_t& v) {
    std::uint8_t b[4];
    if (ReadBytes(b, 4) == 0) v = RpcLoad32(b);
    return *this;
}

CRpcStream& CRpcStream::Read32(std::int32_t& v) {
    std::uint8_t b[4];
    if (ReadBytes(b, 4) == 0) v = static_cast<std::int32_t>(RpcLoad32(b));
    return *this;
}

CRpcStream& CRpcStream::Read64(std::uint64_t& v) {
    std::uint8_t b[8];
    if (ReadBytes(b, 8) == 0) v = RpcLoad32(b) | static_cast<std::uint64_t>(RpcLoad32(b + 4)) << 32;
    return *this;
}

CRpcStream& CRpcStream::ReadGuid(GUID& g) {
    std::uint8_t b[16];
    if (ReadBytes(b, 16) == 0) g = GuidFromBytes(b);
    return *this;
}

CRpcStream& CRpcStream::ReadCallHeader(CRpcCallHeader& h) {
    if (m_ulFree < 28) {
        Note(RPC_E_READ_PAST_END);
        return *this;
    }
    return Read32(h.ulMethod).ReadGuid(h.iid).Read32(h.ulArgsLength).Read32(h.ulCallId);
}

RpcResult CRpcStream::Rewind(std::uint32_t growthStep) {
    m_ulGrowthStep = growthStep;
    m_lStatus = 0;
    if (!m_pData) {
        Reset();
        return 0;
    }
    m_ulFree = m_ulTotal;
    m_pCursor = m_pData;
    return 0;
}

void CRpcStream::Reset() {
    if (m_bOwned) RpcFree(m_pData);
    m_pData = nullptr;
    m_pCursor = nullptr;
    m_ulTotal = m_ulFree = 0;
    m_bOwned = true;
    m_lStatus = 0;
}
