#include "RecordPrinter.h"

#include <cstdio>

void PrintRecord(const CInfoContainer& record, bool json) {
    const std::string time = record.CreationTime();
    if (const auto* e = dynamic_cast<const CEventInfoContainer*>(&record)) {
        if (json)
            std::printf("{\"kind\":\"event\",\"time\":\"%s\",\"eventId\":%u,\"eventType\":%u,\"priority\":%d,"
                        "\"objectId\":%d,\"objectType\":%d}\n",
                        time.c_str(), e->EventId(), e->EventType(), e->EventPriority(), e->ObjectId(), e->ObjectType());
        else
            std::printf("%s event     id 0X%X type %u priority %d object %d object type %d\n", time.c_str(),
                        e->EventId(), e->EventType(), e->EventPriority(), e->ObjectId(), e->ObjectType());
    } else if (const auto* r = dynamic_cast<const CResourceInfoContainer*>(&record)) {
        if (json)
            std::printf("{\"kind\":\"resource\",\"time\":\"%s\",\"resourceId\":%u,\"resourceType\":%u,\"volume\":%.4f}\n",
                        time.c_str(), r->ResourceId(), r->ResourceType(), r->ResourceVolume() / 65536.0);
        else
            std::printf("%s resource  id 0X%X type %u volume %.2f dB\n", time.c_str(), r->ResourceId(),
                        r->ResourceType(), r->ResourceVolume() / 65536.0);
    } else if (const auto* l = dynamic_cast<const CAtomicLoadingInfoContainer*>(&record)) {
        if (json)
            std::printf("{\"kind\":\"loading\",\"time\":\"%s\",\"objectId\":%u,\"eventType\":%u,\"dataType\":%u}\n",
                        time.c_str(), l->ObjectId(), l->EventType(), l->DataType());
        else
            std::printf("%s loading   object 0X%08X event %u data type 0X%08X\n", time.c_str(), l->ObjectId(),
                        l->EventType(), l->DataType());
    }
    std::fflush(stdout);
}
