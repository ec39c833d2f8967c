// The equalizer's answers about programs, parameters and names.

#include <cstring>

#include "host/equalizer_effect.h"

namespace vorn {
namespace {

bool writeText(char* target, const char* text) {
    if (!target) return false;
    std::strcpy(target, text);
    return true;
}

}  // namespace

int32_t EqualizerEffect::getProgram() { return bank.currentNumber(); }

void EqualizerEffect::setProgram(int32_t program) {
    bank.select(program);
}

void EqualizerEffect::setProgramName(char* name) {
    if (name) bank.rename(bank.currentNumber(), name);
}

void EqualizerEffect::getProgramName(char* name) { writeText(name, bank.current().name); }

bool EqualizerEffect::getProgramNameIndexed(int32_t, int32_t index, char* text) {
    if (index < 0 || index >= identity::kNumPrograms) return false;
    return writeText(text, bank[index].name);
}

bool EqualizerEffect::getEffectName(char* name) { return writeText(name, identity::kEffectName); }
bool EqualizerEffect::getVendorString(char* text) { return writeText(text, identity::kVendorString); }
bool EqualizerEffect::getProductString(char* text) {
    return writeText(text, identity::kProductString);
}

void EqualizerEffect::getParamName(int32_t, char* text) { writeText(text, identity::kParamName); }
void EqualizerEffect::getParamLabel(int32_t, char* text) { writeText(text, ""); }
void EqualizerEffect::getParamDisplay(int32_t, char* text) { writeText(text, ""); }

float EqualizerEffect::bandValue(Channel channel, int band) const {
    return bank.bandValue(bank.currentNumber(), channel, band);
}

void EqualizerEffect::setBandValue(Channel channel, int band, float value) {
    bank.setBandValue(bank.currentNumber(), channel, band, value);
}

void EqualizerEffect::setLinkedBands(int band, float value) {
    bank.setLinkedBands(bank.currentNumber(), band, value);
}

void EqualizerEffect::setBandValue(int32_t program, Channel channel, int band, float value) {
    bank.setBandValue(program, channel, band, value);
}

void EqualizerEffect::replaceProgram(int32_t program, const ProgramSettings& settings) {
    bank.replaceProgram(program, settings);
}

void EqualizerEffect::replaceBank(const BankSettings& settings) { bank.replaceBank(settings); }

// The announced parameters carry no settings.
void EqualizerEffect::setParameter(int32_t, float) {}
float EqualizerEffect::getParameter(int32_t) { return 0.0f; }

}  // namespace vorn
