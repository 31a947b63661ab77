#pragma once
// The binary archive of earlier project files and of connection record lists:
// little-endian integers, length-prefixed strings, element counts. The reader
// never reads past its bytes: a short or malformed archive turns it into the
// failed state and every later read yields nothing.

#include <cstdint>
#include <string>
#include <vector>

class CLegacyArchiveReader {
public:
    explicit CLegacyArchiveReader(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    bool ReadUInt32(std::uint32_t* value);
    bool ReadInt32(std::int32_t* value);
    // A length prefix, then single-byte characters (kept as they are), or after the
    // UTF-16 marker 16-bit characters (converted to UTF-8).
    bool ReadString(std::string* text);
    // A 16-bit count, or 0xFFFF followed by a 32-bit one.
    bool ReadCount(std::uint32_t* count);

    bool Failed() const { return m_bFailed; }
    std::size_t Remaining() const { return m_bytes.size() - m_ulPos; }
    bool AtEnd() const { return m_ulPos == m_bytes.size(); }

private:
    bool Take(void* out, std::size_t n);
    bool ReadLength(std::uint32_t* length, bool* wide);

    std::vector<std::uint8_t> m_bytes;
    std::size_t m_ulPos = 0;
    bool m_bFailed = false;
};

class CLegacyArchiveWriter {
public:
    void WriteUInt32(std::uint32_t value);
    void WriteInt32(std::int32_t value) { WriteUInt32(static_cast<std::uint32_t>(value)); }
    void WriteString(const std::string& text);
    void WriteCount(std::uint32_t count);
    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};
