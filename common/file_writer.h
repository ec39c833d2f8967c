#pragma once
// Writing a whole file in one go. The C library buffers what it is given, so
// a full disk or a vanished share often shows only when the buffer is flushed
// or the file closed: the write, the flush and the close are all checked.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vorn {

// Creates or replaces the file at `path` with `size` bytes from `data`.
// Answers false if any step fails; what was written so far may remain.
bool writeFile(const std::string& path, const void* data, size_t size);

inline bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    return writeFile(path, bytes.data(), bytes.size());
}

inline bool writeFile(const std::string& path, const std::string& text) {
    return writeFile(path, text.data(), text.size());
}

}  // namespace vorn
