#pragma once
// The project document. This holds its connection half: the connection worker,
// the connection state and name, the project's local port, the engine information
// object and the connection records. The rest of the document joins it later.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "ConnectionDocument.h"
#include "ConnectionViewDoc.h"
#include "ConnectionWorker.h"
#include "LoggerSource.h"
#include "NorvInterfaces.h"
#include "WindowMessages.h"

inline constexpr std::int32_t QV_DEFAULT_LOCAL_PORT = 12988;

// Told, in this order, when the link with the engine goes: the commanders drop
// their engine objects, then the tools switch themselves off.
struct IEngineObjectHolder {
    virtual void ReleaseEngineObjects() = 0;

protected:
    ~IEngineObjectHolder() = default;
};

struct ISwitchableTool {
    virtual void SwitchOff() = 0;

protected:
    ~ISwitchableTool() = default;
};

struct IDocumentView {
    virtual void OnUpdate(int hint) = 0;

protected:
    ~IDocumentView() = default;
};

class CQuorvelDoc final : public IConnectionDocument, public IEngineInfoProvider {
public:
    explicit CQuorvelDoc(CKeyStore& store = CKeyStore::User(), IPrompt* prompt = nullptr);
    ~CQuorvelDoc();

    // The main frame: receives UM_STATUS_REFRESH and UM_CONNECTION_LOST.
    void SetFrame(IMessageTarget* frame) { m_pFrame = frame; }
    void AddEngineObjectHolder(IEngineObjectHolder* holder) { m_holders.push_back(holder); }
    void AddTool(ISwitchableTool* tool) { m_tools.push_back(tool); }
    void AddView(IDocumentView* view) { m_views.push_back(view); }

    std::int32_t m_lLocalQuorvelTCPPort = QV_DEFAULT_LOCAL_PORT;

    RpcResult StartLink() override;
    void StopLink() override;
    RpcResult AttachCallingThread() override { return m_worker.AttachCallingThread(); }
    void DetachCallingThread() override { m_worker.DetachCallingThread(); }
    RpcResult Connect(const std::string& address, std::int32_t port, const std::string& name) override;
    void Disconnect() override;
    RpcResult GetEngineVersion(std::string* version) override;
    EConnectionState ConnectionState() const override { return m_eConnectionState; }
    void UpdateViews(int hint) override;

    RpcResult GetEngineInfo(RpcPtr<INorvMonitorManager>* out) override;
    void ReleaseEngineInfo() { m_engineInfo.Reset(); }

    const std::string& ConnectionName() const { return m_csConnectionName; }
    CConnectionWorker& Worker() { return m_worker; }
    CConnectionViewDoc& Connections() { return m_connections; }

private:
    RpcResult CreateEngineInfo(bool* created);
    void RefreshStatus();

    CConnectionWorker m_worker;
    CConnectionViewDoc m_connections;
    IMessageTarget* m_pFrame = nullptr;
    std::atomic<EConnectionState> m_eConnectionState{CONNECTION_NONE};  // read by the UI from any thread
    std::string m_csConnectionName;
    RpcPtr<INorvMonitorManager> m_engineInfo;
    std::vector<IEngineObjectHolder*> m_holders;
    std::vector<ISwitchableTool*> m_tools;
    std::vector<IDocumentView*> m_views;
};
