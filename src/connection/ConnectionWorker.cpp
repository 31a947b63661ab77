#include "ConnectionWorker.h"

#include <arpa/inet.h>
#include <netdb.h>

#include <cstdio>
#include <mutex>

#include "QuorvelFactories.h"

struct CConnectionWorker::Shared {
    RpcPtr<CRpcInstance> instance;
    CRpcEvent commandEvent{false};
    CRpcEvent completionEvent{false};
    std::atomic<int> command{0};
    std::atomic<RpcResult> commandResult{0};
    std::atomic<std::uint32_t> threadId{0};
    std::mutex addressLock;
    std::string engineAddress;
    std::atomic<std::int32_t> enginePort{0};
    std::atomic<IMessageTarget*> notifyTarget{nullptr};
    RpcPtr<INorvKeepAlive> root;  // used on the worker thread only
    std::uint32_t lastProbe = 0;

    RpcResult OpenRoot() {
        CRpcAddress address{};
        {
            std::lock_guard lock(addressLock);
            std::snprintf(address.szAddress, sizeof address.szAddress, "%s", engineAddress.c_str());
        }
        address.lPort = enginePort;
        RpcPtr<INorvKeepAlive> opened;
        const RpcResult r =
            instance->OpenRemote(&address, &INorvKeepAlive::CLSID, &INorvKeepAlive::IID, opened.PutVoid());
        if (RpcSucceeded(r)) root = std::move(opened);
        lastProbe = RpcClockMs();
        return r;
    }

    void Probe() {
        const std::uint32_t now = RpcClockMs();
        if (!root || now - lastProbe <= WORKER_PROBE_INTERVAL_MS) return;
        if (RpcFailed(root->IsAlive()))
            if (IMessageTarget* target = notifyTarget.load()) target->PostMessage(UM_CONNECTION_LOST, 0, 0);
        lastProbe = RpcClockMs();
    }
};

CConnectionWorker::CConnectionWorker()
    : m_instance(CRpcInstance::Create()), m_shared(std::make_shared<Shared>()) {
    m_shared->instance = m_instance;
}

CConnectionWorker::~CConnectionWorker() { Stop(); }

std::uint32_t CConnectionWorker::ThreadRoutine(const std::shared_ptr<Shared>& shared) {
    bool running = true, pumping = false;
    while (running) {
        // Pumping sleeps on the thread's queue, so an incoming call runs at once;
        // a command wakes the queue too.
        bool commanded;
        if (pumping) {
            shared->instance->WaitForMessages(1);
            commanded = shared->commandEvent.Wait(0);
        } else {
            commanded = shared->commandEvent.Wait(1);
        }
        if (commanded) {
            RpcResult result = 0;
            switch (shared->command.load()) {
            case WORKER_CMD_ATTACH:
                result = shared->instance->RegisterThread();
                if (RpcSucceeded(result)) {
                    shared->threadId = RpcCurrentThreadId();
                    pumping = true;
                }
                break;
            case WORKER_CMD_SHUTDOWN:
                shared->root.Reset();
                shared->instance->UnregisterThread();
                shared->threadId = 0;
                pumping = false;
                running = false;
                break;
            case WORKER_CMD_OPEN_ROOT:
                result = shared->OpenRoot();
                break;
            case WORKER_CMD_RELEASE_ROOT:
                shared->root.Reset();
                break;
            default:
                break;
            }
            shared->commandResult = result;
            shared->completionEvent.Set();
        }
        shared->Probe();
    }
    return 0;
}

RpcResult CConnectionWorker::Send(EWorkerCommand command) {
    if (!m_thread) return CONN_E_NOT_STARTED;
    m_shared->command = command;
    m_shared->commandEvent.Set();
    if (const std::uint32_t worker = m_shared->threadId) m_instance->WakeThread(worker);
    if (!m_shared->completionEvent.Wait(RPC_INFINITE)) return E_OUTOFMEMORY;
    return m_shared->commandResult;
}

RpcResult CConnectionWorker::StartThread() {
    if (m_thread) return CONN_E_ALREADY_STARTED;
    auto thread = std::make_unique<CRpcThread>();
    // The routine holds its own reference to what it uses.
    if (RpcFailed(thread->Create([shared = m_shared] { return ThreadRoutine(shared); }, RPC_PRIORITY_NORMAL)))
        return E_OUTOFMEMORY;
    m_thread = std::move(thread);
    return 0;
}

void CConnectionWorker::StopThread() {
    if (!m_thread) return;
    Send(WORKER_CMD_SHUTDOWN);
    if (m_thread->Join(WORKER_SHUTDOWN_WAIT_MS) != 0) {
        // A thread stuck in a call is freed by stopping the instance under it; if even
        // that does not end it, it is left to itself with what it shares.
        m_instance->Stop();
        m_thread->Join(WORKER_SHUTDOWN_WAIT_MS);
    }
    m_thread.reset();
}

RpcResult CConnectionWorker::Start(std::int32_t localPort, IMessageTarget* notifyTarget, CQuorvelDoc* owner) {
    if (m_bStarted) return CONN_E_ALREADY_STARTED;
    RpcResult r = m_instance->Start(localPort, RPC_PRIORITY_NORMAL);
    if (RpcFailed(r)) return r;
    for (auto factory : {CreateQuorvelFactory(), CreateQuorvelSceneFactory()})
        if (RpcSucceeded(r)) r = factory ? m_instance->RegisterFactory(factory.Get()) : E_OUTOFMEMORY;
    if (RpcSucceeded(r)) r = StartThread();
    if (RpcSucceeded(r)) {
        r = Send(WORKER_CMD_ATTACH);
        if (RpcFailed(r)) StopThread();
    }
    if (RpcFailed(r)) {
        Reset();
        return r;
    }
    m_shared->notifyTarget = notifyTarget;
    m_pOwner = owner;
    m_bStarted = true;
    return 0;
}

void CConnectionWorker::Reset() {
    m_instance->Stop();
    // The factories go with the stopped instance: the next Start begins afresh. A
    // thread that had to be abandoned keeps the old shared state to itself.
    m_instance = CRpcInstance::Create();
    m_shared = std::make_shared<Shared>();
    m_shared->instance = m_instance;
}

void CConnectionWorker::Stop() {
    if (!m_bStarted) return;
    Disconnect();
    StopThread();
    Reset();
    m_pOwner = nullptr;
    m_bStarted = false;
}

RpcResult CConnectionWorker::AttachCallingThread() {
    if (!m_bStarted) return CONN_E_NOT_STARTED;
    return m_instance->RegisterThread();
}

void CConnectionWorker::DetachCallingThread() {
    if (m_bStarted) m_instance->UnregisterThread();
}

RpcResult CConnectionWorker::Connect(const std::string& host, std::int32_t port) {
    if (m_bConnected) return CONN_E_CONNECT_FAILED;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (host.empty() || ::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
        return CONN_E_CONNECT_FAILED;
    char dotted[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr, dotted, sizeof dotted);
    ::freeaddrinfo(found);
    {
        std::lock_guard lock(m_shared->addressLock);
        m_shared->engineAddress = dotted;
    }
    m_shared->enginePort = port;
    m_lEnginePort = port;
    const RpcResult r = Send(WORKER_CMD_OPEN_ROOT);
    if (RpcFailed(r)) {
        std::lock_guard lock(m_shared->addressLock);
        m_shared->engineAddress.clear();
        m_shared->enginePort = 0;
        m_lEnginePort = 0;
        return r;
    }
    m_bConnected = true;
    return 0;
}

RpcResult CConnectionWorker::Disconnect() {
    {
        std::lock_guard lock(m_shared->addressLock);
        m_shared->engineAddress.clear();
    }
    m_shared->enginePort = 0;
    m_lEnginePort = 0;
    const RpcResult r = Send(WORKER_CMD_RELEASE_ROOT);
    m_bConnected = false;
    return r;
}

RpcResult CConnectionWorker::CreateRemoteObject(const GUID& classId, const GUID& interfaceId, void** out) {
    CRpcAddress address{};
    {
        std::lock_guard lock(m_shared->addressLock);
        std::snprintf(address.szAddress, sizeof address.szAddress, "%s", m_shared->engineAddress.c_str());
    }
    address.lPort = m_shared->enginePort;
    return m_instance->OpenRemote(&address, &classId, &interfaceId, out);
}

std::string CConnectionWorker::LocalAddress() { return m_instance->LocalAddress(); }

std::string CConnectionWorker::EngineAddress() const {
    std::lock_guard lock(m_shared->addressLock);
    return m_shared->engineAddress;
}
