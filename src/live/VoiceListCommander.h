#pragma once
// The voices the engine is playing, polled twice a second by the voice list.

#include <vector>

#include "ConnectionResults.h"
#include "EngineCommander.h"
#include "NorvInterfaces.h"

class CVoiceListCommander final : public TMonitoringCommander<INorvVoiceMonitor> {
public:
    using TMonitoringCommander::TMonitoringCommander;
    std::string GetName() const override { return "CVoiceListCommander"; }

    // Empties the list and refills it from the engine; the engine call's result.
    RpcResult Poll();
    std::vector<CNorvVoiceRecord> CopyVoiceList() const;

protected:
    RpcResult NotConnectedResult() const override { return CONN_E_NOT_CONNECTED; }
    void EmptyState() override;

private:
    std::vector<CNorvVoiceRecord> m_voices;
};
