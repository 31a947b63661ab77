#pragma once
// How a C++ parameter of a remote method maps onto the wire. A non-const pointer
// is an output, filled from the answer; everything else is an input: numbers by
// value, texts as const char*, records and arrays by const reference.

#include <cstdint>
#include <type_traits>

#include "RpcArray.h"
#include "RpcCodec.h"
#include "RpcFrame.h"

using RpcCookie = std::uint32_t;

enum ERpcMethodKind : int { RPC_NO_METHOD = 0, RPC_TWOWAY = 1, RPC_ONEWAY = 2 };

template <class P, class Enable = void>
struct TRpcParam;

// Numbers by value.
template <class T>
struct TRpcParam<T, std::enable_if_t<std::is_arithmetic_v<T> || std::is_enum_v<T>>> {
    static constexpr bool kIsOutput = false;
    using Storage = T;
    static bool IsValid(T) { return true; }
    static void Write(CRpcStream& s, T v) { TRpcCodec<T>::Write(s, v); }
    static RpcResult Read(CRpcStream& s, Storage& v) { return TRpcCodec<T>::Read(s, v); }
    static T Pass(Storage& v) { return v; }
};

// Input texts.
template <>
struct TRpcParam<const char*> {
    static constexpr bool kIsOutput = false;
    using Storage = CRpcText;
    static bool IsValid(const char* text) { return text != nullptr; }
    static void Write(CRpcStream& s, const char* text) { s.WriteText(text); }
    static RpcResult Read(CRpcStream& s, Storage& v) { return TRpcCodec<CRpcText>::Read(s, v); }
    static const char* Pass(Storage& v) { return v.Get(); }
};

// Input records and arrays.
template <class T>
struct TRpcParam<const T&> {
    static constexpr bool kIsOutput = false;
    using Storage = T;
    static bool IsValid(const T&) { return true; }
    static void Write(CRpcStream& s, const T& v) { TRpcCodec<T>::Write(s, v); }
    static RpcResult Read(CRpcStream& s, Storage& v) { return TRpcCodec<T>::Read(s, v); }
    static const T& Pass(Storage& v) { return v; }
};

// Outputs.
template <class T>
struct TRpcParam<T*, std::enable_if_t<!std::is_const_v<T>>> {
    static constexpr bool kIsOutput = true;
    using Storage = T;
    static bool IsValid(T* out) { return out != nullptr; }
    static void Write(CRpcStream& s, const T& v) { TRpcCodec<T>::Write(s, v); }
    static RpcResult Read(CRpcStream& s, Storage& v) { return TRpcCodec<T>::Read(s, v); }
    static T* Pass(Storage& v) { return &v; }
    static void Deliver(T* out, Storage& v) { *out = std::move(v); }
};

template <class... P>
struct TRpcTypeList {};

template <class Pm>
struct TRpcMethodTraits;
template <class C, class... P>
struct TRpcMethodTraits<RpcResult (C::*)(P...)> {
    using Params = TRpcTypeList<P...>;
};
