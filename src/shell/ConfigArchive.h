#pragma once
// The XML archive through which the project document and every viewer document
// write and read their entries. Each value is an element of its own carrying its
// data type ("i4", "ui4", "r4", "string") in the dt:dt attribute. Sections nest;
// loading finds names in any letter case and gives defaults for whatever the file
// does not have.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pugi {
class xml_document;
class xml_node;
}  // namespace pugi

class CConfigArchive {
public:
    enum EMode { LOAD = 0, STORE = 1 };
    explicit CConfigArchive(EMode mode);
    ~CConfigArchive();
    CConfigArchive(const CConfigArchive&) = delete;
    CConfigArchive& operator=(const CConfigArchive&) = delete;

    bool IsLoading() const { return m_eMode == LOAD; }
    // Parses the file; false when it is not well-formed XML. The root's name is not checked.
    bool Load(const std::string& path);
    // Writes through a temporary file; false with the reason in *error.
    bool Save(const std::string& path, std::string* error);
    // The document as text, for tests and diagnostics.
    std::string Text() const;

    void EnterSection(const std::string& name, int index = 0);
    void LeaveSection();
    // Loading: whether the section entered last (or an enclosing one) is not in the file.
    bool InMissingSection() const;

    void WriteI4(const std::string& name, std::int32_t value);
    void WriteUI4(const std::string& name, std::uint32_t value);
    void WriteR4(const std::string& name, float value);
    void WriteString(const std::string& name, const std::string& value);

    std::int32_t ReadI4(const std::string& name, std::int32_t fallback) const;
    std::uint32_t ReadUI4(const std::string& name, std::uint32_t fallback) const;
    float ReadR4(const std::string& name, float fallback) const;
    std::string ReadString(const std::string& name, const std::string& fallback) const;

    // Read-or-write in one call, for code that serializes both ways: in store mode
    // writes *value, in load mode reads it with its current value as default.
    void SerializeI4(const std::string& name, std::int32_t* value);
    void SerializeUI4(const std::string& name, std::uint32_t* value);
    void SerializeR4(const std::string& name, float* value);
    void SerializeString(const std::string& name, std::string* value);

private:
    struct Impl;
    void WriteValue(const std::string& name, const char* type, const std::string& text);
    // The text of the first child element named so (any case), or false.
    bool ValueText(const std::string& name, std::string* text) const;

    const EMode m_eMode;
    std::unique_ptr<Impl> m_impl;
};

// Enters a section for its lifetime.
class CConfigSection {
public:
    CConfigSection(CConfigArchive& archive, const std::string& name, int index = 0) : m_archive(archive) {
        m_archive.EnterSection(name, index);
    }
    ~CConfigSection() { m_archive.LeaveSection(); }
    CConfigSection(const CConfigSection&) = delete;
    CConfigSection& operator=(const CConfigSection&) = delete;

private:
    CConfigArchive& m_archive;
};
