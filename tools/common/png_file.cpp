#include "tools/common/png_file.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <climits>
#include <memory>

namespace vorn::tools {
namespace {

constexpr int kChannels = 3;  // red, green, blue; no alpha

void appendTo(void* context, void* data, int size) {
    auto* file = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    file->insert(file->end(), bytes, bytes + size);
}

bool fail(std::string& error, const std::string& message) {
    error = message;
    return false;
}

// stb keeps the reason for its last failure; "what (reason)".
bool failWithReason(std::string& error, const char* what) {
    const char* reason = stbi_failure_reason();
    return fail(error, std::string(what) + " (" + (reason ? reason : "no reason given") + ")");
}

}  // namespace

std::vector<uint8_t> encodePng(const Picture& picture) {
    if (picture.width <= 0 || picture.height <= 0) return {};
    std::vector<uint8_t> samples;
    samples.reserve(static_cast<size_t>(picture.width) * picture.height * kChannels);
    for (const Rgb& colour : picture.pixels) {
        samples.push_back(colour.red);
        samples.push_back(colour.green);
        samples.push_back(colour.blue);
    }
    std::vector<uint8_t> file;
    if (!stbi_write_png_to_func(&appendTo, &file, picture.width, picture.height, kChannels,
                                samples.data(), picture.width * kChannels))
        return {};
    return file;
}

bool decodePng(const std::vector<uint8_t>& bytes, Picture& picture, std::string& error) {
    if (bytes.size() > static_cast<size_t>(INT_MAX)) return fail(error, "PNG file too large");
    const auto* data = bytes.data();
    const int length = static_cast<int>(bytes.size());
    // The header first, so that an absurd size is refused before anything
    // is allocated for it.
    int width = 0, height = 0, fileChannels = 0;
    if (!stbi_info_from_memory(data, length, &width, &height, &fileChannels))
        return failWithReason(error, "not a readable PNG file");
    if (!plausibleFileSize(width, height)) return fail(error, "PNG size out of range");

    const std::unique_ptr<stbi_uc, void (*)(void*)> samples(
        stbi_load_from_memory(data, length, &width, &height, &fileChannels, kChannels),
        &stbi_image_free);
    if (!samples)
        return failWithReason(error, "PNG image data unreadable");

    picture = Picture(width, height);
    const stbi_uc* sample = samples.get();
    for (Rgb& colour : picture.pixels) {
        colour = Rgb{sample[0], sample[1], sample[2]};
        sample += kChannels;
    }
    return true;
}

}  // namespace vorn::tools
