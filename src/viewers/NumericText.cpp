#include "NumericText.h"

#include <cctype>
#include <cstdlib>

CNumericText::EKind CNumericText::Classify(const std::string& text) {
    std::string upper;
    for (char c : text) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper.find(' ') != std::string::npos || upper.find('\t') != std::string::npos) return INVALID;
    const bool hex = upper.rfind("0X", 0) == 0;
    bool sign = false, digit = false;
    for (std::size_t i = hex ? 2 : 0; i < upper.size(); ++i) {
        const char c = upper[i];
        if (c == '+' || c == '-') {
            if (sign) return INVALID;
            sign = true;
        } else if ((c >= '0' && c <= '9') || (hex && c >= 'A' && c <= 'F')) {
            digit = true;
        } else {
            return INVALID;
        }
    }
    if (!digit) return INVALID;
    return hex ? HEXADECIMAL : DECIMAL;
}

// Read like "%d", "%u" and "%x" (stopping at the first character that does not
// fit), without their undefined behaviour on numbers too large for 32 bits: the
// value wraps to 32 bits.
namespace {
std::uint32_t Read(const std::string& text, CNumericText::EKind kind) {
    const int base = kind == CNumericText::HEXADECIMAL ? 16 : 10;
    return static_cast<std::uint32_t>(std::strtoull(text.c_str(), nullptr, base));
}
}  // namespace

bool CNumericText::ToSigned(const std::string& text, std::int32_t* value) {
    const EKind kind = Classify(text);
    if (kind == INVALID) return false;
    *value = static_cast<std::int32_t>(Read(text, kind));
    return true;
}

bool CNumericText::ToUnsigned(const std::string& text, std::uint32_t* value) {
    const EKind kind = Classify(text);
    if (kind == INVALID) return false;
    *value = Read(text, kind);
    return true;
}
