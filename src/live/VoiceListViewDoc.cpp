#include "VoiceListViewDoc.h"

#include <array>

#include "ColumnTable.h"

namespace {

std::string Hex(std::int32_t value) { return FormatCell("0X%08X", static_cast<unsigned>(value)); }
std::string RollOffPart(std::int32_t word) {
    return word == -1 ? std::string("/dis.") : FormatCell("/%.1f", word / 65536.0);
}
std::string Named(std::uint32_t code, std::initializer_list<const char*> names) {
    return code < names.size() ? names.begin()[code] : "N/A";
}

using VoiceColumn = TColumnSpec<CNorvVoiceRecord>;
constexpr std::array<VoiceColumn, 10> kVoiceColumns{{
    {0, "Voice Id", [](const CNorvVoiceRecord& v) { return Hex(v.m_lVoiceId); }},
    {1, "Priority", [](const CNorvVoiceRecord& v) { return Hex(v.m_lPriority); }},
    {2, "Instance", [](const CNorvVoiceRecord& v) { return FormatCell("%d", v.m_lInstance); }},
    {3, "Type",
     [](const CNorvVoiceRecord& v) { return Named(v.m_ulType, {"Oneshot", "Looping", "Theme", "Synth", "Invalid"}); }},
    {4, "Status", [](const CNorvVoiceRecord& v) { return Named(v.m_ulStatus, {"Invalid", "Audible", "Virtual"}); }},
    {5, "Res Id", [](const CNorvVoiceRecord& v) { return Hex(v.m_lResourceId); }},
    {6, "Rolloff (Sat/Lin/Inaud/Back)", VoiceRollOffText},
    {7, "Streaming?", [](const CNorvVoiceRecord& v) { return std::string(v.m_ulStreaming ? "True" : "False"); }},
    {VOICE_COLUMN_RESOURCE_NAME, "ResName", [](const CNorvVoiceRecord&) { return std::string(); }},
    {9, "Comment", [](const CNorvVoiceRecord& v) { return std::string(v.m_szName, v.m_ulNameLength); }},
}};

}  // namespace

std::string VoiceRollOffText(const CNorvVoiceRecord& v) {
    if (v.m_ulRollOffPresent == 0) return "default";
    return FormatCell("%.2f", v.m_lRollOff1 / 65536.0) + RollOffPart(v.m_lRollOff2) + RollOffPart(v.m_lRollOff3) +
           RollOffPart(v.m_lRollOff4);
}

std::string VoiceCellText(const CNorvVoiceRecord& voice, std::int32_t column, INameResolver* resolver) {
    if (column == VOICE_COLUMN_RESOURCE_NAME) {
        std::string name;
        if (!resolver || !resolver->ResourceName(static_cast<std::uint32_t>(voice.m_lResourceId), &name)) return {};
        return name;
    }
    return ColumnCellText<CNorvVoiceRecord>(kVoiceColumns, voice, column);
}

CVoiceListViewDoc::CVoiceListViewDoc() {
    m_columns.SetModifiedHook([this] { MarkModified(); });
}

std::string CVoiceListViewDoc::CellText(std::size_t row, std::int32_t column) const {
    if (row >= m_voices.size()) return {};
    IProjectDocument* owner = Owner();
    INameResolver* resolver = owner && owner->ReadsFromEditor() ? owner->NameResolver() : nullptr;
    return VoiceCellText(m_voices[row], column, resolver);
}

void CVoiceListViewDoc::DefineColumns() { ::DefineColumns<CNorvVoiceRecord>(m_columns, kVoiceColumns); }

int CVoiceListViewDoc::Initialise(IProjectDocument* owner) {
    if (!CViewerDoc::Initialise(owner)) return 0;
    DefineColumns();
    return 1;
}

void CVoiceListViewDoc::Reset() {
    m_columns.Clear();
    m_voices.clear();
}

int CVoiceListViewDoc::SerializeXml(CConfigArchive& archive) {
    CConfigSection section(archive, "CVoiceListViewDoc");
    if (archive.IsLoading()) DefineColumns();
    m_columns.SerializeXml(archive);
    return 0;
}

void CVoiceListViewDoc::StoreArchive(CLegacyArchiveWriter& archive) const { m_columns.StoreLegacy(archive); }

int CVoiceListViewDoc::LoadArchive(IProjectDocument* owner, CLegacyArchiveReader& archive) {
    if (!owner) return LOAD_FAILED;
    SetOwner(owner);
    DefineColumns();
    return m_columns.LoadLegacy(archive);
}
