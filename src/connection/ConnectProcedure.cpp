#include "ConnectProcedure.h"

#include <cstdio>
#include <vector>

#include "StringTable.h"

ConnectOutcome RunConnectProcedure(IConnectionDocument& document, const CConnectionRecord& record,
                                   const std::atomic<bool>& cancel) {
    ConnectOutcome outcome;
    if (cancel) {
        outcome.bCancelled = true;
        return outcome;
    }
    outcome.lResult = document.StartLink();
    if (RpcFailed(outcome.lResult)) {
        outcome.nErrorText = IDS_CANNOT_INITIALIZE_RPC;
        return outcome;
    }
    outcome.lResult = document.AttachCallingThread();
    if (RpcFailed(outcome.lResult)) {
        // The link was started for this attempt only; it must not stay listening.
        document.StopLink();
        outcome.nErrorText = IDS_CANNOT_INITIALIZE_RPC;
        return outcome;
    }
    if (cancel) {
        document.DetachCallingThread();
        document.StopLink();
        outcome.lResult = 0;
        outcome.bCancelled = true;
        return outcome;
    }
    outcome.lResult = document.Connect(record.csAddress, record.PortNumber(), record.csName);
    document.DetachCallingThread();
    if (RpcFailed(outcome.lResult)) {
        document.StopLink();
        outcome.nErrorText = IDS_CANNOT_CONNECT;
        return outcome;
    }
    outcome.lResult = 0;
    return outcome;
}

bool CompleteConnection(IConnectionDocument& document, IPrompt& prompt) {
    if (document.ConnectionState() != CONNECTION_ESTABLISHED) return false;
    document.AttachCallingThread();
    document.UpdateViews(HINT_CONNECTION_ESTABLISHED);
    std::string version = "0.0.0";
    const RpcResult r = document.GetEngineVersion(&version);
    if (RpcSucceeded(r) && version == QV_EXPECTED_ENGINE_VERSION) return true;
    const char* format = QvString(IDS_VERSION_MISMATCH);
    std::vector<char> text(std::snprintf(nullptr, 0, format, version.c_str(), QV_EXPECTED_ENGINE_VERSION) + 1);
    std::snprintf(text.data(), text.size(), format, version.c_str(), QV_EXPECTED_ENGINE_VERSION);
    if (prompt.AskYesNo(text.data())) return true;
    document.Disconnect();
    document.StopLink();
    return false;
}
