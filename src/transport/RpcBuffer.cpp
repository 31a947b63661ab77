#include "RpcBuffer.h"

#include <cstring>
#include <new>

RpcPtr<CRpcBuffer> CRpcBuffer::Create(std::uint32_t payloadLength, bool headerRoom) {
    auto buffer = RpcPtr<CRpcBuffer>::Adopt(new (std::nothrow) CRpcBuffer(headerRoom));
    if (!buffer || !buffer->Resize(payloadLength)) return nullptr;
    return buffer;
}

RpcPtr<CRpcBuffer> CRpcBuffer::CreateCopy(const void* data, std::uint32_t length, bool headerRoom) {
    auto buffer = Create(length, headerRoom);
    if (buffer && length) std::memcpy(buffer->Payload(), data, length);
    return buffer;
}

bool CRpcBuffer::Resize(std::uint32_t payloadLength) {
    const std::size_t size = std::size_t{payloadLength} + (m_bHeaderRoom ? 8 : 0);
    auto* grown = static_cast<std::uint8_t*>(RpcRealloc(m_pStorage, size ? size : 1));
    if (!grown) {
        RpcFree(m_pStorage);
        m_pStorage = nullptr;
        m_ulPayloadLength = 0;
        return false;
    }
    m_pStorage = grown;
    m_ulPayloadLength = payloadLength;
    return true;
}
