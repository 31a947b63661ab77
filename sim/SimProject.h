#pragma once
// The sample editor project that the simulator's game is built from: groups of
// resources and events with their names, types and volumes. Resource ids are
// (group number << 16) | resource number; event ids likewise.

#include <cstdint>
#include <string>
#include <vector>

struct SimResource {
    std::uint32_t ulId;
    std::string csName;
    std::uint32_t ulType;  // resource type code (1 sample, 2 sequence, 3 switch, 4 random, 5 theme, ...)
    std::int32_t lVolume;  // dB x 65536
};

struct SimEvent {
    std::uint32_t ulId;
    std::string csName;
    std::uint32_t ulType;          // event type code (1 play, 2 stop, ...)
    std::uint32_t ulResourceId;    // the resource it starts or stops
};

struct SimGroup {
    std::uint32_t ulNumber;
    std::string csName;
    std::vector<SimResource> resources;
    std::vector<SimEvent> events;
};

const std::vector<SimGroup>& SimSampleProject();
const SimResource* SimFindResource(std::uint32_t resourceId);

// The project as an editor project file (docs/editor-project.md).
std::string SimEditorProjectXml();
// Writes it; false with a message when the file cannot be written.
bool SimWriteEditorProject(const std::string& path, std::string* error);
