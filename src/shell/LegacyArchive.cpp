#include "LegacyArchive.h"

#include <cstring>

bool CLegacyArchiveReader::Take(void* out, std::size_t n) {
    if (m_bFailed || Remaining() < n) {
        m_bFailed = true;
        return false;
    }
    std::memcpy(out, m_bytes.data() + m_ulPos, n);
    m_ulPos += n;
    return true;
}

bool CLegacyArchiveReader::ReadUInt32(std::uint32_t* value) {
    std::uint8_t b[4];
    if (!Take(b, 4)) return false;
    *value = std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24;
    return true;
}

bool CLegacyArchiveReader::ReadInt32(std::int32_t* value) {
    std::uint32_t u;
    if (!ReadUInt32(&u)) return false;
    *value = static_cast<std::int32_t>(u);
    return true;
}

bool CLegacyArchiveReader::ReadLength(std::uint32_t* length, bool* wide) {
    std::uint8_t first;
    if (!Take(&first, 1)) return false;
    if (first < 0xFF) {
        *length = first;
        return true;
    }
    std::uint8_t b[2];
    if (!Take(b, 2)) return false;
    const std::uint16_t word = static_cast<std::uint16_t>(b[0] | b[1] << 8);
    if (word == 0xFFFE) {
        if (*wide) {  // one marker only
            m_bFailed = true;
            return false;
        }
        *wide = true;
        return ReadLength(length, wide);
    }
    if (word < 0xFFFF) {
        *length = word;
        return true;
    }
    return ReadUInt32(length);
}

bool CLegacyArchiveReader::ReadString(std::string* text) {
    std::uint32_t length = 0;
    bool wide = false;
    if (!ReadLength(&length, &wide)) return false;
    const std::size_t bytes = std::size_t{length} * (wide ? 2 : 1);
    if (bytes > Remaining()) {
        m_bFailed = true;
        return false;
    }
    const std::uint8_t* p = m_bytes.data() + m_ulPos;
    m_ulPos += bytes;
    if (!wide) {
        text->assign(reinterpret_cast<const char*>(p), bytes);
        return true;
    }
    text->clear();
    for (std::uint32_t i = 0; i < length; ++i) {
        std::uint32_t c = p[2 * i] | p[2 * i + 1] << 8;
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < length) {
            const std::uint32_t low = p[2 * i + 2] | p[2 * i + 3] << 8;
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (c >= 0xD800 && c < 0xE000) c = 0xFFFD;  // a lone surrogate
        if (c < 0x80) {
            *text += static_cast<char>(c);
        } else if (c < 0x800) {
            *text += static_cast<char>(0xC0 | c >> 6);
            *text += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            *text += static_cast<char>(0xE0 | c >> 12);
            *text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *text += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            *text += static_cast<char>(0xF0 | c >> 18);
            *text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return true;
}

bool CLegacyArchiveReader::ReadCount(std::uint32_t* count) {
    std::uint8_t b[2];
    if (!Take(b, 2)) return false;
    const std::uint16_t word = static_cast<std::uint16_t>(b[0] | b[1] << 8);
    if (word < 0xFFFF) {
        *count = word;
        return true;
    }
    return ReadUInt32(count);
}

void CLegacyArchiveWriter::WriteUInt32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) m_bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void CLegacyArchiveWriter::WriteString(const std::string& text) {
    const std::size_t n = text.size();
    if (n < 0xFF) {
        m_bytes.push_back(static_cast<std::uint8_t>(n));
    } else if (n < 0xFFFE) {
        m_bytes.push_back(0xFF);
        m_bytes.push_back(static_cast<std::uint8_t>(n));
        m_bytes.push_back(static_cast<std::uint8_t>(n >> 8));
    } else {
        m_bytes.insert(m_bytes.end(), {0xFF, 0xFF, 0xFF});
        WriteUInt32(static_cast<std::uint32_t>(n));
    }
    m_bytes.insert(m_bytes.end(), text.begin(), text.end());
}

void CLegacyArchiveWriter::WriteCount(std::uint32_t count) {
    if (count < 0xFFFF) {
        m_bytes.push_back(static_cast<std::uint8_t>(count));
        m_bytes.push_back(static_cast<std::uint8_t>(count >> 8));
    } else {
        m_bytes.insert(m_bytes.end(), {0xFF, 0xFF});
        WriteUInt32(count);
    }
}
