#include "ConnectionViewDoc.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "AtomicFile.h"

namespace {

// A record list file: a magic text, version 1, the record count, the records.
constexpr const char* kListMagic = "QUORVEL CONNECTION RECORDS";
constexpr std::uint32_t kListVersion = 1;
// A value longer than this in the store leaves its field empty.
constexpr std::size_t kMaxValueBytes = 260;

std::string RecordKey(std::size_t index) {
    char path[512];
    std::snprintf(path, sizeof path, "%s%s%d%s", QV_CONNECTION_KEY, "Conn_", static_cast<int>(index), "\\");
    return path;
}

}  // namespace

int CConnectionViewDoc::Initialise(IProjectDocument* owner) {
    SetOwner(owner);
    LoadFromRegistry();
    if (m_records.empty()) AddUnique(CConnectionRecord::Default());
    return 1;
}

void CConnectionViewDoc::Reset() {
    SaveToRegistry();
    SetOwner(nullptr);
    m_records.clear();
}

int CConnectionViewDoc::LoadArchive(IProjectDocument* owner, CLegacyArchiveReader&) {
    LoadFromRegistry();
    SetOwner(owner);
    return 0;
}

void CConnectionViewDoc::StoreArchive(CLegacyArchiveWriter&) const { SaveToRegistry(); }

int CConnectionViewDoc::SerializeXml(CConfigArchive& archive) {
    if (archive.IsLoading())
        LoadFromRegistry();
    else
        SaveToRegistry();
    return 0;
}

int CConnectionViewDoc::FindByName(const std::string& name) const {
    for (std::size_t i = 0; i < m_records.size(); ++i)
        if (m_records[i].csName == name) return static_cast<int>(i);
    return -1;
}

void CConnectionViewDoc::ReplaceRecord(std::size_t index, const CConnectionRecord& record) {
    if (index < m_records.size()) m_records[index] = record;
}

void CConnectionViewDoc::RemoveRecord(std::size_t index) {
    if (index < m_records.size()) m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(index));
}

void CConnectionViewDoc::AddUnique(CConnectionRecord record) {
    std::string candidate = record.csName;
    for (int n = 2; FindByName(candidate) >= 0; ++n) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, " (%d)", n);
        candidate = record.csName + suffix;
    }
    record.csName = candidate;
    m_records.push_back(std::move(record));
}

CConnectionRecord CConnectionViewDoc::GetRecordOrDefault(std::size_t index) const {
    return index < m_records.size() ? m_records[index] : CConnectionRecord::Default();
}

void CConnectionViewDoc::LoadFromRegistry() {
    m_store.Reload();
    m_store.CreateKey(QV_CONNECTION_KEY);
    std::uint32_t count = 0;
    m_store.GetNumber(QV_CONNECTION_KEY, "Connection Count", &count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string key = RecordKey(i);
        m_store.CreateKey(key);
        CConnectionRecord record;
        const auto read = [&](const char* name, std::string* field) {
            std::string value;
            if (m_store.GetString(key, name, &value) && value.size() <= kMaxValueBytes) *field = value;
        };
        read("Name", &record.csName);
        read("Address", &record.csAddress);
        read("Comment", &record.csComment);
        read("Port", &record.csPort);
        AddUnique(std::move(record));
    }
}

void CConnectionViewDoc::SaveToRegistry() const {
    m_store.Reload();  // keep what other parts of the program wrote meanwhile
    m_store.DeleteKey(QV_CONNECTION_KEY);
    m_store.CreateKey(QV_CONNECTION_KEY);
    m_store.SetNumber(QV_CONNECTION_KEY, "Connection Count", static_cast<std::uint32_t>(m_records.size()));
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        const std::string key = RecordKey(i);
        m_store.SetString(key, "Name", m_records[i].csName);
        m_store.SetString(key, "Address", m_records[i].csAddress);
        m_store.SetString(key, "Comment", m_records[i].csComment);
        m_store.SetString(key, "Port", m_records[i].csPort);
    }
    m_store.Save();
}

void CConnectionViewDoc::ShowFileError(const std::string& path, int error) {
    if (m_pPrompt) m_pPrompt->Show(PROMPT_WARNING, path + ": " + std::strerror(error));
}

bool CConnectionViewDoc::ImportFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    errno = 0;
    if (!QvReadFile(path, &bytes)) {
        ShowFileError(path, errno ? errno : EIO);
        return false;
    }
    if (bytes.empty()) return true;
    // Everything is read before anything is added: a damaged file adds nothing.
    CLegacyArchiveReader archive(std::move(bytes));
    std::string magic;
    std::uint32_t version = 0, count = 0;
    if (!archive.ReadString(&magic) || magic != kListMagic || !archive.ReadUInt32(&version) ||
        version != kListVersion || !archive.ReadCount(&count) || count > archive.Remaining() / 4)
        return false;
    std::vector<CConnectionRecord> imported(count);
    for (CConnectionRecord& record : imported)
        if (!record.Load(archive)) return false;
    if (!archive.AtEnd()) return false;
    const std::size_t before = m_records.size();
    for (CConnectionRecord& record : imported) AddUnique(std::move(record));
    if (m_records.size() != before && m_listChanged) m_listChanged();
    return true;
}

bool CConnectionViewDoc::ExportFile(const std::string& path) {
    CLegacyArchiveWriter archive;
    archive.WriteString(kListMagic);
    archive.WriteUInt32(kListVersion);
    archive.WriteCount(static_cast<std::uint32_t>(m_records.size()));
    for (const CConnectionRecord& record : m_records) record.Store(archive);
    errno = 0;
    if (!QvWriteFileAtomically(path, archive.Bytes())) {
        ShowFileError(path, errno ? errno : EIO);
        return false;
    }
    return true;
}
