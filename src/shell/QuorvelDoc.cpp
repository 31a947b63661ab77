#include "QuorvelDoc.h"

#include <ctime>

#include "StringTable.h"

CQuorvelDoc::CQuorvelDoc(CKeyStore& store, IPrompt* prompt) : m_store(store), m_pPrompt(prompt) {}

CQuorvelDoc::~CQuorvelDoc() { DeleteContents(); }

CConnectionViewDoc* CQuorvelDoc::Connections() const { return ViewerDoc<CConnectionViewDoc>(9); }

void CQuorvelDoc::RemoveView(IDocumentView* view) { std::erase(m_views, view); }

void CQuorvelDoc::SetStatusMessage(const std::string& text) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "<%02d:%02d:%02d> ", local.tm_hour, local.tm_min, local.tm_sec);
    m_csStatusText = stamp + (text.empty() ? std::string("Ready") : text);
    RefreshStatus();
}

void CQuorvelDoc::AppendOutput(const std::string& text, bool show) {
    m_csOutputText += text;
    if (show || !m_pTabs->LoadedFlag(QV_OUTPUT_VIEW_CLASS)) m_pTabs->OpenViewer(QV_OUTPUT_VIEW_CLASS);
    m_pTabs->ShowOutput(m_csOutputText);
}

void CQuorvelDoc::ClearOutput() {
    m_csOutputText.clear();
    m_pTabs->ShowOutput(m_csOutputText);
}

void CQuorvelDoc::RefreshStatus() {
    if (m_pFrame) m_pFrame->SendMessage(UM_STATUS_REFRESH, 0, 0);
}

RpcResult CQuorvelDoc::StartLink() { return m_worker.Start(m_lLocalQuorvelTCPPort, m_pFrame, this); }

void CQuorvelDoc::StopLink() {
    Disconnect();
    m_worker.Stop();
}

RpcResult CQuorvelDoc::Connect(const std::string& address, std::int32_t port, const std::string& name) {
    if (m_eConnectionState != CONNECTION_NONE) return E_FAIL;
    m_eConnectionState = CONNECTION_PENDING;
    const RpcResult r = m_worker.Connect(address, port);
    if (RpcFailed(r)) {
        m_eConnectionState = CONNECTION_NONE;
        return r;
    }
    m_eConnectionState = CONNECTION_ESTABLISHED;
    m_csConnectionName = name;
    RefreshStatus();
    return 0;
}

void CQuorvelDoc::Disconnect() {
    if (m_eConnectionState == CONNECTION_NONE) return;
    m_commanders.ForEach([](int, CEngineCommander& commander) { commander.Enable(false); });
    for (IEngineObjectHolder* holder : m_holders) holder->ReleaseEngineObjects();
    // The engine forgets its listeners with the link; so do the sources.
    m_sources.ForEach([](int, CLoggerSource& source) { source.ForgetEngine(); });
    for (ISwitchableTool* tool : m_tools) tool->SwitchOff();
    ReleaseEngineInfo();
    DetachCallingThread();
    m_worker.Disconnect();
    m_eConnectionState = CONNECTION_NONE;
    m_csConnectionName.clear();
    RefreshStatus();
}

void CQuorvelDoc::UpdateViews(int hint) {
    for (IDocumentView* view : m_views) view->OnUpdate(hint);
}

RpcResult CQuorvelDoc::CreateEngineInfo(bool* created) {
    *created = false;
    if (m_eConnectionState != CONNECTION_ESTABLISHED) return CONN_E_NOT_CONNECTED;
    if (m_engineInfo) return 0;
    RpcPtr<INorvMonitorManager> info;
    RpcResult r = m_worker.CreateRemoteObject(INorvMonitorManager::CLSID, INorvMonitorManager::IID, info.PutVoid());
    if (RpcFailed(r)) return r;
    // The port actually listened on: the project's, or the one the system chose for port 0.
    const std::int32_t listening = m_worker.Instance()->ListeningPort();
    const std::uint32_t port = static_cast<std::uint32_t>(listening > 0 ? listening : m_lLocalQuorvelTCPPort);
    r = info->SetQuorvelAddress(m_worker.LocalAddress().c_str(), port);
    if (RpcFailed(r)) return r;
    m_engineInfo = std::move(info);
    *created = true;
    return 0;
}

RpcResult CQuorvelDoc::GetEngineInfo(RpcPtr<INorvMonitorManager>* out) {
    if (!out) return E_POINTER;
    if (m_eConnectionState != CONNECTION_ESTABLISHED) return CONN_E_NOT_CONNECTED;
    bool created;
    const RpcResult r = CreateEngineInfo(&created);
    if (RpcFailed(r)) return r;
    *out = m_engineInfo;
    if (created) m_engineInfo.Reset();  // the caller holds the only reference
    return 0;
}

RpcResult CQuorvelDoc::GetEngineVersion(std::string* version) {
    *version = "INVALID VERSION";
    if (m_eConnectionState != CONNECTION_ESTABLISHED) return CONN_E_NOT_CONNECTED;
    bool created;
    RpcResult r = CreateEngineInfo(&created);
    if (RpcFailed(r)) return r;
    CRpcFixedText text;
    r = m_engineInfo->GetVersion(&text);
    if (RpcFailed(r)) return r;
    *version = text.Get();
    return 0;
}
