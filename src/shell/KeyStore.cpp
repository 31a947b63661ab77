#include "KeyStore.h"

#include <sys/stat.h>

#include <cstdio>
#include <sstream>
#include <cstdlib>
#include <pugixml.hpp>
#include <strings.h>

#include "AtomicFile.h"

namespace {

struct CaseInsensitive {
    bool operator()(const std::string& a, const std::string& b) const { return ::strcasecmp(a.c_str(), b.c_str()) < 0; }
};

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

bool MakeDirectories(const std::string& directory) {
    std::string sofar;
    for (std::size_t i = 0; i < directory.size(); ++i) {
        sofar += directory[i];
        if ((directory[i] == '/' && i > 0) || i + 1 == directory.size()) ::mkdir(sofar.c_str(), 0700);
    }
    struct stat info {};
    return ::stat(directory.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

struct CKeyStore::Key {
    struct Value {
        bool bNumber = false;
        std::string csText;
        std::uint32_t ulNumber = 0;
    };
    std::map<std::string, Key, CaseInsensitive> subKeys;
    std::map<std::string, Value, CaseInsensitive> values;

    void Write(pugi::xml_node node) const {
        for (const auto& [name, value] : values) {
            pugi::xml_node v = node.append_child("Value");
            v.append_attribute("name") = name.c_str();
            v.append_attribute("type") = value.bNumber ? "dword" : "sz";
            if (value.bNumber)
                v.text() = value.ulNumber;
            else
                v.text() = value.csText.c_str();
        }
        for (const auto& [name, key] : subKeys) {
            pugi::xml_node k = node.append_child("Key");
            k.append_attribute("name") = name.c_str();
            key.Write(k);
        }
    }
    void Read(pugi::xml_node node) {
        for (pugi::xml_node child : node.children()) {
            const std::string name = child.attribute("name").as_string();
            if (std::string(child.name()) == "Key") {
                subKeys[name].Read(child);
            } else if (std::string(child.name()) == "Value") {
                Value& v = values[name];
                v.bNumber = std::string(child.attribute("type").as_string()) == "dword";
                if (v.bNumber)
                    v.ulNumber = child.text().as_uint();
                else
                    v.csText = child.text().as_string();
            }
        }
    }
};

CKeyStore::CKeyStore(std::string filePath) : m_csPath(std::move(filePath)), m_root(std::make_unique<Key>()) {
    Reload();
}

CKeyStore::~CKeyStore() = default;

std::string CKeyStore::DefaultPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config && *config) {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home && *home ? home : ".") + "/.config";
    }
    return base + "/Quorvel/registry.xml";
}

CKeyStore& CKeyStore::User() {
    static CKeyStore store(DefaultPath());
    return store;
}

bool CKeyStore::Reload() {
    m_root = std::make_unique<Key>();
    pugi::xml_document document;
    if (!document.load_file(m_csPath.c_str())) return false;
    pugi::xml_node root = document.child("QuorvelKeyStore");
    if (!root || root.attribute("version").as_int() != 1) return false;
    m_root->Read(root);
    return true;
}

bool CKeyStore::Save() {
    const auto slash = m_csPath.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirectories(m_csPath.substr(0, slash))) return false;
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("QuorvelKeyStore");
    root.append_attribute("version") = 1;
    m_root->Write(root);
    std::ostringstream text;
    document.save(text, "  ", pugi::format_default, pugi::encoding_utf8);
    const std::string bytes = text.str();
    return QvWriteFileAtomically(m_csPath, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

CKeyStore::Key* CKeyStore::Find(const std::string& path, bool create) const {
    Key* key = m_root.get();
    for (const std::string& part : SplitPath(path)) {
        auto it = key->subKeys.find(part);
        if (it == key->subKeys.end()) {
            if (!create) return nullptr;
            it = key->subKeys.emplace(part, Key{}).first;
        }
        key = &it->second;
    }
    return key;
}

bool CKeyStore::KeyExists(const std::string& path) const { return Find(path, false) != nullptr; }

bool CKeyStore::CreateKey(const std::string& path) { return Find(path, true) != nullptr; }

bool CKeyStore::DeleteKey(const std::string& path) {
    std::vector<std::string> parts = SplitPath(path);
    if (parts.empty()) return false;
    const std::string last = parts.back();
    parts.pop_back();
    Key* parent = m_root.get();
    for (const std::string& part : parts) {
        auto it = parent->subKeys.find(part);
        if (it == parent->subKeys.end()) return false;
        parent = &it->second;
    }
    return parent->subKeys.erase(last) > 0;
}

std::vector<std::string> CKeyStore::SubKeyNames(const std::string& path) const {
    std::vector<std::string> names;
    if (const Key* key = Find(path, false))
        for (const auto& [name, sub] : key->subKeys) names.push_back(name);
    return names;
}

bool CKeyStore::GetString(const std::string& path, const std::string& name, std::string* value) const {
    const Key* key = Find(path, false);
    if (!key) return false;
    auto it = key->values.find(name);
    if (it == key->values.end() || it->second.bNumber) return false;
    *value = it->second.csText;
    return true;
}

bool CKeyStore::GetNumber(const std::string& path, const std::string& name, std::uint32_t* value) const {
    const Key* key = Find(path, false);
    if (!key) return false;
    auto it = key->values.find(name);
    if (it == key->values.end() || !it->second.bNumber) return false;
    *value = it->second.ulNumber;
    return true;
}

void CKeyStore::SetString(const std::string& path, const std::string& name, const std::string& value) {
    Key::Value& v = Find(path, true)->values[name];
    v.bNumber = false;
    v.csText = value;
}

void CKeyStore::SetNumber(const std::string& path, const std::string& name, std::uint32_t value) {
    Key::Value& v = Find(path, true)->values[name];
    v.bNumber = true;
    v.ulNumber = value;
}
