#pragma once
// The project document: everything one project holds. The link with the engine
// (worker, state, engine information object), the project's settings, the logger
// sources, the commanders and the viewer documents that hold every viewer's saved
// state, the status line and the output text. It reads and writes project files
// (XML, and the binary form of earlier files, read only).

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "CommanderHost.h"
#include "ConnectionDocument.h"
#include "ConnectionViewDoc.h"
#include "ConnectionWorker.h"
#include "EngineCommander.h"
#include "IntTable.h"
#include "LoggerSource.h"
#include "NorvInterfaces.h"
#include "ViewerDoc.h"
#include "ViewerTabs.h"
#include "WindowMessages.h"

inline constexpr std::int32_t QV_DEFAULT_LOCAL_PORT = 12988;
inline constexpr const char* QV_LEGACY_MAGIC = "QUORVEL PROJECT FILE - 4A9AC1F9-41F4-4462-89FC-4A562E336B18";

// The texts shown when a project cannot be opened, by load code (1 to 3), and ours
// for a file that ends too early.
const char* LoadCodeMessage(int code);
inline constexpr int LOAD_TRUNCATED = 4;

// Told, in this order, when the link with the engine goes: the holders drop their
// engine objects, then the tools switch themselves off.
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

class CQuorvelDoc final : public IConnectionDocument, public IEngineInfoProvider, public ICommanderHost {
public:
    explicit CQuorvelDoc(CKeyStore& store = CKeyStore::User(), IPrompt* prompt = nullptr);
    ~CQuorvelDoc();

    // The main frame: receives UM_STATUS_REFRESH and UM_CONNECTION_LOST.
    void SetFrame(IMessageTarget* frame) { m_pFrame = frame; }
    // The main view's tabs; the document keeps headless ones until it is given these.
    void SetTabs(IViewerTabs* tabs) { m_pTabs = tabs ? tabs : &m_headlessTabs; }
    IViewerTabs& Tabs() { return *m_pTabs; }
    void AddEngineObjectHolder(IEngineObjectHolder* holder) { m_holders.push_back(holder); }
    void AddTool(ISwitchableTool* tool) { m_tools.push_back(tool); }
    void AddView(IDocumentView* view) { m_views.push_back(view); }
    void RemoveView(IDocumentView* view);

    // ---- document operations --------------------------------------------------------
    bool OnNewDocument();
    // False when the file could not be opened; the user was told why and the document
    // holds a new empty project.
    bool OnOpenDocument(const std::string& path);
    bool OnSaveDocument(const std::string& path);
    void DeleteContents();
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) override { m_bModified = modified; }
    const std::string& PathName() const { return m_csPathName; }

    void SetStatusMessage(const std::string& text);
    const std::string& StatusText() const { return m_csStatusText; }
    void AppendOutput(const std::string& text, bool show);
    void ClearOutput();
    const std::string& OutputText() const { return m_csOutputText; }

    CViewerDoc* GetViewerDoc(int kind) const { return m_viewerDocs.Get(kind); }
    CLoggerSource* GetLoggerSource(int kind) const { return m_sources.Get(kind); }
    CEngineCommander* GetCommander(int key) const { return m_commanders.Get(key); }
    std::vector<int> ViewerDocKinds() const { return m_viewerDocs.Keys(); }
    // The connection records (viewer kind 9); none before New or Open.
    CConnectionViewDoc* Connections() const;
    template <class Doc>
    Doc* ViewerDoc(int kind) const {
        return dynamic_cast<Doc*>(GetViewerDoc(kind));
    }
    template <class Commander>
    Commander* GetCommanderOf(int key) const {
        return dynamic_cast<Commander*>(GetCommander(key));
    }

    // ---- project settings ---------------------------------------------------------
    std::int32_t m_lLocalQuorvelTCPPort = QV_DEFAULT_LOCAL_PORT;
    std::string m_csLCBProjectFile;
    std::string m_csProjectLanguage;
    std::int32_t m_bReadFromCueforge = 0;
    std::int32_t m_bWriteToCueforge = 0;
    // At least one editor flag, a project file named and present.
    bool EditorSettingsUsable() const;
    void ApplyProjectSettings();

    bool ReadsFromEditor() const override { return m_bReadFromCueforge != 0; }
    // The editor project's look-ups: none until an editor project is opened.
    INameResolver* NameResolver() override { return m_pNameResolver; }
    void SetNameResolver(INameResolver* resolver) { m_pNameResolver = resolver; }

    // ---- connection -------------------------------------------------------------------
    RpcResult StartLink() override;
    void StopLink() override;
    RpcResult AttachCallingThread() override { return m_worker.AttachCallingThread(); }
    void DetachCallingThread() override { m_worker.DetachCallingThread(); }
    RpcResult Connect(const std::string& address, std::int32_t port, const std::string& name) override;
    void Disconnect() override;
    RpcResult GetEngineVersion(std::string* version) override;
    EConnectionState ConnectionState() const override { return m_eConnectionState; }
    void UpdateViews(int hint) override;
    RpcResult CreateRemoteObject(const GUID& classId, const GUID& interfaceId, void** out) override {
        return m_worker.CreateRemoteObject(classId, interfaceId, out);
    }

    RpcResult GetEngineInfo(RpcPtr<INorvMonitorManager>* out) override;
    void ReleaseEngineInfo() { m_engineInfo.Reset(); }

    const std::string& ConnectionName() const { return m_csConnectionName; }
    CConnectionWorker& Worker() { return m_worker; }

private:
    bool CreateViewerDocs();
    void CreateSourcesAndCommanders();
    // One pass over the XML archive, either way; a load code.
    int SerializeXml(CConfigArchive& archive);
    void SerializeViewerFlags(CConfigArchive& archive);
    int ReadLegacyFile(const std::string& path);
    void ApplyViewerFlags(const std::vector<std::pair<std::int32_t, std::int32_t>>& flags);
    void ShowLoadFailure(int code);
    RpcResult CreateEngineInfo(bool* created);
    void RefreshStatus();

    CKeyStore& m_store;
    IPrompt* m_pPrompt;
    CConnectionWorker m_worker;
    IMessageTarget* m_pFrame = nullptr;
    std::atomic<EConnectionState> m_eConnectionState{CONNECTION_NONE};  // read by the UI from any thread
    std::string m_csConnectionName;
    TIntTable<CLoggerSource> m_sources;
    TIntTable<CEngineCommander> m_commanders;
    TIntTable<CViewerDoc> m_viewerDocs;
    RpcPtr<INorvMonitorManager> m_engineInfo;
    INameResolver* m_pNameResolver = nullptr;
    std::string m_csStatusText = "Ready";
    std::string m_csOutputText;
    std::string m_csPathName;
    bool m_bModified = false;
    CHeadlessTabs m_headlessTabs;
    IViewerTabs* m_pTabs = &m_headlessTabs;
    std::vector<IEngineObjectHolder*> m_holders;
    std::vector<ISwitchableTool*> m_tools;
    std::vector<IDocumentView*> m_views;
};
