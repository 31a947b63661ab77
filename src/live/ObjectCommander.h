#pragma once
// The engine's microphones and sound objects, polled twice a second by the object
// viewer, which takes copies of both lists after each poll.

#include <vector>

#include "ConnectionResults.h"
#include "EngineCommander.h"
#include "NorvInterfaces.h"

class CObjectCommander final : public TMonitoringCommander<INorvObjectMonitor> {
public:
    using TMonitoringCommander::TMonitoringCommander;
    std::string GetName() const override { return "CObjectCommander"; }

    // The micro list is emptied and refilled when the engine answers; the object list
    // is replaced only when the engine answers, else it keeps the previous poll's.
    void Poll();
    std::vector<CNorvMicro> CopyMicroList() const;
    std::vector<CNorvObjectRecord> CopyObjectList() const;

protected:
    RpcResult NotConnectedResult() const override { return CONN_E_NOT_CONNECTED; }
    void EmptyState() override;

private:
    std::vector<CNorvMicro> m_micros;
    std::vector<CNorvObjectRecord> m_objects;
};
