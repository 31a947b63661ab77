#pragma once
// The engine's loaded set, asked for on demand: the last answer is kept as one
// record per object id, in ascending id order, for the atomic loading viewer.

#include "EngineCommander.h"
#include "AtomicLoadingViewerDoc.h"
#include "ConnectionResults.h"
#include "NorvInterfaces.h"

class CAtomicLoadingCommander final : public TEngineCommander<INorvAtomicLoadingMonitor> {
public:
    using TEngineCommander::TEngineCommander;
    std::string GetName() const override { return "CAtomicLoadingCommander"; }

    // Replaces the kept set with the engine's answer; the result of the engine call.
    RpcResult Poll();
    // Read on the user's thread, the only one that polls.
    const CLoadedSet& Loaded() const { return m_loaded; }

protected:
    RpcResult NotConnectedResult() const override { return E_FAIL; }
    void EmptyState() override { m_loaded.clear(); }

private:
    CLoadedSet m_loaded;
};
