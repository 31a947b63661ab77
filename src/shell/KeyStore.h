#pragma once
// The per-user key/value store that stands in for the registry: keys in a tree,
// addressed by backslash paths such as "SOFTWARE\Tarnwick\Quorvel\Connection\",
// holding text and 32-bit number values. Names compare case-insensitively.
//
// The store lives in memory and in one file. Reload reads the file (a missing or
// corrupt file gives an empty store, and a corrupt file is left alone until the
// next Save); Save writes a temporary file and renames it over the old one.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CKeyStore {
public:
    explicit CKeyStore(std::string filePath);
    ~CKeyStore();
    CKeyStore(const CKeyStore&) = delete;
    CKeyStore& operator=(const CKeyStore&) = delete;

    // $XDG_CONFIG_HOME/Quorvel/registry.xml, or ~/.config/Quorvel/registry.xml.
    static std::string DefaultPath();
    // The user's store at the default path.
    static CKeyStore& User();

    const std::string& FilePath() const { return m_csPath; }
    bool Reload();
    bool Save();

    bool KeyExists(const std::string& path) const;
    bool CreateKey(const std::string& path);
    // Deletes the key with all its sub keys and values; false when it does not exist.
    bool DeleteKey(const std::string& path);
    std::vector<std::string> SubKeyNames(const std::string& path) const;

    bool GetString(const std::string& path, const std::string& name, std::string* value) const;
    bool GetNumber(const std::string& path, const std::string& name, std::uint32_t* value) const;
    // Setting a value creates its key when missing.
    void SetString(const std::string& path, const std::string& name, const std::string& value);
    void SetNumber(const std::string& path, const std::string& name, std::uint32_t value);

    struct Key;

private:
    Key* Find(const std::string& path, bool create) const;

    std::string m_csPath;
    std::unique_ptr<Key> m_root;
};
