#include "RpcInstance.h"

#include <algorithm>
#include <new>

#include "RpcClientLink.h"
#include "RpcServerLink.h"

RpcPtr<CRpcInstance> CRpcInstance::Create() { return RpcPtr<CRpcInstance>::Adopt(new (std::nothrow) CRpcInstance()); }

CRpcInstance::CRpcInstance() {
    m_threads.reserve(255);
    m_bindings.reserve(255);
}

CRpcInstance::~CRpcInstance() {
    Stop();
    m_registry.Clear();
}

RpcResult CRpcInstance::Start(std::int32_t localPort, int ioPriority) {
    Lock lock(m_lock);
    if (m_bStarted || m_bStopping) return RPC_E_INSTANCE_STARTED;
    if (!m_wakeup.IsValid()) return RPC_E_OUTOFMEMORY;
    RpcResult r = m_server.Start();
    if (RpcFailed(r)) return r;

    CRpcEndpointHandlers handlers;
    handlers.pfnAccept = &CRpcInstance::OnAccept;
    handlers.pvAcceptUser = this;
    handlers.pfnChannelAdded = &CRpcInstance::Barrier;
    handlers.pvAddedUser = this;
    handlers.pfnDefaultClosed = &CRpcInstance::Barrier;
    handlers.pvClosedUser = this;
    m_server.SetDelayFlag(0);
    r = m_server.Listen(localPort, &handlers);
    if (RpcFailed(r)) {
        m_server.CleanUp();
        return r;
    }

    m_bIoStop = false;
    m_ioThread.reset(new (std::nothrow) CRpcThread());
    if (!m_ioThread || RpcFailed(m_ioThread->Create(&CRpcInstance::IoRoutine, this, ioPriority))) {
        m_ioThread.reset();
        m_server.CleanUp();
        return RPC_E_OUTOFMEMORY;
    }
    m_bStarted = true;
    return RPC_S_OK;
}

void CRpcInstance::Stop() {
    {
        Lock lock(m_lock);
        if (!m_bStarted || m_bStopping) return;
        m_bStopping = true;
        m_bIoStop = true;
    }
    WakeIoThread();
    m_ioThread->Join(RPC_INFINITE);

    std::unordered_map<std::uint32_t, RpcPtr<CRpcThreadContext>> threads;
    std::vector<RpcPtr<CRpcLink>> links;
    std::unordered_map<std::uint32_t, RpcPtr<CRpcBinding>> bindings;
    {
        Lock lock(m_lock);
        m_ioThread.reset();
        m_server.CleanUp();
        threads.swap(m_threads);
        m_ulMainThreadId = 0;
        // Threads still waiting for an answer are woken and fail their wait: nothing
        // will ever answer them now.
        for (auto& [id, context] : threads) context->Clear();
        links.swap(m_links);
        for (auto& link : links) {
            link->ForgetChannel();
            link->Stop();
        }
        bindings.swap(m_bindings);
        for (auto& [id, binding] : bindings) binding->Unbind();
        m_bIoStop = false;
        m_bStarted = false;
        m_bStopping = false;
    }
    // Released outside the lock: a served object's destruction may call back in.
}

RpcResult CRpcInstance::RegisterFactory(IRpcFactory* factory) { return m_registry.Register(factory); }

RpcResult CRpcInstance::UnregisterFactory(IRpcFactory* factory) { return m_registry.Unregister(factory); }

RpcResult CRpcInstance::RegisterThread(std::uint32_t reserved) {
    if (reserved != 0) return RPC_E_NOT_SUPPORTED;
    const std::uint32_t self = RpcCurrentThreadId();
    Lock lock(m_lock);
    if (m_threads.count(self)) return RPC_S_FALSE;
    auto context = RpcMake<CRpcThreadContext>(this);
    if (!context) return RPC_E_OUTOFMEMORY;
    m_threads.emplace(self, std::move(context));
    if (m_ulMainThreadId == 0) m_ulMainThreadId = self;
    return RPC_S_OK;
}

void CRpcInstance::UnregisterThread() {
    const std::uint32_t self = RpcCurrentThreadId();
    RpcPtr<CRpcThreadContext> context;
    {
        Lock lock(m_lock);
        auto it = m_threads.find(self);
        if (it == m_threads.end()) return;
        context = std::move(it->second);
        m_threads.erase(it);
        if (m_ulMainThreadId == self) m_ulMainThreadId = 0;
    }
    context->Clear();
}

RpcPtr<CRpcThreadContext> CRpcInstance::CallingContext() {
    Lock lock(m_lock);
    auto it = m_threads.find(RpcCurrentThreadId());
    return it == m_threads.end() ? nullptr : it->second;
}

RpcPtr<CRpcBinding> CRpcInstance::FindBinding(std::uint32_t bindingId) {
    Lock lock(m_lock);
    auto it = m_bindings.find(bindingId);
    return it == m_bindings.end() ? nullptr : it->second;
}

std::uint32_t CRpcInstance::NewBindingId() {
    std::uint32_t id;
    do {
        id = m_ulNextBindingId++;
    } while (id == 0 || m_bindings.count(id));
    return id;
}

RpcResult CRpcInstance::OpenRemote(const CRpcAddress* address, const GUID* clsid, const GUID* iid, void** out) {
    if (!address || !clsid || !out) return RPC_E_INVALIDARG;
    if (!CallingContext()) return RPC_E_THREAD_NOT_REGISTERED;
    // Without the I/O thread nobody would ever read the object's answers.
    if (!IsStarted()) return RPC_E_SERVER_NOT_STARTED;

    auto binding = RpcMake<CRpcBinding>(RPC_SIDE_CLIENT);
    auto link = RpcMake<CRpcClientLink>(this);
    if (!binding || !link) return RPC_E_OUTOFMEMORY;
    binding->m_link = link;
    const auto fail = [&binding](RpcResult r) {
        binding->Unbind();
        return r;
    };

    RpcResult r = link->Start();
    if (RpcFailed(r)) return fail(r);
    // Nobody else can see the link yet, so neither the blocking connect nor the
    // open exchange needs the instance lock; holding it would stall every other
    // connection for as long as an unreachable peer takes to refuse.
    char peer[sizeof address->szAddress + 1] = {};
    std::copy_n(address->szAddress, sizeof address->szAddress, peer);
    r = link->Connect(peer, address->lPort);
    if (RpcFailed(r)) return fail(r);
    r = link->Open(*clsid, m_ulOpenTimeoutMs);
    if (r != RPC_S_OK)
        // A status that is neither S_OK nor a failure would pass a caller's failure
        // test with no object behind it; it is a malformed answer.
        return fail(RpcFailed(r) ? r : RPC_E_BAD_OPEN_ANSWER);

    Lock lock(m_lock);
    // The instance may have stopped while we waited: nobody would poll the link.
    if (!m_bStarted || m_bStopping) return fail(RPC_E_SERVER_NOT_STARTED);
    if (!m_threads.count(RpcCurrentThreadId())) return fail(RPC_E_THREAD_NOT_REGISTERED);
    RpcPtr<IRpcProxy> proxy;
    r = m_registry.CreateProxy(clsid, &IID_IRpcProxy, proxy.PutVoid());
    if (RpcFailed(r)) return fail(r);
    if (!iid) return fail(E_INVALIDARG);
    r = proxy->QueryInterface(iid, out);
    if (RpcFailed(r)) return fail(r);

    const std::uint32_t id = NewBindingId();
    binding->m_ulId = id;
    binding->m_ulOwnerThreadId = RpcCurrentThreadId();
    binding->m_pProxy = proxy.Get();
    link->SetBindingId(id);
    proxy->Attach(this, id);
    m_links.push_back(link);
    m_bindings.emplace(id, binding);
    WakeIoThread();  // a new connection to watch
    return RPC_S_OK;
}

RpcResult CRpcInstance::AcceptOpen(CRpcServerLink* link, const GUID& clsid) {
    Lock lock(m_lock);
    if (m_ulMainThreadId == 0) return RPC_E_THREAD_NOT_REGISTERED;
    // One connection carries one object; a second open on it is refused.
    if (link->HasBinding()) return RPC_E_NOT_SUPPORTED;
    auto binding = RpcMake<CRpcBinding>(RPC_SIDE_SERVER);
    if (!binding) return RPC_E_OUTOFMEMORY;
    RpcPtr<IRpcStub> stub;
    RpcResult r = m_registry.CreateStub(&clsid, &IID_IRpcStub, stub.PutVoid());
    if (RpcFailed(r)) return r;
    RpcPtr<IRpcUnknown> object;
    r = m_registry.CreateObject(&clsid, &IID_IRpcUnknown, object.PutVoid());
    if (RpcFailed(r)) return r;

    const std::uint32_t id = NewBindingId();
    binding->m_ulId = id;
    binding->m_link = RpcPtr<CRpcLink>::Retain(link);
    binding->m_stub = stub;
    binding->m_ulOwnerThreadId = m_ulMainThreadId;
    link->SetBinding(binding.Get());
    stub->Attach(this, id, object.Get());
    m_bindings.emplace(id, std::move(binding));
    return RPC_S_OK;
}

void CRpcInstance::CloseBinding(CRpcServerLink* link, std::uint32_t bindingId) {
    Lock lock(m_lock);
    RpcPtr<CRpcLink> keepLink = RpcPtr<CRpcLink>::Retain(link);
    link->Stop();
    auto it = m_bindings.find(bindingId);
    if (it == m_bindings.end()) return;
    RpcPtr<CRpcBinding> binding = std::move(it->second);
    m_bindings.erase(it);
    binding->Unbind();
}

void CRpcInstance::RemoveLink(CRpcLink* link) {
    Lock lock(m_lock);
    auto it = std::find_if(m_links.begin(), m_links.end(), [link](const auto& l) { return l.Get() == link; });
    if (it != m_links.end()) m_links.erase(it);
}

RpcResult CRpcInstance::PostToOwner(std::uint32_t bindingId, ERpcMessageKind kind, CRpcBuffer* frame,
                                    std::uint32_t offset, std::uint32_t length, std::size_t* queued) {
    RpcPtr<CRpcThreadContext> context;
    {
        Lock lock(m_lock);
        auto binding = m_bindings.find(bindingId);
        if (binding == m_bindings.end()) return RPC_E_INVALIDARG;
        auto owner = m_threads.find(binding->second->m_ulOwnerThreadId);
        if (owner == m_threads.end()) return RPC_E_NO_OWNER_THREAD;
        context = owner->second;
    }
    auto message = RpcPtr<CRpcQueuedMessage>::Adopt(new (std::nothrow)
                                                        CRpcQueuedMessage(kind, bindingId, frame, offset, length));
    if (!message) return RPC_E_OUTOFMEMORY;
    const std::size_t waiting = context->Post(std::move(message));
    if (queued) *queued = waiting;
    return RPC_S_OK;
}

std::size_t CRpcInstance::OwnerQueueLength(std::uint32_t bindingId) {
    Lock lock(m_lock);
    auto binding = m_bindings.find(bindingId);
    if (binding == m_bindings.end()) return 0;
    auto owner = m_threads.find(binding->second->m_ulOwnerThreadId);
    return owner == m_threads.end() ? 0 : owner->second->QueueLength();
}

void CRpcInstance::WakeOwner(std::uint32_t bindingId) {
    Lock lock(m_lock);
    auto binding = m_bindings.find(bindingId);
    if (binding == m_bindings.end()) return;
    auto owner = m_threads.find(binding->second->m_ulOwnerThreadId);
    if (owner != m_threads.end()) owner->second->Wake();
}

void CRpcInstance::WakeThread(std::uint32_t threadId) {
    Lock lock(m_lock);
    auto it = m_threads.find(threadId);
    if (it != m_threads.end()) it->second->Wake();
}

RpcResult CRpcInstance::SendOnChannel(CRpcChannel* channel, CRpcBuffer* buffer) {
    Lock lock(m_lock);
    const RpcResult r = m_server.SendOnChannel(channel, buffer);
    if (channel && !channel->IsClosed() && channel->HasPendingSend()) WakeIoThread();
    return r;
}

void CRpcInstance::DeliverRequest(std::uint32_t bindingId, const std::uint8_t* data, std::uint32_t length) {
    RpcPtr<IRpcStub> stub;
    if (auto binding = FindBinding(bindingId)) stub = binding->m_stub;
    // The stub runs without the instance lock: it may take as long as it likes.
    if (stub) stub->Dispatch(data, length);
}

bool CRpcInstance::DeliverHeldMessage(std::uint32_t bindingId, std::uint32_t messageKey, const std::uint8_t* data,
                                      std::uint32_t length) {
    Lock lock(m_lock);
    auto it = m_bindings.find(bindingId);
    if (it == m_bindings.end() || !it->second->m_pProxy) return false;
    it->second->m_pProxy->AnswerReceived(messageKey, data, length);
    return true;
}

int CRpcInstance::IsClosed(std::uint32_t bindingId) {
    Lock lock(m_lock);
    auto it = m_bindings.find(bindingId);
    if (it == m_bindings.end()) return RPC_E_INVALIDARG;
    return it->second->m_link ? it->second->m_link->IsClosed() : 1;
}

RpcResult CRpcInstance::Pump() {
    auto context = CallingContext();
    if (!context) return RPC_E_THREAD_NOT_REGISTERED;
    context->ProcessQueue();
    return RPC_S_OK;
}

RpcResult CRpcInstance::WaitForAnswer(std::uint32_t bindingId, std::uint32_t timeoutMs) {
    auto context = CallingContext();
    if (!context) return RPC_E_THREAD_NOT_REGISTERED;
    return context->WaitForAnswer(bindingId, timeoutMs);
}

RpcResult CRpcInstance::WaitForMessages(std::uint32_t timeoutMs) {
    auto context = CallingContext();
    if (!context) return RPC_E_THREAD_NOT_REGISTERED;
    return context->WaitForMessages(timeoutMs);
}

RpcResult CRpcInstance::GetHeldMessage(std::uint32_t messageKey, RpcPtr<CRpcQueuedMessage>* message) {
    auto context = CallingContext();
    if (!context) return E_HANDLE;
    return context->GetHeldMessage(messageKey, message);
}

void CRpcInstance::DropHeldMessage(std::uint32_t messageKey) {
    if (auto context = CallingContext()) context->DropHeldMessage(messageKey);
}

RpcResult CRpcInstance::SendAs(ERpcBindingSide side, std::uint32_t bindingId, const void* data, std::uint32_t length,
                               std::uint32_t mode) {
    if (!data && length) return RPC_E_INVALIDARG;
    Lock lock(m_lock);
    auto it = m_bindings.find(bindingId);
    if (it == m_bindings.end() || !it->second->m_link) return RPC_E_INVALIDARG;
    CRpcLink* link = it->second->m_link.Get();
    const RpcResult r = side == RPC_SIDE_CLIENT ? link->SendAsClient(data, length, mode)
                                                 : link->SendAsServer(data, length, mode);
    if (link->HasPendingSend()) WakeIoThread();
    return RpcFailed(r) ? r : RPC_S_OK;
}

RpcResult CRpcInstance::SendAsClient(std::uint32_t bindingId, const void* data, std::uint32_t length,
                                     std::uint32_t mode) {
    return SendAs(RPC_SIDE_CLIENT, bindingId, data, length, mode);
}

RpcResult CRpcInstance::SendAsServer(std::uint32_t bindingId, const void* data, std::uint32_t length,
                                     std::uint32_t mode) {
    return SendAs(RPC_SIDE_SERVER, bindingId, data, length, mode);
}

RpcResult CRpcInstance::ReleaseBinding(std::uint32_t bindingId) {
    Lock lock(m_lock);
    auto it = m_bindings.find(bindingId);
    if (it == m_bindings.end()) return RPC_E_INVALIDARG;
    RpcPtr<CRpcBinding> binding = std::move(it->second);
    m_bindings.erase(it);
    RemoveLink(binding->m_link.Get());
    binding->Unbind();
    return RPC_S_OK;
}

std::uint32_t CRpcInstance::NextCallId() {
    Lock lock(m_lock);
    return m_ulNextCallId++;
}

const char* CRpcInstance::LocalAddress() {
    Lock lock(m_lock);
    return m_server.LocalAddress();
}

std::int32_t CRpcInstance::ListeningPort() {
    std::int32_t port = -1;
    m_server.GetPort(&port);
    return port;
}

bool CRpcInstance::IsStarted() {
    Lock lock(m_lock);
    return m_bStarted;
}

std::uint32_t CRpcInstance::MainThreadId() {
    Lock lock(m_lock);
    return m_ulMainThreadId;
}

std::size_t CRpcInstance::BindingCount() {
    Lock lock(m_lock);
    return m_bindings.size();
}

std::size_t CRpcInstance::PendingSendBytes(std::uint32_t bindingId) {
    Lock lock(m_lock);
    auto it = m_bindings.find(bindingId);
    return it != m_bindings.end() && it->second->m_link ? it->second->m_link->PendingBytes() : 0;
}

void CRpcInstance::OnAccept(CRpcChannel* channel, void* self, CRpcChannelHandlers* toFill) {
    auto* instance = static_cast<CRpcInstance*>(self);
    auto link = RpcMake<CRpcServerLink>(instance, channel);
    if (!link) return;
    link->Start();
    *toFill = link->Handlers();
    Lock lock(instance->m_lock);
    instance->m_links.push_back(std::move(link));
}

void CRpcInstance::Barrier(CRpcChannel*, void* self) { Lock lock(static_cast<CRpcInstance*>(self)->m_lock); }
