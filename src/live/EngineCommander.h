#pragma once
// A commander owns one engine object that the engine does not push notifications
// for: switched on, it opens the object; polled by its viewer, it asks the engine
// for the current state and keeps the answer; switched off (by its viewer, the
// navigator or a lost connection), it drops the object and what it kept.
// Commanders are switched and polled on the user's thread; the lock guards the
// enabled flag and the copies handed to viewers.

#include <mutex>
#include <string>

#include "CommanderHost.h"
#include "EngineModule.h"
#include "RpcUnknown.h"

class CEngineCommander : public IEngineModule {
public:
    explicit CEngineCommander(ICommanderHost* owner) : m_pOwner(owner) {}
    virtual ~CEngineCommander() = default;
    CEngineCommander(const CEngineCommander&) = delete;
    CEngineCommander& operator=(const CEngineCommander&) = delete;

    bool IsSwitchable() const override { return true; }
    bool IsEnabled() const override;
    RpcResult Enable(bool enable) override;

protected:
    // What Enable(true) returns without an established connection.
    virtual RpcResult NotConnectedResult() const = 0;
    virtual RpcResult OpenEngineObject() = 0;
    // Stops observing if the interface has that, releases the object, empties the kept state.
    virtual void CloseEngineObject() = 0;
    // After a failed open: the kept state emptied, no object held.
    virtual void EmptyState() = 0;

    ICommanderHost* Owner() const { return m_pOwner; }
    mutable std::mutex m_lock;

private:
    ICommanderHost* const m_pOwner;
    bool m_bEnabled = false;
};

// The engine object of interface I, opened with I's class and interface ids.
template <class I>
class TEngineCommander : public CEngineCommander {
public:
    using CEngineCommander::CEngineCommander;
    ~TEngineCommander() override { m_engine.Reset(); }
    bool HoldsEngineObject() const { return static_cast<bool>(m_engine); }

protected:
    RpcResult OpenEngineObject() override {
        return Owner()->CreateRemoteObject(I::CLSID, I::IID, m_engine.PutVoid());
    }
    void CloseEngineObject() override {
        m_engine.Reset();
        EmptyState();
    }
    RpcPtr<I> m_engine;
};

// An engine object that observes only between its methods 1 (start) and 2 (stop);
// their answers change nothing.
template <class I>
class TMonitoringCommander : public TEngineCommander<I> {
public:
    using TEngineCommander<I>::TEngineCommander;

protected:
    RpcResult OpenEngineObject() override {
        const RpcResult r = TEngineCommander<I>::OpenEngineObject();
        if (RpcSucceeded(r)) this->m_engine->StartMonitoring();
        return r;
    }
    void CloseEngineObject() override {
        if (this->m_engine) this->m_engine->StopMonitoring();
        TEngineCommander<I>::CloseEngineObject();
    }
};
