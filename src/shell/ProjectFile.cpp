// The project document's contents and its project file: New, Open, Save, clearing,
// the XML pass and the binary form of earlier files.

#include <algorithm>
#include <filesystem>

#include "AtomicFile.h"
#include "AtomicLoadingCommander.h"
#include "AtomicLoadingLogger.h"
#include "AtomicLoadingViewerDoc.h"
#include "EventLogger.h"
#include "ObjectCommander.h"
#include "ObjectViewerDoc.h"
#include "PropViewerDoc.h"
#include "QuorvelDoc.h"
#include "ResMixerCommander.h"
#include "ResourceLogger.h"
#include "ResourceMixerViewerDoc.h"
#include "VoiceListCommander.h"
#include "VoiceListViewDoc.h"

namespace {

// A file much larger than any project is refused before it is read.
constexpr std::uintmax_t kMaxLegacyFileBytes = 64u << 20;

// The view classes whose tabs are saved, in the order they are written, and in the
// order they are read back (the same nine, the propagation viewer moved up).
constexpr const char* kStoredViewClasses[] = {
    "CAtomicLoadingLoggerView", "CAtomicLoadingViewer", "CEventLoggerView",
    "CResourceLoggerView",      "CResourceMixerView",   QV_OUTPUT_VIEW_CLASS,
    "CObjectViewer",            "CVoiceListView",       "CPROPViewer",
};
constexpr const char* kLoadedViewClasses[] = {
    "CAtomicLoadingLoggerView", "CAtomicLoadingViewer", "CEventLoggerView",
    "CResourceLoggerView",      "CResourceMixerView",   "CPROPViewer",
    QV_OUTPUT_VIEW_CLASS,       "CObjectViewer",        "CVoiceListView",
};
// The viewers asked to store their screen state before a save, in this order.
constexpr int kScreenStateKinds[] = {1, 2, 7, 8, 10, 11, 6};

}  // namespace

const char* LoadCodeMessage(int code) {
    switch (code) {
        case LOAD_NOT_OURS: return "Invalid Quorvel file. This file was not create by Quorvel and cannot be used.";
        case LOAD_BAD_VERSION: return "Don't support this Quorvel file version.";
        case LOAD_FAILED: return "Unknown error. Cannot load the file. Restart Quorvel and try again.";
        case LOAD_TRUNCATED: return "This Quorvel file is damaged or incomplete and cannot be opened.";
        default: return "";
    }
}

bool CQuorvelDoc::CreateViewerDocs() {
    m_viewerDocs.Set(9, std::make_unique<CConnectionViewDoc>(m_store, m_pPrompt));
    m_viewerDocs.Set(1, std::make_unique<CEventLoggerViewerDoc>());
    m_viewerDocs.Set(2, std::make_unique<CResourceLoggerViewerDoc>());
    m_viewerDocs.Set(5, std::make_unique<CResourceMixerViewerDoc>());
    m_viewerDocs.Set(7, std::make_unique<CAtomicLoadingLoggerViewerDoc>());
    m_viewerDocs.Set(8, std::make_unique<CAtomicLoadingViewerDoc>());
    m_viewerDocs.Set(10, std::make_unique<CObjectViewerDoc>());
    m_viewerDocs.Set(11, std::make_unique<CVoiceListViewDoc>());
    m_viewerDocs.Set(6, std::make_unique<CPROPViewerDoc>());
    return true;
}

void CQuorvelDoc::CreateSourcesAndCommanders() {
    // The propagation scene (4) and mixer (5) sources join with their viewers.
    m_sources.Set(1, std::make_unique<CEventLoggerSource>(this));
    m_sources.Set(2, std::make_unique<CResourceLoggerSource>(this));
    m_sources.Set(6, std::make_unique<CAtomicLoadingLoggerSource>(this));
    m_commanders.Set(1, std::make_unique<CResMixerCommander>(this));
    m_commanders.Set(2, std::make_unique<CAtomicLoadingCommander>(this));
    m_commanders.Set(3, std::make_unique<CObjectCommander>(this));
    m_commanders.Set(4, std::make_unique<CVoiceListCommander>(this));
}

bool CQuorvelDoc::EditorSettingsUsable() const {
    std::error_code error;
    return (m_bReadFromCueforge || m_bWriteToCueforge) && !m_csLCBProjectFile.empty() &&
           std::filesystem::exists(m_csLCBProjectFile, error);
}

void CQuorvelDoc::ApplyProjectSettings() {}

bool CQuorvelDoc::OnNewDocument() {
    DeleteContents();
    m_csPathName.clear();
    CreateViewerDocs();
    m_viewerDocs.ForEach([this](int, CViewerDoc& doc) { doc.Initialise(this); });
    CreateSourcesAndCommanders();
    m_bModified = false;
    RefreshStatus();
    return true;
}

void CQuorvelDoc::DeleteContents() {
    StopLink();
    m_pTabs->CloseAll();
    m_sources = TIntTable<CLoggerSource>();
    m_commanders = TIntTable<CEngineCommander>();
    for (int kind : m_viewerDocs.Keys()) {
        std::unique_ptr<CViewerDoc> doc = m_viewerDocs.Remove(kind);
        doc->Reset();
    }
    m_csLCBProjectFile.clear();
    m_csProjectLanguage.clear();
    m_bReadFromCueforge = 0;
    m_bWriteToCueforge = 0;
    // m_lLocalQuorvelTCPPort stays: a new project keeps the port of the previous one.
}

bool CQuorvelDoc::OnOpenDocument(const std::string& path) {
    const std::int32_t port = m_lLocalQuorvelTCPPort;
    DeleteContents();
    m_bModified = true;
    int code;
    CConfigArchive archive(CConfigArchive::LOAD);
    if (archive.Load(path)) {
        code = SerializeXml(archive);
    } else {
        code = ReadLegacyFile(path);
    }
    if (code != LOAD_OK) {
        ShowLoadFailure(code);
        // Whatever was read before the failing step goes: the user gets a new project
        // with the port the previous one had.
        OnNewDocument();
        m_lLocalQuorvelTCPPort = port;
        return false;
    }
    m_csPathName = path;
    m_bModified = false;
    return true;
}

bool CQuorvelDoc::OnSaveDocument(const std::string& path) {
    for (int kind : kScreenStateKinds)
        if (GetViewerDoc(kind) && !m_pTabs->StoreScreenState(kind)) break;
    CConfigArchive archive(CConfigArchive::STORE);
    SerializeXml(archive);
    std::string error;
    if (!archive.Save(path, &error)) {
        if (m_pPrompt) m_pPrompt->Show(PROMPT_ERROR, error);
        return false;
    }
    m_csPathName = path;
    m_bModified = false;
    return true;
}

void CQuorvelDoc::ShowLoadFailure(int code) {
    const char* message = LoadCodeMessage(code);
    if (*message && m_pPrompt) m_pPrompt->Show(PROMPT_ERROR, message);
}

int CQuorvelDoc::SerializeXml(CConfigArchive& archive) {
    const bool loading = archive.IsLoading();
    if (loading) CreateSourcesAndCommanders();
    {
        CConfigSection main(archive, "Main");
        if (loading) {
            m_lLocalQuorvelTCPPort = archive.ReadI4("m_lLocalQuorvelTCPPort", QV_DEFAULT_LOCAL_PORT);
            m_csLCBProjectFile = archive.ReadString("m_csLCBProjectFile", "");
            m_csProjectLanguage = archive.ReadString("m_csProjectLanguage", "");
            m_bReadFromCueforge = archive.ReadI4("m_bReadFromCueforge", 0);
            m_bWriteToCueforge = archive.ReadI4("m_bWriteToCueforge", 0);
        } else {
            archive.WriteI4("m_lLocalQuorvelTCPPort", m_lLocalQuorvelTCPPort);
            archive.WriteString("m_csLCBProjectFile", m_csLCBProjectFile);
            archive.WriteString("m_csProjectLanguage", m_csProjectLanguage);
            archive.WriteI4("m_bReadFromCueforge", m_bReadFromCueforge);
            archive.WriteI4("m_bWriteToCueforge", m_bWriteToCueforge);
        }
    }
    { CConfigSection viewerDocs(archive, "ViewerDocs"); }
    if (loading && !CreateViewerDocs()) return LOAD_FAILED;
    int code = LOAD_OK;
    m_viewerDocs.ForEach([&](int, CViewerDoc& doc) {
        if (code != LOAD_OK) return;
        doc.SetOwner(this);
        const int r = doc.SerializeXml(archive);
        if (loading) code = r;
    });
    if (code != LOAD_OK) return code;
    SerializeViewerFlags(archive);
    if (loading) RefreshStatus();
    return LOAD_OK;
}

void CQuorvelDoc::SerializeViewerFlags(CConfigArchive& archive) {
    if (!archive.IsLoading()) {
        for (const char* view : kStoredViewClasses) {
            archive.WriteI4(std::string("loaded_") + view, m_pTabs->LoadedFlag(view));
            archive.WriteI4(std::string("active_") + view, m_pTabs->IsActive(view) ? 1 : 0);
        }
        return;
    }
    std::vector<std::pair<std::int32_t, std::int32_t>> flags;
    for (const char* view : kLoadedViewClasses)
        flags.emplace_back(archive.ReadI4(std::string("loaded_") + view, 0),
                           archive.ReadI4(std::string("active_") + view, 0));
    ApplyViewerFlags(flags);
}

void CQuorvelDoc::ApplyViewerFlags(const std::vector<std::pair<std::int32_t, std::int32_t>>& flags) {
    const char* active = nullptr;
    for (std::size_t i = 0; i < flags.size(); ++i) {
        if (flags[i].first) m_pTabs->OpenViewer(kLoadedViewClasses[i]);
        if (flags[i].second) active = kLoadedViewClasses[i];
    }
    if (active) m_pTabs->SelectViewer(active);
}

int CQuorvelDoc::ReadLegacyFile(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return LOAD_TRUNCATED;
    if (size > kMaxLegacyFileBytes) return LOAD_NOT_OURS;
    std::vector<std::uint8_t> bytes;
    if (!QvReadFile(path, &bytes)) return LOAD_TRUNCATED;
    CLegacyArchiveReader archive(std::move(bytes));

    std::string magic;
    if (!archive.ReadString(&magic) || magic != QV_LEGACY_MAGIC) return LOAD_NOT_OURS;
    std::int32_t version = 0;
    if (!archive.ReadInt32(&version)) return LOAD_TRUNCATED;
    if (version != 1) return LOAD_BAD_VERSION;
    std::uint32_t port = 0;
    std::int32_t count = 0;
    if (!archive.ReadUInt32(&port) || !archive.ReadString(&m_csLCBProjectFile) ||
        !archive.ReadString(&m_csProjectLanguage) || !archive.ReadInt32(&m_bReadFromCueforge) ||
        !archive.ReadInt32(&m_bWriteToCueforge) || !archive.ReadInt32(&count))
        return LOAD_TRUNCATED;
    m_lLocalQuorvelTCPPort = static_cast<std::int32_t>(port);
    // Every block takes at least its kind's four bytes.
    if (count < 0 || static_cast<std::uint64_t>(count) * 4 > archive.Remaining()) return LOAD_TRUNCATED;

    if (!CreateViewerDocs()) return LOAD_FAILED;
    CreateSourcesAndCommanders();
    std::vector<int> listed;
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t kind = 0;
        if (!archive.ReadInt32(&kind)) return LOAD_TRUNCATED;
        CViewerDoc* doc = GetViewerDoc(kind);
        if (!doc) return LOAD_FAILED;
        const int r = doc->LoadArchive(this, archive);
        if (r != LOAD_OK) return archive.Failed() ? LOAD_TRUNCATED : r;
        listed.push_back(kind);
    }
    // A viewer the file does not list starts as in a new project (its columns
    // defined, the connection records read from the store).
    m_viewerDocs.ForEach([&](int kind, CViewerDoc& doc) {
        if (std::find(listed.begin(), listed.end(), kind) == listed.end()) doc.Initialise(this);
    });
    std::vector<std::pair<std::int32_t, std::int32_t>> flags(std::size(kLoadedViewClasses));
    for (auto& [loaded, active] : flags)
        if (!archive.ReadInt32(&loaded) || !archive.ReadInt32(&active)) return LOAD_TRUNCATED;
    ApplyViewerFlags(flags);
    RefreshStatus();
    return LOAD_OK;
}
