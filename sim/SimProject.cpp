#include "SimProject.h"

#include <cstdio>
#include <fstream>

namespace {

constexpr std::int32_t Db(double db) { return static_cast<std::int32_t>(db * 65536.0); }

std::vector<SimGroup> BuildProject() {
    struct R {
        const char* name;
        std::uint32_t type;
        double db;
    };
    struct E {
        const char* name;
        std::uint32_t type;
        std::uint32_t resource;  // number inside the group
    };
    struct G {
        const char* name;
        std::vector<R> resources;
        std::vector<E> events;
    };
    const std::vector<G> groups = {
        {"Ambience",
         {{"Rain loop", 1, -6}, {"Wind gusts", 4, -9}, {"Forest birds", 2, -12}},
         {{"Ambience start", 1, 1}, {"Wind start", 1, 2}, {"Birds start", 1, 3}, {"Ambience stop", 2, 1}}},
        {"Footsteps",
         {{"Steps gravel", 4, -3}, {"Steps wood", 4, -3}, {"Steps water", 3, -4.5}},
         {{"Step gravel", 1, 1}, {"Step wood", 1, 2}, {"Step water", 1, 3}}},
        {"Weapons",
         {{"Sword swing", 1, 0}, {"Bow release", 1, -2}, {"Shield block", 7, -1}},
         {{"Attack sword", 1, 1}, {"Attack bow", 1, 2}, {"Block", 1, 3}}},
        {"Music",
         {{"Theme explore", 5, -10}, {"Theme combat", 5, -8}, {"Stinger", 6, -4}},
         {{"Music explore", 1, 1}, {"Music combat", 1, 2}, {"Music stinger", 1, 3}, {"Music stop", 3, 1}}},
        {"Voices",
         {{"Guard alert", 1, 0}, {"Merchant greet", 1, -2}, {"Crowd murmur", 2, -15}},
         {{"Guard shout", 1, 1}, {"Merchant hello", 1, 2}, {"Crowd start", 1, 3}, {"Volume duck", 10, 3}}},
    };
    std::vector<SimGroup> project;
    std::uint32_t number = 1;
    for (const G& g : groups) {
        SimGroup group{number, g.name, {}, {}};
        std::uint32_t r = 1;
        for (const R& res : g.resources) group.resources.push_back({number << 16 | r++, res.name, res.type, Db(res.db)});
        std::uint32_t e = 1;
        for (const E& ev : g.events) group.events.push_back({number << 16 | e++, ev.name, ev.type, number << 16 | ev.resource});
        project.push_back(std::move(group));
        ++number;
    }
    return project;
}

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string Hex(std::uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", v);
    return text;
}

}  // namespace

const std::vector<SimGroup>& SimSampleProject() {
    static const std::vector<SimGroup> project = BuildProject();
    return project;
}

const SimResource* SimFindResource(std::uint32_t resourceId) {
    for (const SimGroup& g : SimSampleProject())
        for (const SimResource& r : g.resources)
            if (r.ulId == resourceId) return &r;
    return nullptr;
}

std::string SimEditorProjectXml() {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml += "<CueforgeProject formatVersion=\"1\" name=\"Norv sample\">\n";
    for (const SimGroup& g : SimSampleProject()) {
        xml += "  <Group number=\"" + std::to_string(g.ulNumber) + "\" name=\"" + Escape(g.csName) + "\">\n";
        for (const SimResource& r : g.resources)
            xml += "    <Resource number=\"" + std::to_string(r.ulId & 0xFFFF) + "\" name=\"" + Escape(r.csName) +
                   "\" type=\"" + std::to_string(r.ulType) + "\" volume=\"" + std::to_string(r.lVolume) + "\"/>\n";
        for (const SimEvent& e : g.events)
            xml += "    <Event id=\"" + Hex(e.ulId) + "\" name=\"" + Escape(e.csName) + "\" type=\"" +
                   std::to_string(e.ulType) + "\" resource=\"" + Hex(e.ulResourceId) + "\"/>\n";
        xml += "  </Group>\n";
    }
    xml += "</CueforgeProject>\n";
    return xml;
}

bool SimWriteEditorProject(const std::string& path, std::string* error) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << SimEditorProjectXml();
        if (!out.flush()) {
            if (error) *error = "cannot write " + temporary;
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        if (error) *error = "cannot replace " + path;
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
