#pragma once
// The one place where the link with a running engine is opened, kept alive and
// closed. It owns the transport instance, a worker thread that runs the engine's
// incoming calls and the commands that must run there, and the engine's root
// object, probed every 3 s.

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "ConnectionResults.h"
#include "NorvInterfaces.h"
#include "RpcEvent.h"
#include "RpcInstance.h"
#include "RpcThread.h"
#include "WindowMessages.h"

class CQuorvelDoc;


enum EWorkerCommand : int {
    WORKER_CMD_ATTACH = 1,
    WORKER_CMD_SHUTDOWN = 2,
    WORKER_CMD_OPEN_ROOT = 3,
    WORKER_CMD_RELEASE_ROOT = 4,
};

inline constexpr std::uint32_t WORKER_PROBE_INTERVAL_MS = 3000;
inline constexpr std::uint32_t WORKER_SHUTDOWN_WAIT_MS = 5000;

class CConnectionWorker {
public:
    CConnectionWorker();
    ~CConnectionWorker();
    CConnectionWorker(const CConnectionWorker&) = delete;
    CConnectionWorker& operator=(const CConnectionWorker&) = delete;

    RpcResult Start(std::int32_t localPort, IMessageTarget* notifyTarget, CQuorvelDoc* owner);
    void Stop();
    RpcResult AttachCallingThread();
    void DetachCallingThread();
    RpcResult Connect(const std::string& host, std::int32_t port);
    RpcResult Disconnect();
    RpcResult CreateRemoteObject(const GUID& classId, const GUID& interfaceId, void** out);
    std::string LocalAddress();

    bool IsStarted() const { return m_bStarted; }
    bool IsConnected() const { return m_bConnected; }
    std::string EngineAddress() const;
    std::int32_t EnginePort() const { return m_lEnginePort; }
    CRpcInstance* Instance() const { return m_instance.Get(); }

private:
    // What the worker thread uses lives here, shared with the thread, so that a
    // thread that had to be abandoned never touches a destroyed worker.
    struct Shared;
    static std::uint32_t ThreadRoutine(const std::shared_ptr<Shared>& shared);
    RpcResult Send(EWorkerCommand command);
    RpcResult StartThread();
    void StopThread();
    // Stops the instance and starts over with fresh state.
    void Reset();

    RpcPtr<CRpcInstance> m_instance;
    std::shared_ptr<Shared> m_shared;
    std::unique_ptr<CRpcThread> m_thread;
    std::atomic<bool> m_bStarted{false};
    std::atomic<bool> m_bConnected{false};
    std::int32_t m_lEnginePort = 0;
    CQuorvelDoc* m_pOwner = nullptr;
};
