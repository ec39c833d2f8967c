// The equalizer's settings to and from the host's project. A chunk is
// checked whole before anything changes, so a refused one leaves every
// band, name and the current program as they were.

#include "host/equalizer_effect.h"

namespace vorn {

int32_t EqualizerEffect::getChunk(void** data, bool isPreset) {
    if (!data) return 0;
    const size_t size = isPreset ? chunk::writeProgram(bank.settings(bank.currentNumber()), chunkBytes)
                                 : chunk::writeBank(bank.settings(), chunkBytes);
    *data = chunkBytes;
    return static_cast<int32_t>(size);
}

int32_t EqualizerEffect::setChunk(void* data, int32_t byteSize, bool isPreset) {
    if (!data || byteSize <= 0) return 0;
    const auto* bytes = static_cast<const uint8_t*>(data);
    const auto size = static_cast<size_t>(byteSize);
    if (isPreset) {
        const std::optional<ProgramSettings> program = chunk::readProgram(bytes, size);
        if (!program) return 0;
        replaceProgram(bank.currentNumber(), *program);
    } else {
        const std::optional<BankSettings> settings = chunk::readBank(bytes, size);
        if (!settings) return 0;
        replaceBank(*settings);
    }
    return 1;
}

}  // namespace vorn
