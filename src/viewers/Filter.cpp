#include "Filter.h"

#include <type_traits>

#include "NumericText.h"

namespace {
// A list longer than this in a project file is taken as damage.
constexpr std::int32_t kMaxItems = 100000;
}

bool CTextCriterion::Set(const std::string& text) {
    const std::string before = csText;
    const std::int32_t used = bUsed;
    if (text.empty() || text == QV_ITEM_IGNORED) {
        csText = QV_ITEM_IGNORED;
        bUsed = 0;
    } else {
        csText = text;
        bUsed = 1;
    }
    return before != csText || used != bUsed;
}

template <class T>
bool TNumericCriterion<T>::Set(const std::string& text) {
    if (text.empty() || text == QV_ITEM_IGNORED) {
        csText = QV_ITEM_IGNORED;
        bUsed = 0;
        return true;
    }
    bool ok;
    if constexpr (std::is_signed_v<T>)
        ok = CNumericText::ToSigned(text, &value);
    else
        ok = CNumericText::ToUnsigned(text, &value);
    csText = ok ? text : QV_ITEM_IGNORED;
    bUsed = ok ? 1 : 0;
    return ok;
}

template struct TNumericCriterion<std::int32_t>;
template struct TNumericCriterion<std::uint32_t>;

void CFilterDescriptor::SetName(const std::string& name) {
    MarkModified();
    m_csDescriptorName = name;
}

void CFilterDescriptor::SetType(std::int32_t type) {
    MarkModified();
    m_eDescriptorType = type;
}

const char* CFilterDescriptor::TypeText() const {
    switch (m_eDescriptorType) {
    case FILTER_INCLUDE: return "Include equivalence";
    case FILTER_EXCLUDE: return "Exclude equivalence";
    default: return "Disable descriptor";
    }
}

void CFilterDescriptor::SerializeXml(CConfigArchive& archive) {
    CConfigSection section(archive, ClassName());
    archive.SerializeString("m_csDescriptorName", &m_csDescriptorName);
    archive.SerializeI4("m_eDescriptorType", &m_eDescriptorType);
    SerializeOwnXml(archive);
}

void CFilterDescriptor::StoreArchive(CLegacyArchiveWriter& archive) const {
    archive.WriteUInt32(1);
    archive.WriteString(m_csDescriptorName);
    archive.WriteInt32(m_eDescriptorType);
    StoreOwn(archive);
}

int CFilterDescriptor::LoadArchive(CLegacyArchiveReader& archive) {
    std::uint32_t version = 0;
    if (!archive.ReadUInt32(&version)) return 3;
    if (version != 1) return 2;
    if (!archive.ReadString(&m_csDescriptorName) || !archive.ReadInt32(&m_eDescriptorType)) return 3;
    return LoadOwn(archive);
}

void CFilter::SetName(const std::string& name) {
    MarkModified();
    m_csFilterName = name;
}

void CFilter::SetDisplayOnlyFirstOccurrence(bool on) {
    MarkModified();
    if (DisplayOnlyFirstOccurrence() != on) ClearSeenKeys();
    m_bDisplayOnlyFirstOccurence = on ? 1 : 0;
}

CFilterDescriptor* CFilter::AddNewDescriptor() {
    MarkModified();
    std::unique_ptr<CFilterDescriptor> descriptor = CreateDescriptor();
    descriptor->SetOwner(m_pOwner);
    m_descriptors.push_back(std::move(descriptor));
    return m_descriptors.back().get();
}

int CFilter::FindDescriptor(const std::string& name) const {
    for (std::size_t i = 0; i < m_descriptors.size(); ++i)
        if (m_descriptors[i]->GetName() == name) return static_cast<int>(i);
    return -1;
}

CFilterDescriptor* CFilter::GetDescriptor(std::size_t index) const {
    return index < m_descriptors.size() ? m_descriptors[index].get() : nullptr;
}

void CFilter::RemoveDescriptor(std::size_t index) {
    MarkModified();
    if (index < m_descriptors.size()) m_descriptors.erase(m_descriptors.begin() + static_cast<std::ptrdiff_t>(index));
}

void CFilter::RemoveAllDescriptors() {
    MarkModified();
    m_descriptors.clear();
}

int CFilter::Accept(const CInfoContainer& record) {
    const std::uint32_t key = record.Key();
    if (DisplayOnlyFirstOccurrence() && m_seenKeys.count(key)) return 0;
    bool include = false, exclude = false;
    for (const auto& descriptor : m_descriptors) {  // every descriptor is visited
        const std::int32_t type = descriptor->GetType();
        if (type != FILTER_INCLUDE && type != FILTER_EXCLUDE) continue;
        bool matched = false;
        if (!Match(record, *descriptor, &matched) || !matched) continue;
        (type == FILTER_INCLUDE ? include : exclude) = true;
    }
    const int result = m_descriptors.empty() || (include && !exclude) ? 1 : 0;
    if (result && DisplayOnlyFirstOccurrence()) m_seenKeys.insert(key);
    return result;
}

void CFilter::SerializeXml(CConfigArchive& archive) {
    if (archive.IsLoading()) {
        m_csFilterName = archive.ReadString("m_csFilterName", "Filter");
        m_bDisplayOnlyFirstOccurence = archive.ReadI4("m_bDisplayOnlyFirstOccurence", 0);
        const std::int32_t count = archive.ReadI4("nDescriptorCount", 0);
        // A count beyond the sections the file holds is damage, not defaults to make up.
        for (std::int32_t i = 0; i < count && i < kMaxItems; ++i) {
            CConfigSection section(archive, "CFilterDescriptor", i);
            if (archive.InMissingSection()) break;
            AddNewDescriptor()->SerializeXml(archive);
        }
        return;
    }
    archive.WriteString("m_csFilterName", m_csFilterName);
    archive.WriteI4("m_bDisplayOnlyFirstOccurence", m_bDisplayOnlyFirstOccurence);
    archive.WriteI4("nDescriptorCount", static_cast<std::int32_t>(m_descriptors.size()));
    for (const auto& descriptor : m_descriptors) {
        CConfigSection section(archive, "CFilterDescriptor");
        descriptor->SerializeXml(archive);
    }
}

void CFilter::StoreArchive(CLegacyArchiveWriter& archive) const {
    archive.WriteUInt32(1);
    archive.WriteString(m_csFilterName);
    archive.WriteInt32(m_bDisplayOnlyFirstOccurence);
    archive.WriteInt32(static_cast<std::int32_t>(m_descriptors.size()));
    for (const auto& descriptor : m_descriptors) descriptor->StoreArchive(archive);
}

int CFilter::LoadArchive(CLegacyArchiveReader& archive) {
    std::uint32_t version = 0;
    std::int32_t count = 0;
    if (!archive.ReadUInt32(&version)) return 3;
    if (version != 1) return 2;
    if (!archive.ReadString(&m_csFilterName) || !archive.ReadInt32(&m_bDisplayOnlyFirstOccurence) ||
        !archive.ReadInt32(&count) || count < 0 || count > kMaxItems)
        return 3;
    for (std::int32_t i = 0; i < count; ++i)
        if (const int r = AddNewDescriptor()->LoadArchive(archive)) return r;
    return 0;
}
