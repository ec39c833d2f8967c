#pragma once
// A small window into an instance for the checks that drive a built library
// from outside, through its entry point: they set band values (in the product
// only the editor does), read the meters and a few settings. A check program
// is built apart from the library, so it must not depend on the effect's
// class layout: it finds this record through the pointer that follows the
// host's record (PublishedRecord::extension). The layout is plain data and
// function pointers, checked at compile time on every target.

#include <cstddef>
#include <cstdint>

#include "common/four_character_code.h"
#include "framework/effect_base.h"

namespace vorn {

struct InstanceHook {
    static constexpr uint32_t kMagic = fourCharacterCode("VHok");
    static constexpr int32_t kCurrentProgram = -1;
    enum Channel : int32_t { kLeft = 0, kRight = 1 };
    enum Meter : int32_t { kInput = 0, kOutput = 1 };

    uint32_t magic;
    uint32_t size;  // sizeof(InstanceHook) where the library was built
    void* instance;
    void (*setBandValue)(void* instance, int32_t program, int32_t channel, int32_t band,
                         float value);
    float (*bandValue)(void* instance, int32_t program, int32_t channel, int32_t band);
    float (*level)(void* instance, int32_t meter);
    float (*sampleRate)(void* instance);
    int32_t (*blockSize)(void* instance);
    void (*setIsSynth)(void* instance, int32_t state);
    const void* (*editor)(void* instance);
};

constexpr size_t kHookPointer = sizeof(void*);
static_assert(offsetof(InstanceHook, size) == 4, "hook layout");
static_assert(offsetof(InstanceHook, instance) == 8, "hook layout");
static_assert(offsetof(InstanceHook, setBandValue) == 8 + kHookPointer, "hook layout");
static_assert(offsetof(InstanceHook, bandValue) == 8 + 2 * kHookPointer, "hook layout");
static_assert(offsetof(InstanceHook, level) == 8 + 3 * kHookPointer, "hook layout");
static_assert(offsetof(InstanceHook, sampleRate) == 8 + 4 * kHookPointer, "hook layout");
static_assert(offsetof(InstanceHook, blockSize) == 8 + 5 * kHookPointer, "hook layout");
static_assert(offsetof(InstanceHook, setIsSynth) == 8 + 6 * kHookPointer, "hook layout");
static_assert(offsetof(InstanceHook, editor) == 8 + 7 * kHookPointer, "hook layout");
static_assert(sizeof(InstanceHook) == 8 + 8 * kHookPointer, "hook layout");

// The hook behind a record this library handed out, or null.
inline const InstanceHook* instanceHook(const vst::AEffect* record) {
    if (!record) return nullptr;
    const auto* published = reinterpret_cast<const PublishedRecord*>(record);
    const auto* hook = static_cast<const InstanceHook*>(published->extension);
    return hook && hook->magic == InstanceHook::kMagic && hook->size == sizeof(InstanceHook)
               ? hook
               : nullptr;
}

}  // namespace vorn
