#pragma once
// The object and micro viewer's document (kind 10): a column layout for each of its
// two lists and a copy of the commander's last lists, which are not saved.

#include <vector>

#include "ColumnSet.h"
#include "NorvRecords.h"
#include "ViewerDoc.h"

std::string MicroCellText(const CNorvMicro& micro, std::int32_t column);
std::string ObjectCellText(const CNorvObjectRecord& object, std::int32_t column);
// "default", or saturation/linear/inaudible/back such as "1.00/10.0/dis./50.0".
std::string ObjectRollOffText(const CNorvObjectRecord& object);

class CObjectViewerDoc final : public CViewerDoc {
public:
    CObjectViewerDoc();
    int ViewerKind() const override { return 10; }
    int SourceKind() const override { return 0; }
    int Initialise(IProjectDocument* owner) override;
    void Reset() override;
    int LoadArchive(IProjectDocument* owner, CLegacyArchiveReader& archive) override;
    void StoreArchive(CLegacyArchiveWriter& archive) const override;
    int SerializeXml(CConfigArchive& archive) override;
    void DefineColumns();

    CColumnSet& MicroColumns() { return m_microColumns; }
    CColumnSet& ObjectColumns() { return m_objectColumns; }
    const std::vector<CNorvMicro>& Micros() const { return m_micros; }
    const std::vector<CNorvObjectRecord>& Objects() const { return m_objects; }
    void SetLists(std::vector<CNorvMicro> micros, std::vector<CNorvObjectRecord> objects) {
        m_micros = std::move(micros);
        m_objects = std::move(objects);
    }

private:
    CColumnSet m_microColumns;
    CColumnSet m_objectColumns;
    std::vector<CNorvMicro> m_micros;
    std::vector<CNorvObjectRecord> m_objects;
};
