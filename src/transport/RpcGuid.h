#pragma once
// Class and interface ids: 16 bytes in the binary GUID layout (three little-endian
// numbers, then 8 single bytes), written in registry text form.

#include <cstdint>
#include <cstring>
#include <string>

struct GUID {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::uint8_t Data4[8] = {};

    friend constexpr bool operator==(const GUID& a, const GUID& b) {
        if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
        for (int i = 0; i < 8; ++i)
            if (a.Data4[i] != b.Data4[i]) return false;
        return true;
    }
};

inline constexpr std::size_t GUID_WIRE_SIZE = 16;

namespace rpc_guid_detail {
constexpr std::uint32_t HexDigit(char c) {
    if (c >= '0' && c <= '9') return static_cast<std::uint32_t>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<std::uint32_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<std::uint32_t>(c - 'A' + 10);
    throw "GUID text holds a character that is not a hexadecimal digit";
}
constexpr std::uint32_t Hex(const char* s, int digits) {
    std::uint32_t v = 0;
    for (int i = 0; i < digits; ++i) v = (v << 4) | HexDigit(s[i]);
    return v;
}
}  // namespace rpc_guid_detail

// Parses "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" at compile time.
constexpr GUID MakeGuid(const char (&text)[39]) {
    using rpc_guid_detail::Hex;
    if (text[0] != '{' || text[9] != '-' || text[14] != '-' || text[19] != '-' || text[24] != '-' ||
        text[37] != '}')
        throw "GUID text is not in registry form";
    GUID g;
    g.Data1 = Hex(text + 1, 8);
    g.Data2 = static_cast<std::uint16_t>(Hex(text + 10, 4));
    g.Data3 = static_cast<std::uint16_t>(Hex(text + 15, 4));
    g.Data4[0] = static_cast<std::uint8_t>(Hex(text + 20, 2));
    g.Data4[1] = static_cast<std::uint8_t>(Hex(text + 22, 2));
    for (int i = 0; i < 6; ++i) g.Data4[2 + i] = static_cast<std::uint8_t>(Hex(text + 25 + 2 * i, 2));
    return g;
}

// The 16 wire bytes of a GUID.
inline void GuidToBytes(const GUID& g, std::uint8_t out[16]) {
    out[0] = static_cast<std::uint8_t>(g.Data1);
    out[1] = static_cast<std::uint8_t>(g.Data1 >> 8);
    out[2] = static_cast<std::uint8_t>(g.Data1 >> 16);
    out[3] = static_cast<std::uint8_t>(g.Data1 >> 24);
    out[4] = static_cast<std::uint8_t>(g.Data2);
    out[5] = static_cast<std::uint8_t>(g.Data2 >> 8);
    out[6] = static_cast<std::uint8_t>(g.Data3);
    out[7] = static_cast<std::uint8_t>(g.Data3 >> 8);
    std::memcpy(out + 8, g.Data4, 8);
}

inline GUID GuidFromBytes(const std::uint8_t in[16]) {
    GUID g;
    g.Data1 = static_cast<std::uint32_t>(in[0]) | static_cast<std::uint32_t>(in[1]) << 8 |
              static_cast<std::uint32_t>(in[2]) << 16 | static_cast<std::uint32_t>(in[3]) << 24;
    g.Data2 = static_cast<std::uint16_t>(in[4] | in[5] << 8);
    g.Data3 = static_cast<std::uint16_t>(in[6] | in[7] << 8);
    std::memcpy(g.Data4, in + 8, 8);
    return g;
}

// Registry text form, upper case, with braces.
std::string GuidToString(const GUID& g);
