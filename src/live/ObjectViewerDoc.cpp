#include "ObjectViewerDoc.h"

#include <array>

#include "ColumnTable.h"

namespace {

std::string Hex(std::uint32_t value) { return FormatCell("0X%08X", value); }
std::string Float(float value) { return FormatCell("%f", static_cast<double>(value)); }
std::string RollOffPart(float value) {
    return value == -1.0f ? std::string("/dis.") : FormatCell("/%.1f", static_cast<double>(value));
}

using MicroColumn = TColumnSpec<CNorvMicro>;
constexpr std::array<MicroColumn, 10> kMicroColumns{{
    {0, "Micro Id", [](const CNorvMicro& m) { return Hex(m.m_ulMicroId); }},
    {1, "X", [](const CNorvMicro& m) { return Float(m.m_record.m_position.x); }},
    {2, "Y", [](const CNorvMicro& m) { return Float(m.m_record.m_position.y); }},
    {3, "Z", [](const CNorvMicro& m) { return Float(m.m_record.m_position.z); }},
    {4, "Nx", [](const CNorvMicro& m) { return Float(m.m_record.m_front.x); }},
    {5, "Ny", [](const CNorvMicro& m) { return Float(m.m_record.m_front.y); }},
    {6, "Nz", [](const CNorvMicro& m) { return Float(m.m_record.m_front.z); }},
    {7, "Tx", [](const CNorvMicro& m) { return Float(m.m_record.m_top.x); }},
    {8, "Ty", [](const CNorvMicro& m) { return Float(m.m_record.m_top.y); }},
    {9, "Tz", [](const CNorvMicro& m) { return Float(m.m_record.m_top.z); }},
}};

using ObjectColumn = TColumnSpec<CNorvObjectRecord>;
constexpr std::array<ObjectColumn, 9> kObjectColumns{{
    {0, "Object Id", [](const CNorvObjectRecord& o) { return Hex(o.m_ulObjectId); }},
    {1, "Object Type", [](const CNorvObjectRecord& o) { return FormatCell("%d", o.m_lObjectType); }},
    {2, "X", [](const CNorvObjectRecord& o) { return Float(o.m_position.x); }},
    {3, "Y", [](const CNorvObjectRecord& o) { return Float(o.m_position.y); }},
    {4, "Z", [](const CNorvObjectRecord& o) { return Float(o.m_position.z); }},
    {5, "Speed X", [](const CNorvObjectRecord& o) { return Float(o.m_rValue1); }},
    {6, "Speed Y", [](const CNorvObjectRecord& o) { return Float(o.m_rValue2); }},
    {7, "Speed Z", [](const CNorvObjectRecord& o) { return Float(o.m_rValue3); }},
    {8, "Dyn. RollOff (Sat/Lin/Inaud/Back)", ObjectRollOffText},
}};

}  // namespace

std::string ObjectRollOffText(const CNorvObjectRecord& o) {
    if (o.m_ulRollOffPresent == 0) return "default";
    return FormatCell("%.2f", static_cast<double>(o.m_rRollOffC / 65536.0f)) + RollOffPart(o.m_rRollOffD) +
           RollOffPart(o.m_rRollOffB) + RollOffPart(o.m_rRollOffA);
}

std::string MicroCellText(const CNorvMicro& micro, std::int32_t column) {
    return ColumnCellText<CNorvMicro>(kMicroColumns, micro, column);
}

std::string ObjectCellText(const CNorvObjectRecord& object, std::int32_t column) {
    return ColumnCellText<CNorvObjectRecord>(kObjectColumns, object, column);
}

CObjectViewerDoc::CObjectViewerDoc() {
    m_microColumns.SetModifiedHook([this] { MarkModified(); });
    m_objectColumns.SetModifiedHook([this] { MarkModified(); });
}

void CObjectViewerDoc::DefineColumns() {
    ::DefineColumns<CNorvMicro>(m_microColumns, kMicroColumns);
    ::DefineColumns<CNorvObjectRecord>(m_objectColumns, kObjectColumns);
}

int CObjectViewerDoc::Initialise(IProjectDocument* owner) {
    if (!CViewerDoc::Initialise(owner)) return 0;
    DefineColumns();
    return 1;
}

void CObjectViewerDoc::Reset() {
    m_microColumns.Clear();
    m_objectColumns.Clear();
    m_micros.clear();
    m_objects.clear();
}

int CObjectViewerDoc::SerializeXml(CConfigArchive& archive) {
    CConfigSection section(archive, "CObjectViewerDoc");
    if (archive.IsLoading()) DefineColumns();
    {
        CConfigSection micro(archive, "MicroColumns");
        m_microColumns.SerializeXml(archive);
    }
    CConfigSection object(archive, "ObjectColumns");
    m_objectColumns.SerializeXml(archive);
    return 0;
}

void CObjectViewerDoc::StoreArchive(CLegacyArchiveWriter& archive) const {
    m_microColumns.StoreLegacy(archive);
    m_objectColumns.StoreLegacy(archive);
}

int CObjectViewerDoc::LoadArchive(IProjectDocument* owner, CLegacyArchiveReader& archive) {
    if (!owner) return LOAD_FAILED;
    SetOwner(owner);
    DefineColumns();
    if (const int r = m_microColumns.LoadLegacy(archive)) return r;
    return m_objectColumns.LoadLegacy(archive);
}
