#include "common/file_writer.h"

#include <cstdio>

namespace vorn {

bool writeFile(const std::string& path, const void* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    const bool flushed = std::fflush(file) == 0;
    // Closed in any case, so that a failed write leaks no handle.
    const bool closed = std::fclose(file) == 0;
    return written && flushed && closed;
}

}  // namespace vorn
