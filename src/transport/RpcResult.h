#pragma once
// Result codes of the remote-object transport and the generated remote classes.
// Bit 31 marks a failure; bits 16..23 name the layer that produced the code
// (1 channel, 2 server endpoint, 3 client endpoint, 4 instance and links,
// 5 factory registry, 6 generated factories, 7 common).

#include <cstdint>

using RpcResult = std::int32_t;

constexpr RpcResult RpcCode(std::uint32_t code) { return static_cast<RpcResult>(code); }
constexpr bool RpcFailed(RpcResult r) { return r < 0; }
constexpr bool RpcSucceeded(RpcResult r) { return r >= 0; }

// Successes.
inline constexpr RpcResult RPC_S_CHANNEL_OK = RpcCode(0x02010000);
inline constexpr RpcResult RPC_S_SERVER_OK = RpcCode(0x02020000);
inline constexpr RpcResult RPC_S_CLIENT_OK = RpcCode(0x02030000);
inline constexpr RpcResult RPC_S_ALREADY_STARTED = RpcCode(0x02030001);
inline constexpr RpcResult RPC_S_OK = RpcCode(0x02040000);
inline constexpr RpcResult RPC_S_FALSE = RpcCode(0x02040001);
inline constexpr RpcResult RPC_S_REGISTRY_OK = RpcCode(0x02050000);

// Failures of the transport.
inline constexpr RpcResult RPC_E_CHANNEL_HANDLERS = RpcCode(0x82014003);
inline constexpr RpcResult RPC_E_CHANNEL_CLOSED = RpcCode(0x82015021);
inline constexpr RpcResult RPC_E_SERVER_HANDLERS = RpcCode(0x82024003);
inline constexpr RpcResult RPC_E_SERVER_NOT_STARTED = RpcCode(0x82025001);
inline constexpr RpcResult RPC_E_SERVER_SOCKET = RpcCode(0x82025014);
inline constexpr RpcResult RPC_E_SERVER_LISTENING = RpcCode(0x8202501F);
inline constexpr RpcResult RPC_E_SERVER_NOT_LISTENING = RpcCode(0x82025021);
inline constexpr RpcResult RPC_E_CLIENT_CONNECTED = RpcCode(0x82035000);
inline constexpr RpcResult RPC_E_CLIENT_SOCKET = RpcCode(0x82035014);
inline constexpr RpcResult RPC_E_CLIENT_NOT_CONNECTED = RpcCode(0x82035020);
inline constexpr RpcResult RPC_E_NOT_SUPPORTED = RpcCode(0x82044001);
inline constexpr RpcResult RPC_E_INSTANCE_STARTED = RpcCode(0x82045000);
inline constexpr RpcResult RPC_E_THREAD_NOT_REGISTERED = RpcCode(0x82045001);
inline constexpr RpcResult RPC_E_OPEN_TIMEOUT = RpcCode(0x82045004);
inline constexpr RpcResult RPC_E_NO_OWNER_THREAD = RpcCode(0x82045009);
// A two-way call got no answer within the instance's call time-out (ours: the
// peer may be stopped at a breakpoint, and no caller may hang on it for good).
inline constexpr RpcResult RPC_E_CALL_TIMEOUT = RpcCode(0x8204500A);
inline constexpr RpcResult RPC_E_BAD_OPEN_ANSWER = RpcCode(0x8204FFFF);
inline constexpr RpcResult RPC_E_NO_FACTORY = RpcCode(0x8205501D);
inline constexpr RpcResult RPC_E_UNKNOWN_CLASS = RpcCode(0x8206501D);
inline constexpr RpcResult RPC_E_NO_INTERFACE = RpcCode(0x8000501D);
inline constexpr RpcResult RPC_E_READ_PAST_END = RpcCode(0x8000501A);
inline constexpr RpcResult RPC_E_DISCONNECTED = RpcCode(0x80005021);
inline constexpr RpcResult RPC_E_INVALIDARG = RpcCode(0x82070057);
inline constexpr RpcResult RPC_E_OUTOFMEMORY = RpcCode(0x8207000E);

// Common system codes used by the generated proxies and stubs.
inline constexpr RpcResult E_INVALIDARG = RpcCode(0x80070057);
inline constexpr RpcResult E_NOTIMPL = RpcCode(0x80004001);
inline constexpr RpcResult E_NOINTERFACE = RpcCode(0x80004002);
inline constexpr RpcResult E_UNEXPECTED = RpcCode(0x8000FFFF);
inline constexpr RpcResult E_HANDLE = RpcCode(0x80070006);
inline constexpr RpcResult E_OUTOFMEMORY = RpcCode(0x8007000E);
inline constexpr RpcResult E_FAIL = RpcCode(0x80004005);

// Status of a freshly created thread wrapper.
inline constexpr RpcResult RPC_S_THREAD_CREATED = RpcCode(0x02000000);
