#include "RecordPrinter.h"

#include <cstdio>

#include "AtomicLoadingLogger.h"
#include "AtomicLoadingViewerDoc.h"
#include "EventLogger.h"
#include "JsonLine.h"
#include "ObjectViewerDoc.h"
#include "ResourceLogger.h"
#include "VoiceListViewDoc.h"

namespace {

double Db(std::int32_t fixed) { return fixed / 65536.0; }

const CColumnSet* ColumnsOf(const CQuorvelDoc& document, int kind) {
    const auto* doc = document.ViewerDoc<CColumnViewerDoc>(kind);
    return doc ? &doc->Columns() : nullptr;
}

}  // namespace

void CRecordPrinter::PrintRecord(const CInfoContainer& record) {
    const std::string time = record.CreationTime();
    if (const auto* e = dynamic_cast<const CEventInfoContainer*>(&record)) {
        if (m_bJson)
            CJsonLine("event").Text("time", time).Int("eventId", e->EventId()).Int("eventType", e->EventType())
                .Int("priority", e->EventPriority()).Int("objectId", e->ObjectId()).Int("objectType", e->ObjectType())
                .Print();
        else if (const CColumnSet* columns = ColumnsOf(m_document, 1))
            m_events.PrintRow("event", *columns, [&](std::int32_t id) { return EventCellText(*e, id); });
    } else if (const auto* r = dynamic_cast<const CResourceInfoContainer*>(&record)) {
        if (m_bJson)
            CJsonLine("resource").Text("time", time).Int("resourceId", r->ResourceId())
                .Int("resourceType", r->ResourceType()).Real("volume", Db(r->ResourceVolume())).Print();
        else if (const CColumnSet* columns = ColumnsOf(m_document, 2))
            m_resources.PrintRow("resource", *columns, [&](std::int32_t id) { return ResourceCellText(*r, id); });
    } else if (const auto* l = dynamic_cast<const CAtomicLoadingInfoContainer*>(&record)) {
        if (m_bJson)
            CJsonLine("loading").Text("time", time).Int("objectId", l->ObjectId()).Int("eventType", l->EventType())
                .Int("dataType", l->DataType()).Print();
        else if (const CColumnSet* columns = ColumnsOf(m_document, 7))
            m_loading.PrintRow("loading", *columns, [&](std::int32_t id) { return AtomicLoadingCellText(*l, id); });
    }
}

void CRecordPrinter::PrintVoices(const std::vector<CNorvVoiceRecord>& voices) {
    // The list is shown the voice list's way: the cells come from its document.
    auto* doc = m_document.ViewerDoc<CVoiceListViewDoc>(11);
    if (doc) doc->SetVoices(voices);
    if (!m_bJson) std::printf("-- %zu voice(s)\n", voices.size());
    for (std::size_t i = 0; i < voices.size(); ++i) {
        const CNorvVoiceRecord& v = voices[i];
        if (m_bJson) {
            CJsonLine("voice").Int("voiceId", v.m_lVoiceId).Int("priority", v.m_lPriority)
                .Int("instance", v.m_lInstance).Int("type", v.m_ulType).Int("status", v.m_ulStatus)
                .Int("resourceId", v.m_lResourceId).Int("streaming", v.m_ulStreaming)
                .Int("rollOffPresent", v.m_ulRollOffPresent)
                .Ints("rollOff", {v.m_lRollOff1, v.m_lRollOff2, v.m_lRollOff3, v.m_lRollOff4})
                .Int("word1", v.m_ulWord1).Int("word8", v.m_ulWord8)
                .Text("name", std::string(v.m_szName, v.m_ulNameLength)).Print();
        } else if (doc) {
            m_voices.PrintRow("voice", doc->Columns(), [&](std::int32_t id) { return doc->CellText(i, id); });
        }
    }
    std::fflush(stdout);
}

void CRecordPrinter::PrintObjects(const std::vector<CNorvMicro>& micros, const std::vector<CNorvObjectRecord>& objects) {
    auto* doc = m_document.ViewerDoc<CObjectViewerDoc>(10);
    if (doc) doc->SetLists(micros, objects);
    if (!m_bJson) std::printf("-- %zu micro(s), %zu object(s)\n", micros.size(), objects.size());
    for (const CNorvMicro& m : micros) {
        const CNorvMicroRecord& r = m.m_record;
        if (m_bJson)
            CJsonLine("micro").Int("microId", m.m_ulMicroId)
                .Reals("position", {r.m_position.x, r.m_position.y, r.m_position.z})
                .Reals("second", {r.m_second.x, r.m_second.y, r.m_second.z})
                .Reals("front", {r.m_front.x, r.m_front.y, r.m_front.z})
                .Reals("top", {r.m_top.x, r.m_top.y, r.m_top.z}).Print();
        else if (doc)
            m_micros.PrintRow("micro", doc->MicroColumns(), [&](std::int32_t id) { return MicroCellText(m, id); });
    }
    for (const CNorvObjectRecord& o : objects) {
        if (m_bJson)
            CJsonLine("object").Int("objectId", o.m_ulObjectId).Int("objectType", o.m_lObjectType)
                .Reals("position", {o.m_position.x, o.m_position.y, o.m_position.z})
                .Reals("speed", {o.m_rValue1, o.m_rValue2, o.m_rValue3}).Int("rollOffPresent", o.m_ulRollOffPresent)
                .Reals("rollOff", {o.m_rRollOffA, o.m_rRollOffB, o.m_rRollOffC, o.m_rRollOffD}).Print();
        else if (doc)
            m_objects.PrintRow("object", doc->ObjectColumns(), [&](std::int32_t id) { return ObjectCellText(o, id); });
    }
    std::fflush(stdout);
}

void CRecordPrinter::PrintLoaded(const CLoadedSet& loaded) {
    const CColumnSet* columns = ColumnsOf(m_document, 8);
    if (!m_bJson) std::printf("-- %zu loaded object(s)\n", loaded.size());
    for (const auto& entry : loaded) {
        const CAtomicLoadingInfoContainer& record = *entry.second;
        const CAtomicLoadingInfoContainer::Fields f = record.Get();
        if (m_bJson)
            CJsonLine("loaded").Int("objectId", f.objectId).Int("dataType", f.dataType)
                .Int("referenceCount", f.referenceCount).Int("loadCount", f.loadCount).Int("loadState", f.loadState)
                .Int("size", f.objectSize).Text("name", f.objectName).Print();
        else if (columns)
            m_loaded.PrintRow("loaded", *columns, [&](std::int32_t c) { return LoadedObjectCellText(record, c); });
    }
    std::fflush(stdout);
}
