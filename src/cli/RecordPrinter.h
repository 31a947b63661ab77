#pragma once
// Prints what quorvel-cli receives and polls (docs/cli-output.md): aligned text
// lines with the cells of the project's viewer columns, or one JSON object per
// line; flushed at once.

#include <vector>

#include "AtomicLoadingViewerDoc.h"
#include "InfoRecords.h"
#include "NorvRecords.h"
#include "QuorvelDoc.h"
#include "TextTable.h"

class CRecordPrinter {
public:
    CRecordPrinter(const CQuorvelDoc& document, bool json) : m_document(document), m_bJson(json) {}

    // An event, resource or atomic loading record from a logger source.
    void PrintRecord(const CInfoContainer& record);
    void PrintVoices(const std::vector<CNorvVoiceRecord>& voices);
    void PrintObjects(const std::vector<CNorvMicro>& micros, const std::vector<CNorvObjectRecord>& objects);
    void PrintLoaded(const CLoadedSet& loaded);

private:
    const CQuorvelDoc& m_document;
    const bool m_bJson;
    CTextTable m_events, m_resources, m_loading, m_voices, m_micros, m_objects, m_loaded;
};
