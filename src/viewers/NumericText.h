#pragma once
// Classifies a criterion text typed by the user as a decimal or "0X" hexadecimal
// number, and converts it.

#include <cstdint>
#include <string>

class CNumericText {
public:
    enum EKind { INVALID, DECIMAL, HEXADECIMAL };
    static EKind Classify(const std::string& text);
    // The value as "%d", "%u" or "%x" would read it; false for an invalid text.
    static bool ToSigned(const std::string& text, std::int32_t* value);
    static bool ToUnsigned(const std::string& text, std::uint32_t* value);
};
