#include "LoggerRows.h"

#include "QueueDrain.h"

CLoggerRows::~CLoggerRows() { Stop(); }

void CLoggerRows::Start() {
    if (!m_document.RefreshList()) return;
    m_source.AddQueue(&m_window, WM_INFO_QUEUE);
    m_source.RefreshFromHistory(&m_window);
}

std::size_t CLoggerRows::OnQueueMessage(std::uintptr_t wParam) {
    CInfoQueue* queue = m_source.QueueOf(&m_window);
    if (!queue || reinterpret_cast<std::uintptr_t>(queue) != wParam) return 0;
    std::size_t added = 0;
    const std::size_t handled = DrainQueue(*queue, m_window, WM_INFO_QUEUE, [&](CInfoContainer* record) {
        if (AddRecord(record, true)) ++added;
    });
    if (added && m_pObserver) m_pObserver->RowsInsertedAtTop(added);
    return handled;
}

bool CLoggerRows::AddRecord(CInfoContainer* record, bool filter) {
    if (filter) {
        CFilter* current = m_document.GetCurrentFilter();
        if (current && !current->Accept(*record)) return false;
    }
    if (m_document.Columns().Order().empty()) return false;  // nothing to show it in
    IProjectDocument* owner = m_document.Owner();
    if (owner && owner->ReadsFromEditor()) {
        if (auto* named = dynamic_cast<CNamedInfoContainer*>(record)) named->ResolveNames(owner->NameResolver());
        if (auto* loading = dynamic_cast<CAtomicLoadingInfoContainer*>(record))
            loading->ResolveNames(owner->NameResolver());
    }
    record->AddRef();
    m_rows.emplace_back(record);
    return true;
}

void CLoggerRows::Refresh() {
    if (CFilter* current = m_document.GetCurrentFilter()) current->ClearSeenKeys();
    m_document.SetRefreshList(true);
    m_source.AddQueue(&m_window, WM_INFO_QUEUE);
    EmptyList();
    m_source.RefreshFromHistory(&m_window);
}

void CLoggerRows::DisableRefresh() {
    m_document.SetRefreshList(false);
    m_source.RemoveQueue(&m_window);
}

void CLoggerRows::EmptyList() {
    ReleaseRows();
    if (m_pObserver) m_pObserver->RowsReset();
}

void CLoggerRows::Redisplay() {
    std::vector<TInfoPtr<CInfoContainer>> kept;
    kept.swap(m_rows);
    for (auto& record : kept) AddRecord(record.get(), false);
    if (m_pObserver) m_pObserver->RowsReset();
}

void CLoggerRows::ReleaseRows() { m_rows.clear(); }
