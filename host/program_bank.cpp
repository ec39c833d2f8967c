#include "host/program_bank.h"

#include <cstring>
#include <initializer_list>

namespace vorn {

std::atomic<float>& ProgramBank::slot(int program, Channel channel, int band) {
    engine::BandValues& bands = programs_[program].bands;
    return channel == kLeftChannel ? bands.left[band] : bands.right[band];
}

float ProgramBank::bandValue(int program, Channel channel, int band) const {
    const engine::BandValues& bands = programs_[program].bands;
    return (channel == kLeftChannel ? bands.left[band] : bands.right[band]).load(relaxed);
}

void ProgramBank::setBandValue(int program, Channel channel, int band, float value) {
    slot(program, channel, band).store(value, relaxed);
}

void ProgramBank::setLinkedBands(int program, int band, float value) {
    slot(program, kRightChannel, band).store(value, relaxed);
    slot(program, kLeftChannel, band).store(value, relaxed);
}

void ProgramBank::rename(int program, const char* name) {
    // The rest of the field is filled with NULs, so equal names are equal
    // bytes.
    char* target = programs_[program].name;
    const size_t length = strnlen(name, kProgramNameSize - 1);
    std::memcpy(target, name, length);
    std::memset(target + length, 0, kProgramNameSize - length);
}

ProgramSettings ProgramBank::settings(int program) const {
    ProgramSettings result;
    std::memcpy(result.name, programs_[program].name, kProgramNameSize);
    for (int channel : {kLeftChannel, kRightChannel})
        for (int band = 0; band < kBandCount; ++band)
            result.values[channel][band] = bandValue(program, Channel(channel), band);
    return result;
}

BankSettings ProgramBank::settings() const {
    BankSettings result;
    for (int program = 0; program < kSize; ++program) result.programs[program] = settings(program);
    result.current = currentNumber();
    return result;
}

void ProgramBank::replaceProgram(int program, const ProgramSettings& settings) {
    rename(program, settings.name);
    for (int channel : {kLeftChannel, kRightChannel})
        for (int band = 0; band < kBandCount; ++band)
            setBandValue(program, Channel(channel), band, settings.values[channel][band]);
}

void ProgramBank::replaceBank(const BankSettings& settings) {
    for (int program = 0; program < kSize; ++program)
        replaceProgram(program, settings.programs[program]);
    select(settings.current);
}

}  // namespace vorn
