#pragma once
// Frame tags, link message kinds and the byte-level helpers shared by everything
// that builds or reads them. All integers on the wire are little-endian.

#include <cstdint>

// Frames (the outer layer on the byte stream).
inline constexpr std::uint32_t FRAME_DATA = 0xF0000001u;
inline constexpr std::uint32_t FRAME_PING = 0xF0000002u;
inline constexpr std::uint32_t FRAME_PONG = 0xF0000003u;

// Link messages (the payload of a data frame).
inline constexpr std::uint32_t LINK_OPEN = 0xF0000000u;
inline constexpr std::uint32_t LINK_STATUS = 0xE0000000u;
inline constexpr std::uint32_t LINK_CLOSE = 0xF0000002u;
inline constexpr std::uint32_t LINK_CALL = 0xF0000003u;
inline constexpr std::uint32_t LINK_CALL_MODE1 = 0xF0000004u;
inline constexpr std::uint32_t LINK_CALL_ONEWAY = 0xF0000005u;

// Call modes; the link kind of a call is LINK_CALL + mode.
inline constexpr std::uint32_t RPC_CALL_MODE_TWOWAY = 0;
inline constexpr std::uint32_t RPC_CALL_MODE_NOTIFY = 1;
inline constexpr std::uint32_t RPC_CALL_MODE_ONEWAY = 2;

inline constexpr std::uint32_t RPC_FRAME_HEADER_SIZE = 8;
inline constexpr std::uint32_t RPC_LINK_HEADER_SIZE = 8;
inline constexpr std::uint32_t RPC_CALL_HEADER_SIZE = 28;
inline constexpr std::uint32_t RPC_CLSID_SIZE = 16;
inline constexpr std::uint32_t RPC_STATUS_BODY_SIZE = 4;
inline constexpr std::uint32_t RPC_PING_PAYLOAD_SIZE = 32;

// A socket send is never offered more than this many bytes.
inline constexpr std::uint32_t RPC_MAX_SEND_CHUNK = 16384;
// A received frame announcing a longer payload closes its connection.
inline constexpr std::uint32_t RPC_MAX_FRAME_LENGTH = 16u * 1024u * 1024u;

inline std::uint32_t RpcLoad32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline void RpcStore32(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}
