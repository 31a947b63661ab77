#pragma once
// A logger source keeps every record of its kind in a history, for as long as the
// project lives or until the history is emptied, and hands each new record to the
// queue of every open view of its kind. Notifications reach it on the connection
// worker's thread; views drain their queues on the user's thread.

#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "EngineModule.h"
#include "InfoQueue.h"
#include "InfoRecords.h"
#include "NotificationSources.h"

// How a source reaches the engine's monitor manager (the project document).
struct IEngineInfoProvider {
    virtual RpcResult GetEngineInfo(RpcPtr<INorvMonitorManager>* out) = 0;

protected:
    ~IEngineInfoProvider() = default;
};

class CLoggerSource : public IEngineModule {
public:
    CLoggerSource(ENorvListenerKind kind, IEngineInfoProvider* owner) : m_eKind(kind), m_pOwner(owner) {}
    virtual ~CLoggerSource();
    CLoggerSource(const CLoggerSource&) = delete;
    CLoggerSource& operator=(const CLoggerSource&) = delete;

    bool IsSwitchable() const override { return m_bSwitchable; }
    bool IsEnabled() const override { return m_bEnabled; }
    // Registers or removes this source as the engine's listener of its kind.
    RpcResult Enable(bool enable) override;
    // The link is gone and the engine with it: off, without calling anyone.
    void ForgetEngine() { m_bEnabled = false; }
    int AddQueue(IMessageTarget* window, std::uint32_t message);
    void RemoveQueue(IMessageTarget* window);
    // The window's current queue, or none. Queues are added and removed on the
    // user's thread only, so there it stays valid until the next AddQueue or
    // RemoveQueue for the window.
    CInfoQueue* QueueOf(IMessageTarget* window);
    // Pushes the whole history, oldest first, into the window's queue; 0 when it has none.
    int RefreshFromHistory(IMessageTarget* window);
    void EmptyHistory();
    std::size_t HistorySize();
    ENorvListenerKind ListenerKind() const { return m_eKind; }

protected:
    // Appends a new record (taking its creation reference) and queues it for every
    // view; E_OUTOFMEMORY when it could not be made.
    RpcResult Distribute(CInfoContainer* record);
    // Called by the derived source once it is fully built, and before it goes.
    template <class Source>
    void RegisterCookie(Source* self) {
        m_ulCookie = CSourceCookies::Instance().Register<Source>(self);
    }
    void UnregisterCookie();

private:
    const ENorvListenerKind m_eKind;
    IEngineInfoProvider* const m_pOwner;
    std::mutex m_lock;
    bool m_bSwitchable = true;
    std::atomic<bool> m_bEnabled{false};
    std::deque<CInfoContainer*> m_history;
    std::map<IMessageTarget*, std::unique_ptr<CInfoQueue>> m_queues;
    RpcCookie m_ulCookie = 0;
};

// The error text the navigator shows when a source cannot be switched on for want of a connection.
inline constexpr const char* QV_NOT_CONNECTED_TEXT = "Error: connection with NORV is not established !";
bool IsNotConnectedCode(RpcResult code);

class CEventLoggerSource final : public CLoggerSource, public IEventSource {
public:
    explicit CEventLoggerSource(IEngineInfoProvider* owner);
    ~CEventLoggerSource() override;
    std::string GetName() const override { return "Event Logger Viewer"; }
    RpcResult OnEvent(std::uint32_t eventId, std::uint32_t eventType, std::int32_t priority, std::int32_t objectId,
                      std::int32_t objectType) override;
};

class CResourceLoggerSource final : public CLoggerSource, public IResourceSource {
public:
    explicit CResourceLoggerSource(IEngineInfoProvider* owner);
    ~CResourceLoggerSource() override;
    std::string GetName() const override { return "Resource Logger Viewer"; }
    RpcResult OnResource(std::uint32_t resourceId, std::uint32_t resourceType, std::int32_t volume) override;
};

class CAtomicLoadingLoggerSource final : public CLoggerSource, public IAtomicLoadingSource {
public:
    explicit CAtomicLoadingLoggerSource(IEngineInfoProvider* owner);
    ~CAtomicLoadingLoggerSource() override;
    std::string GetName() const override { return "Atomic Loading Logger"; }
    RpcResult OnAtomicLoading(std::uint32_t objectId, std::uint32_t eventType, std::uint32_t dataType) override;
};
