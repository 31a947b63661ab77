#include "JsonLine.h"

#include <cmath>
#include <cstdio>

namespace {
std::string Number(double value) {
    if (!std::isfinite(value)) return "null";  // JSON has no NaN or infinity
    char text[40];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}
}  // namespace

void CJsonLine::Key(const char* key) {
    if (m_text.size() > 1) m_text += ',';
    m_text += '"';
    m_text += key;
    m_text += "\":";
}

CJsonLine& CJsonLine::Text(const char* key, const std::string& value) {
    Key(key);
    m_text += '"';
    for (unsigned char c : value) {
        if (c == '"' || c == '\\') {
            m_text += '\\';
            m_text += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            m_text += escaped;
        } else {
            m_text += static_cast<char>(c);
        }
    }
    m_text += '"';
    return *this;
}

CJsonLine& CJsonLine::Int(const char* key, std::int64_t value) {
    Key(key);
    m_text += std::to_string(value);
    return *this;
}

CJsonLine& CJsonLine::Real(const char* key, double value) {
    Key(key);
    m_text += Number(value);
    return *this;
}

CJsonLine& CJsonLine::Reals(const char* key, std::initializer_list<double> values) {
    Key(key);
    m_text += '[';
    for (double v : values) m_text += (m_text.back() == '[' ? "" : ",") + Number(v);
    m_text += ']';
    return *this;
}

CJsonLine& CJsonLine::Ints(const char* key, std::initializer_list<std::int64_t> values) {
    Key(key);
    m_text += '[';
    for (std::int64_t v : values) m_text += (m_text.back() == '[' ? "" : ",") + std::to_string(v);
    m_text += ']';
    return *this;
}

void CJsonLine::Print() {
    std::printf("%s}\n", m_text.c_str());
    std::fflush(stdout);
}
