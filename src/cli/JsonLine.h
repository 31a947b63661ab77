#pragma once
// One JSON object on one line, built field by field.

#include <cstdint>
#include <initializer_list>
#include <string>

class CJsonLine {
public:
    explicit CJsonLine(const char* kind) { Text("kind", kind); }
    CJsonLine& Text(const char* key, const std::string& value);
    CJsonLine& Int(const char* key, std::int64_t value);
    CJsonLine& Real(const char* key, double value);
    CJsonLine& Reals(const char* key, std::initializer_list<double> values);
    CJsonLine& Ints(const char* key, std::initializer_list<std::int64_t> values);
    // Prints the object and a newline, and flushes.
    void Print();

private:
    void Key(const char* key);
    std::string m_text = "{";
};
