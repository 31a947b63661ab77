#include "ConfigArchive.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pugixml.hpp>
#include <sstream>
#include <strings.h>

#include "AtomicFile.h"

namespace {
constexpr const char* kTypeNamespace = "urn:schemas-microsoft-com:datatypes";

bool SameName(const char* a, const std::string& b) { return ::strcasecmp(a, b.c_str()) == 0; }

template <class T>
bool ParseInteger(const std::string& text, T* value) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    while (begin < end && (*begin == ' ' || *begin == '\t' || *begin == '\n' || *begin == '\r')) ++begin;
    while (end > begin && (end[-1] == ' ' || end[-1] == '\t' || end[-1] == '\n' || end[-1] == '\r')) --end;
    if (begin < end && *begin == '+') ++begin;
    auto [ptr, ec] = std::from_chars(begin, end, *value);
    return ec == std::errc() && ptr == end && begin != end;
}
}  // namespace

struct CConfigArchive::Impl {
    pugi::xml_document document;
    pugi::xml_node current;
    std::vector<pugi::xml_node> stack;
    int missingDepth = 0;
};

CConfigArchive::CConfigArchive(EMode mode) : m_eMode(mode), m_impl(std::make_unique<Impl>()) {
    if (mode == STORE) {
        m_impl->document.load_string("<?xml version='1.0' encoding='UTF-8'?><QUORVEL_CONFIG/>");
        pugi::xml_node root = m_impl->document.document_element();
        root.append_attribute("xmlns:dt") = kTypeNamespace;
        m_impl->current = root;
    }
}

CConfigArchive::~CConfigArchive() = default;

bool CConfigArchive::Load(const std::string& path) {
    const pugi::xml_parse_result result = m_impl->document.load_file(path.c_str());
    if (!result || !m_impl->document.document_element()) return false;
    m_impl->current = m_impl->document.document_element();
    m_impl->stack.clear();
    m_impl->missingDepth = 0;
    return true;
}

std::string CConfigArchive::Text() const {
    std::ostringstream text;
    m_impl->document.save(text, "  ", pugi::format_default, pugi::encoding_utf8);
    return text.str();
}

bool CConfigArchive::Save(const std::string& path, std::string* error) {
    const std::string text = Text();
    errno = 0;
    if (!QvWriteFileAtomically(path, std::vector<std::uint8_t>(text.begin(), text.end()))) {
        if (error) *error = path + ": " + (errno ? std::strerror(errno) : "cannot be written");
        return false;
    }
    return true;
}

void CConfigArchive::EnterSection(const std::string& name, int index) {
    Impl& d = *m_impl;
    if (m_eMode == STORE) {
        d.stack.push_back(d.current);
        d.current = d.current.append_child(name.c_str());
        return;
    }
    if (d.missingDepth > 0) {
        ++d.missingDepth;
        return;
    }
    int seen = 0;
    for (pugi::xml_node child : d.current.children()) {
        if (child.type() != pugi::node_element || !SameName(child.name(), name)) continue;
        if (seen++ == index) {
            d.stack.push_back(d.current);
            d.current = child;
            return;
        }
    }
    ++d.missingDepth;
}

bool CConfigArchive::InMissingSection() const { return m_impl->missingDepth > 0; }

void CConfigArchive::LeaveSection() {
    Impl& d = *m_impl;
    if (d.missingDepth > 0) {
        --d.missingDepth;
        return;
    }
    if (d.stack.empty()) return;  // an unmatched leave changes nothing
    d.current = d.stack.back();
    d.stack.pop_back();
}

void CConfigArchive::WriteValue(const std::string& name, const char* type, const std::string& text) {
    if (m_eMode != STORE) return;
    EnterSection(name);
    m_impl->current.append_attribute("dt:dt") = type;
    m_impl->current.text() = text.c_str();
    LeaveSection();
}

void CConfigArchive::WriteI4(const std::string& name, std::int32_t value) { WriteValue(name, "i4", std::to_string(value)); }

void CConfigArchive::WriteUI4(const std::string& name, std::uint32_t value) {
    WriteValue(name, "ui4", std::to_string(value));
}

void CConfigArchive::WriteR4(const std::string& name, float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    WriteValue(name, "r4", text);
}

void CConfigArchive::WriteString(const std::string& name, const std::string& value) {
    WriteValue(name, "string", value);
}

bool CConfigArchive::ValueText(const std::string& name, std::string* text) const {
    if (m_impl->missingDepth > 0 || !m_impl->current) return false;
    for (pugi::xml_node child : m_impl->current.children()) {
        if (child.type() != pugi::node_element || !SameName(child.name(), name)) continue;
        *text = child.text().as_string();
        return true;
    }
    return false;
}

std::int32_t CConfigArchive::ReadI4(const std::string& name, std::int32_t fallback) const {
    std::string text;
    std::int32_t value;
    return ValueText(name, &text) && ParseInteger(text, &value) ? value : fallback;
}

std::uint32_t CConfigArchive::ReadUI4(const std::string& name, std::uint32_t fallback) const {
    std::string text;
    std::uint32_t value;
    return ValueText(name, &text) && ParseInteger(text, &value) ? value : fallback;
}

float CConfigArchive::ReadR4(const std::string& name, float fallback) const {
    std::string text;
    if (!ValueText(name, &text)) return fallback;
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    return end != text.c_str() && std::isfinite(value) ? value : fallback;
}

std::string CConfigArchive::ReadString(const std::string& name, const std::string& fallback) const {
    std::string text;
    return ValueText(name, &text) ? text : fallback;
}

void CConfigArchive::SerializeI4(const std::string& name, std::int32_t* value) {
    if (IsLoading()) *value = ReadI4(name, *value);
    else WriteI4(name, *value);
}

void CConfigArchive::SerializeUI4(const std::string& name, std::uint32_t* value) {
    if (IsLoading()) *value = ReadUI4(name, *value);
    else WriteUI4(name, *value);
}

void CConfigArchive::SerializeR4(const std::string& name, float* value) {
    if (IsLoading()) *value = ReadR4(name, *value);
    else WriteR4(name, *value);
}

void CConfigArchive::SerializeString(const std::string& name, std::string* value) {
    if (IsLoading()) *value = ReadString(name, *value);
    else WriteString(name, *value);
}
