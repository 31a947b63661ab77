#pragma once
// The list of connection records (viewer kind 9): kept per user in the key store,
// edited in the connection view, exported to and imported from record-list files.

#include <functional>
#include <string>
#include <vector>

#include "ConnectionRecord.h"
#include "KeyStore.h"
#include "Prompt.h"
#include "ViewerDoc.h"

inline constexpr const char* QV_CONNECTION_KEY = "SOFTWARE\\Tarnwick\\Quorvel\\Connection\\";

class CConnectionViewDoc : public CViewerDoc {
public:
    // The store is the user's unless a test gives another; the prompt shows file
    // errors and may be none.
    explicit CConnectionViewDoc(CKeyStore& store = CKeyStore::User(), IPrompt* prompt = nullptr)
        : m_store(store), m_pPrompt(prompt) {}

    int ViewerKind() const override { return 9; }
    int SourceKind() const override { return 0; }
    int Initialise(IProjectDocument* owner) override;
    void Reset() override;
    // The list lives in the store, never in the project file: saving a project saves
    // the store, opening one reloads it.
    int LoadArchive(IProjectDocument* owner, CLegacyArchiveReader& archive) override;
    void StoreArchive(CLegacyArchiveWriter& archive) const override;
    int SerializeXml(CConfigArchive& archive) override;

    std::size_t Count() const { return m_records.size(); }
    const CConnectionRecord* GetRecord(std::size_t index) const {
        return index < m_records.size() ? &m_records[index] : nullptr;
    }
    int FindByName(const std::string& name) const;
    void ReplaceRecord(std::size_t index, const CConnectionRecord& record);
    void RemoveRecord(std::size_t index);
    void AppendRecord(const CConnectionRecord& record) { m_records.push_back(record); }
    // Appends, renaming "Lab" to "Lab (2)", "Lab (3)" ... while the name is taken.
    void AddUnique(CConnectionRecord record);
    CConnectionRecord GetRecordOrDefault(std::size_t index) const;

    void LoadFromRegistry();
    void SaveToRegistry() const;
    // False when the file cannot be read or is not a record list; then nothing is added.
    bool ImportFile(const std::string& path);
    bool ExportFile(const std::string& path);

    // Called when an import changed the number of records (the views refresh).
    void SetListChanged(std::function<void()> changed) { m_listChanged = std::move(changed); }

private:
    void ShowFileError(const std::string& path, int error);

    CKeyStore& m_store;
    IPrompt* m_pPrompt;
    std::vector<CConnectionRecord> m_records;
    std::function<void()> m_listChanged;
};
