#pragma once
// The voice list's document (kind 11): the column layout, saved, and a copy of the
// commander's last voice list, not saved.

#include <vector>

#include "ColumnSet.h"
#include "NorvRecords.h"
#include "ViewerDoc.h"

// The resource name column looks the voice's resource up in the editor; the
// resolver may be none (the cell is then empty).
std::string VoiceCellText(const CNorvVoiceRecord& voice, std::int32_t column, INameResolver* resolver = nullptr);
std::string VoiceRollOffText(const CNorvVoiceRecord& voice);

enum EVoiceColumn : std::int32_t { VOICE_COLUMN_RESOURCE_NAME = 8 };

class CVoiceListViewDoc final : public CViewerDoc {
public:
    CVoiceListViewDoc();
    int ViewerKind() const override { return 11; }
    int SourceKind() const override { return 0; }
    int Initialise(IProjectDocument* owner) override;
    void Reset() override;
    int LoadArchive(IProjectDocument* owner, CLegacyArchiveReader& archive) override;
    void StoreArchive(CLegacyArchiveWriter& archive) const override;
    int SerializeXml(CConfigArchive& archive) override;
    void DefineColumns();

    CColumnSet& Columns() { return m_columns; }
    const std::vector<CNorvVoiceRecord>& Voices() const { return m_voices; }
    void SetVoices(std::vector<CNorvVoiceRecord> voices) { m_voices = std::move(voices); }
    // The cell as the list shows it: resource names only when the project reads from the editor.
    std::string CellText(std::size_t row, std::int32_t column) const;

private:
    CColumnSet m_columns;
    std::vector<CNorvVoiceRecord> m_voices;
};
