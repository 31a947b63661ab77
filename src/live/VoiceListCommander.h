#pragma once
// The voices the engine is playing, polled twice a second by the voice list.

#include <vector>

#include "ConnectionResults.h"
#include "EngineCommander.h"
#include "NorvInterfaces.h"

class CVoiceListCommander final : public TEngineCommander<INorvVoiceMonitor> {
public:
    using TEngineCommander::TEngineCommander;
    std::string GetName() const override { return "CVoiceListCommander"; }

    // Empties the list and refills it from the engine; the engine call's result.
    RpcResult Poll();
    std::vector<CNorvVoiceRecord> CopyVoiceList() const;

protected:
    RpcResult NotConnectedResult() const override { return CONN_E_NOT_CONNECTED; }
    RpcResult OpenEngineObject() override;
    void CloseEngineObject() override;
    void EmptyState() override;

private:
    std::vector<CNorvVoiceRecord> m_voices;
};
