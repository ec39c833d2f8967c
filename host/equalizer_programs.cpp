// The equalizer's answers about programs, parameters and names.

#include <cstring>

#include "host/equalizer_effect.h"

namespace vorn {
namespace {

// A name that would not fit keeps its first 31 characters.
void copyName(char* target, const char* source) {
    std::strncpy(target, source, kProgramNameSize - 1);
    target[kProgramNameSize - 1] = '\0';
}

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
    if (name) copyName(bank.current().name, name);
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

// The announced parameters carry no settings.
void EqualizerEffect::setParameter(int32_t, float) {}
float EqualizerEffect::getParameter(int32_t) { return 0.0f; }

}  // namespace vorn
