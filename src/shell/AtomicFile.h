#pragma once
// Whole files, read and replaced in one go.

#include <cstdint>
#include <string>
#include <vector>

// False when the file system refuses.
bool QvReadFile(const std::string& path, std::vector<std::uint8_t>* bytes);
// Writes a temporary file next to the target and renames it over the target.
bool QvWriteFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes);
