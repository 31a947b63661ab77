#pragma once
// The transport instance: listens for peers, opens remote objects on peers, keeps
// the table of live bindings and routes every incoming message to the thread that
// owns its binding. Every binding belongs to one registered thread, which runs its
// messages when it pumps or waits for an answer; socket traffic runs on the
// instance's own I/O thread.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "RpcBinding.h"
#include "RpcClock.h"
#include "RpcFactoryRegistry.h"
#include "RpcInterfaces.h"
#include "RpcServerEndpoint.h"
#include "RpcThread.h"
#include "RpcThreadContext.h"
#include "RpcWakeup.h"

class CRpcServerLink;

// Where to open a remote object. The caller zero-fills it, then writes the dotted
// IPv4 address and the port.
struct CRpcAddress {
    char szReserved[255];
    char szAddress[17];
    std::int32_t lPort;
};

inline constexpr std::uint32_t RPC_DEFAULT_OPEN_TIMEOUT_MS = 60000;
inline constexpr std::uint32_t RPC_FIRST_CALL_ID = 0xF0000000u;
inline constexpr std::uint32_t RPC_DEFAULT_CALL_TIMEOUT_MS = 5000;
// A connection stops being read while its owner thread has this many messages
// waiting, and is read again once the thread has worked them down to the second.
inline constexpr std::size_t RPC_QUEUE_HIGH_WATER = 4096;
inline constexpr std::size_t RPC_QUEUE_LOW_WATER = 2048;

class CRpcInstance : public CRpcInternalObject {
public:
    static RpcPtr<CRpcInstance> Create();

    RpcResult Start(std::int32_t localPort, int ioPriority);
    void Stop();
    RpcResult RegisterFactory(IRpcFactory* factory);
    RpcResult UnregisterFactory(IRpcFactory* factory);
    RpcResult RegisterThread(std::uint32_t reserved = 0);
    void UnregisterThread();
    RpcResult OpenRemote(const CRpcAddress* address, const GUID* clsid, const GUID* iid, void** out);
    RpcResult Pump();
    // Waits for a message for the calling thread and processes its queue. 0 after a
    // wake-up; RPC_E_DISCONNECTED when the binding's connection is gone or the
    // instance stopped; RPC_E_CALL_TIMEOUT when the time-out passed first.
    RpcResult WaitForAnswer(std::uint32_t bindingId, std::uint32_t timeoutMs = RPC_INFINITE);
    // For a registered thread's main loop: sleeps until a message is queued for it
    // (or the time-out passes), then pumps.
    RpcResult WaitForMessages(std::uint32_t timeoutMs);
    // Keeps the message alive for as long as the caller holds it.
    RpcResult GetHeldMessage(std::uint32_t messageKey, RpcPtr<CRpcQueuedMessage>* message);
    void DropHeldMessage(std::uint32_t messageKey);
    RpcResult SendAsClient(std::uint32_t bindingId, const void* data, std::uint32_t length, std::uint32_t mode);
    RpcResult SendAsServer(std::uint32_t bindingId, const void* data, std::uint32_t length, std::uint32_t mode);
    RpcResult ReleaseBinding(std::uint32_t bindingId);
    std::uint32_t NextCallId();
    const char* LocalAddress();

    // Ours: a test may shorten the open time-out; the listening port actually bound.
    void SetOpenTimeout(std::uint32_t timeoutMs) { m_ulOpenTimeoutMs = timeoutMs; }
    std::uint32_t OpenTimeout() const { return m_ulOpenTimeoutMs; }
    // How long a proxy waits for the answer to a two-way call before it fails the
    // call with RPC_E_CALL_TIMEOUT; RPC_INFINITE waits until the connection closes.
    void SetCallTimeout(std::uint32_t timeoutMs) { m_ulCallTimeoutMs = timeoutMs; }
    std::uint32_t CallTimeout() const { return m_ulCallTimeoutMs; }
    std::int32_t ListeningPort();
    bool IsStarted();
    std::uint32_t MainThreadId();
    std::size_t BindingCount();
    // Bytes sent on the binding's connection that the socket has not taken yet: a
    // sender that must not outrun its peer waits while this grows.
    std::size_t PendingSendBytes(std::uint32_t bindingId);
    // Wakes a registered thread that sleeps in WaitForMessages.
    void WakeThread(std::uint32_t threadId);

    // Operations the links call.
    RpcResult AcceptOpen(CRpcServerLink* link, const GUID& clsid);
    void CloseBinding(CRpcServerLink* link, std::uint32_t bindingId);
    void RemoveLink(CRpcLink* link);
    // *queued tells how many messages wait in the owner's queue afterwards.
    RpcResult PostToOwner(std::uint32_t bindingId, ERpcMessageKind kind, CRpcBuffer* frame, std::uint32_t offset,
                          std::uint32_t length, std::size_t* queued = nullptr);
    std::size_t OwnerQueueLength(std::uint32_t bindingId);
    void WakeOwner(std::uint32_t bindingId);
    RpcResult SendOnChannel(CRpcChannel* channel, CRpcBuffer* buffer);
    void DeliverRequest(std::uint32_t bindingId, const std::uint8_t* data, std::uint32_t length);
    // False when no proxy took the message: its binding is gone or serves an object.
    bool DeliverHeldMessage(std::uint32_t bindingId, std::uint32_t messageKey, const std::uint8_t* data,
                            std::uint32_t length);
    // 1 when the binding's connection is gone, 0 while it is up, RPC_E_INVALIDARG for an unknown binding.
    int IsClosed(std::uint32_t bindingId);

private:
    CRpcInstance();
    ~CRpcInstance() override;

    using Lock = std::unique_lock<std::recursive_mutex>;

    static std::uint32_t IoRoutine(void* self);
    void RunIoLoop();
    void WakeIoThread() { m_wakeup.Signal(); }
    RpcPtr<CRpcThreadContext> CallingContext();
    RpcPtr<CRpcBinding> FindBinding(std::uint32_t bindingId);
    std::uint32_t NewBindingId();
    RpcResult SendAs(ERpcBindingSide side, std::uint32_t bindingId, const void* data, std::uint32_t length,
                     std::uint32_t mode);
    static void OnAccept(CRpcChannel* channel, void* self, CRpcChannelHandlers* toFill);
    static void Barrier(CRpcChannel* channel, void* self);

    std::recursive_mutex m_lock;
    bool m_bStarted = false;
    bool m_bStopping = false;
    std::unordered_map<std::uint32_t, RpcPtr<CRpcThreadContext>> m_threads;
    std::unordered_map<std::uint32_t, RpcPtr<CRpcBinding>> m_bindings;
    std::vector<RpcPtr<CRpcLink>> m_links;
    CRpcServerEndpoint m_server;
    CRpcFactoryRegistry m_registry;
    std::unique_ptr<CRpcThread> m_ioThread;
    std::atomic<bool> m_bIoStop{false};
    CRpcWakeup m_wakeup;
    std::uint32_t m_ulMainThreadId = 0;
    std::uint32_t m_ulNextCallId = RPC_FIRST_CALL_ID;
    std::uint32_t m_ulNextBindingId = 1;
    std::atomic<std::uint32_t> m_ulOpenTimeoutMs{RPC_DEFAULT_OPEN_TIMEOUT_MS};
    std::atomic<std::uint32_t> m_ulCallTimeoutMs{RPC_DEFAULT_CALL_TIMEOUT_MS};
};
