#pragma once
// The result codes of the connection layer.

#include "RpcResult.h"

inline constexpr RpcResult CONN_E_ALREADY_STARTED = RpcCode(0x80005000);
inline constexpr RpcResult CONN_E_NOT_STARTED = RpcCode(0x80005001);
inline constexpr RpcResult CONN_E_CONNECT_FAILED = RpcCode(0x80005013);
inline constexpr RpcResult CONN_E_NOT_CONNECTED = RpcCode(0x80005020);
inline constexpr RpcResult E_POINTER = RpcCode(0x80004003);
