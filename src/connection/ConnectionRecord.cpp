#include "ConnectionRecord.h"

#include <cstdlib>
#include <cstdio>
#include <climits>

#include "StringTable.h"

namespace {
constexpr int kEnginePort = 12987;

std::string PortText(int port) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", port);
    return text;
}
}  // namespace

void CConnectionRecord::Store(CLegacyArchiveWriter& archive) const {
    archive.WriteString(csName);
    archive.WriteString(csAddress);
    archive.WriteString(csComment);
    archive.WriteString(csPort);
}

bool CConnectionRecord::Load(CLegacyArchiveReader& archive) {
    return archive.ReadString(&csName) && archive.ReadString(&csAddress) && archive.ReadString(&csComment) &&
           archive.ReadString(&csPort);
}

int CConnectionRecord::PortNumber() const {
    const char* p = csPort.c_str();
    while (*p == ' ' || *p == '\t') ++p;
    char* end = nullptr;
    const long value = std::strtol(p, &end, 10);
    if (end == p) return 0;
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

CConnectionRecord CConnectionRecord::Default() {
    return {QvString(IDS_DEFAULT_CONNECTION_NAME), QvString(IDS_DEFAULT_CONNECTION_ADDRESS),
            QvString(IDS_DEFAULT_CONNECTION_COMMENT), PortText(kEnginePort)};
}

CConnectionRecord CConnectionRecord::New() {
    return {QvString(IDS_NEW_CONNECTION_NAME), QvString(IDS_NEW_CONNECTION_ADDRESS), "", PortText(kEnginePort)};
}
