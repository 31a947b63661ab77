#pragma once
// How each kind of value crosses the wire, written once and used by encoder and
// decoder alike. A codec has Write, Read and the least number of bytes a value
// takes (kMinWireSize), which lets a decoder refuse a count that the remaining
// bytes cannot hold before it allocates anything.
//
// Records describe their wire order in one place: a specialisation of
// TRpcLayout<T> listing member pointers in the order the fields are sent.

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <type_traits>

#include "RpcArray.h"
#include "RpcGuid.h"
#include "RpcStream.h"

template <class T, class Enable = void>
struct TRpcCodec;

// Integers of 8 to 64 bits, enumerations, 32-bit floats.
template <class T>
struct TRpcCodec<T, std::enable_if_t<std::is_integral_v<T> || std::is_enum_v<T> || std::is_same_v<T, float>>> {
    static constexpr std::uint32_t kMinWireSize = sizeof(T);
    static_assert(sizeof(T) == 1 || sizeof(T) == 2 || sizeof(T) == 4 || sizeof(T) == 8);

    static void Write(CRpcStream& s, T v) {
        if constexpr (std::is_same_v<T, float>)
            s.Write32(std::bit_cast<std::uint32_t>(v));
        else if constexpr (sizeof(T) == 1)
            s.Write8(static_cast<std::uint8_t>(v));
        else if constexpr (sizeof(T) == 2)
            s.Write16(static_cast<std::uint16_t>(v));
        else if constexpr (sizeof(T) == 4)
            s.Write32(static_cast<std::uint32_t>(v));
        else
            s.Write64(static_cast<std::uint64_t>(v));
    }
    static RpcResult Read(CRpcStream& s, T& v) {
        if constexpr (std::is_same_v<T, float>) {
            std::uint32_t bits = 0;
            if (RpcFailed(s.Read32(bits).Status())) return RPC_E_READ_PAST_END;
            v = std::bit_cast<float>(bits);
        } else {
            std::uint8_t b[sizeof(T)];
            if (RpcFailed(s.ReadBytes(b, sizeof(T)))) return RPC_E_READ_PAST_END;
            std::uint64_t u = 0;
            for (std::size_t i = 0; i < sizeof(T); ++i) u |= static_cast<std::uint64_t>(b[i]) << (8 * i);
            v = static_cast<T>(u);
        }
        return 0;
    }
};

template <>
struct TRpcCodec<GUID> {
    static constexpr std::uint32_t kMinWireSize = 16;
    static void Write(CRpcStream& s, const GUID& g) { s.WriteGuid(g); }
    static RpcResult Read(CRpcStream& s, GUID& g) {
        std::uint8_t b[16];
        if (RpcFailed(s.ReadBytes(b, 16))) return RPC_E_READ_PAST_END;
        g = GuidFromBytes(b);
        return 0;
    }
};

// An input text: a count that includes the NUL, then the bytes. A text without a
// NUL inside its count is cut at its count.
template <>
struct TRpcCodec<CRpcText> {
    static constexpr std::uint32_t kMinWireSize = 4;
    static void Write(CRpcStream& s, const CRpcText& t) { s.WriteText(t.Get()); }
    static RpcResult Read(CRpcStream& s, CRpcText& t) {
        std::uint32_t count = 0;
        if (RpcFailed(s.Read32(count).Status())) return RPC_E_READ_PAST_END;
        if (count > s.Remaining()) return RPC_E_READ_PAST_END;
        const char* bytes = reinterpret_cast<const char*>(s.Cursor());
        const std::uint32_t length = static_cast<std::uint32_t>(strnlen(bytes, count));
        if (!t.Assign(bytes, length)) return E_OUTOFMEMORY;
        s.Skip(count);
        return 0;
    }
};

// An output text of exactly 255 bytes.
class CRpcFixedText : public CRpcText {
    using CRpcText::CRpcText;
};

template <>
struct TRpcCodec<CRpcFixedText> {
    static constexpr std::uint32_t kMinWireSize = RPC_FIXED_TEXT_SIZE;
    static void Write(CRpcStream& s, const CRpcFixedText& t) { s.WriteFixedText(t.Get()); }
    static RpcResult Read(CRpcStream& s, CRpcFixedText& t) {
        if (s.Remaining() < RPC_FIXED_TEXT_SIZE) return RPC_E_READ_PAST_END;
        const char* bytes = reinterpret_cast<const char*>(s.Cursor());
        if (!t.Assign(bytes, static_cast<std::uint32_t>(strnlen(bytes, RPC_FIXED_TEXT_SIZE - 1)))) return E_OUTOFMEMORY;
        s.Skip(RPC_FIXED_TEXT_SIZE);
        return 0;
    }
};

// A count, then that many items.
template <class T>
struct TRpcCodec<TRpcArray<T>> {
    static constexpr std::uint32_t kMinWireSize = 4;
    static void Write(CRpcStream& s, const TRpcArray<T>& a) {
        s.Write32(a.Count());
        for (const T& item : a) TRpcCodec<T>::Write(s, item);
    }
    static RpcResult Read(CRpcStream& s, TRpcArray<T>& a) {
        std::uint32_t count = 0;
        if (RpcFailed(s.Read32(count).Status())) return RPC_E_READ_PAST_END;
        // A count the message cannot hold is refused before anything is allocated.
        if (count > s.Remaining() / TRpcCodec<T>::kMinWireSize) return RPC_E_READ_PAST_END;
        if (!a.Allocate(count)) return E_OUTOFMEMORY;
        for (T& item : a) {
            const RpcResult r = TRpcCodec<T>::Read(s, item);
            if (RpcFailed(r)) {
                a.Clear();
                return r;
            }
        }
        return 0;
    }
};

template <class T, std::size_t N>
struct TRpcCodec<std::array<T, N>> {
    static constexpr std::uint32_t kMinWireSize = TRpcCodec<T>::kMinWireSize * N;
    static void Write(CRpcStream& s, const std::array<T, N>& a) {
        for (const T& v : a) TRpcCodec<T>::Write(s, v);
    }
    static RpcResult Read(CRpcStream& s, std::array<T, N>& a) {
        for (T& v : a)
            if (RpcFailed(TRpcCodec<T>::Read(s, v))) return RPC_E_READ_PAST_END;
        return 0;
    }
};

// Records laid out field by field: TRpcLayout<T>::kFields is a tuple of member
// pointers in wire order.
template <class T>
struct TRpcLayout;

template <class T, class = void>
struct TRpcHasLayout : std::false_type {};
template <class T>
struct TRpcHasLayout<T, std::void_t<decltype(TRpcLayout<T>::kFields)>> : std::true_type {};

template <class M>
struct TRpcMemberType;
template <class C, class F>
struct TRpcMemberType<F C::*> {
    using Type = F;
};

template <class T>
struct TRpcCodec<T, std::enable_if_t<TRpcHasLayout<T>::value>> {
    static constexpr std::uint32_t kMinWireSize = std::apply(
        [](auto... field) {
            return (std::uint32_t{0} + ... + TRpcCodec<typename TRpcMemberType<decltype(field)>::Type>::kMinWireSize);
        },
        TRpcLayout<T>::kFields);

    static void Write(CRpcStream& s, const T& record) {
        std::apply([&](auto... field) { (WriteField(s, record.*field), ...); }, TRpcLayout<T>::kFields);
    }
    static RpcResult Read(CRpcStream& s, T& record) {
        RpcResult r = 0;
        std::apply([&](auto... field) { ((r = ReadField(s, record.*field), RpcSucceeded(r)) && ...); },
                   TRpcLayout<T>::kFields);
        return r;
    }

private:
    template <class F>
    static void WriteField(CRpcStream& s, const F& f) {
        TRpcCodec<F>::Write(s, f);
    }
    template <class F>
    static RpcResult ReadField(CRpcStream& s, F& f) {
        return TRpcCodec<F>::Read(s, f);
    }
};

// Helpers for codecs written by hand.
template <class T>
inline void RpcWrite(CRpcStream& s, const T& v) {
    TRpcCodec<T>::Write(s, v);
}
template <class T>
inline RpcResult RpcRead(CRpcStream& s, T& v) {
    return TRpcCodec<T>::Read(s, v);
}
