// The requests the version-2 layer sends to its host: what goes out in each
// argument, how the reply is read, and what each answers with no host at all.

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/host/test_effects.h"

namespace vorn::test {
namespace {

struct HostCall {
    vst::AEffect* effect;
    int32_t opcode;
    int32_t index;
    intptr_t value;
    void* ptr;
    float opt;
};

// A host callback that records every call and replies with a set value.
// Callbacks are plain function pointers, so the one live recorder is static.
class RecordingHost {
public:
    RecordingHost() { active = this; }
    ~RecordingHost() { active = nullptr; }

    static intptr_t VORN_CDECL callback(vst::AEffect* effect, int32_t opcode, int32_t index,
                                        intptr_t value, void* ptr, float opt) {
        RecordingHost& host = *active;
        host.calls.push_back({effect, opcode, index, value, ptr, opt});
        if (host.duringCall) host.duringCall(effect);
        return host.reply;
    }

    std::vector<HostCall> calls;
    intptr_t reply = 0;
    std::function<void(vst::AEffect*)> duringCall;
    static inline RecordingHost* active = nullptr;
};

// Stand-ins for the records that only pass through as addresses.
alignas(16) char firstRecord[16];
alignas(16) char secondRecord[16];
char hostText[64];
template <typename T> T* first() { return reinterpret_cast<T*>(firstRecord); }
template <typename T> T* second() { return reinterpret_cast<T*>(secondRecord); }

// How a request reads the host's reply.
enum class Reading { asIs, nonzero, nothing, storedField };

struct Request {
    std::string name;
    std::function<intptr_t(EffectExtended&)> send;
    int32_t opcode;
    int32_t index;
    intptr_t value;
    void* ptr;
    float opt;
    Reading reading;
    intptr_t noHostAnswer;
};

// Failure messages name the request rather than dump its bytes.
void PrintTo(const Request& request, std::ostream* out) { *out << request.name; }

intptr_t address(const void* p) { return reinterpret_cast<intptr_t>(p); }

std::vector<Request> allRequests() {
    using E = EffectExtended;
    using R = Reading;
    return {
        {"WantMidi", [](E& e) { e.hostWantMidi(5); return 0; }, 6, 0, 5, nullptr, 0, R::nothing, 0},
        {"Time", [](E& e) { return address(e.hostTime(9)); }, 7, 0, 9, nullptr, 0, R::asIs, 0},
        {"TempoAt", [](E& e) { return intptr_t{e.hostTempoAt(480)}; }, 10, 0, 480, nullptr, 0, R::asIs, 0},
        {"NumAutomatable", [](E& e) { return intptr_t{e.hostNumAutomatableParameters()}; }, 11, 0, 0, nullptr, 0, R::asIs, 0},
        {"Quantization", [](E& e) { return intptr_t{e.hostParameterQuantization()}; }, 12, 0, 0, nullptr, 0, R::asIs, 0},
        {"IoChanged", [](E& e) { return intptr_t{e.hostIoChanged()}; }, 13, 0, 0, nullptr, 0, R::nonzero, 0},
        {"NeedIdle", [](E& e) { return intptr_t{e.hostNeedIdle()}; }, 14, 0, 0, nullptr, 0, R::nonzero, 0},
        {"SizeWindow", [](E& e) { return intptr_t{e.hostSizeWindow(700, 180)}; }, 15, 700, 180, nullptr, 0, R::nonzero, 0},
        {"SampleRate", [](E& e) { return static_cast<intptr_t>(e.hostSampleRate()); }, 16, 0, 0, nullptr, 0, R::storedField, 44100},
        {"BlockSize", [](E& e) { return intptr_t{e.hostBlockSize()}; }, 17, 0, 0, nullptr, 0, R::storedField, 1024},
        {"InputLatency", [](E& e) { return intptr_t{e.hostInputLatency()}; }, 18, 0, 0, nullptr, 0, R::asIs, 0},
        {"OutputLatency", [](E& e) { return intptr_t{e.hostOutputLatency()}; }, 19, 0, 0, nullptr, 0, R::asIs, 0},
        {"PreviousPlug", [](E& e) { return address(e.hostPreviousPlug(1)); }, 20, 1, 0, nullptr, 0, R::asIs, 0},
        {"NextPlug", [](E& e) { return address(e.hostNextPlug(3)); }, 21, 3, 0, nullptr, 0, R::asIs, 0},
        {"ReplaceOrAccumulate", [](E& e) { return intptr_t{e.hostWillReplaceOrAccumulate()}; }, 22, 0, 0, nullptr, 0, R::asIs, 0},
        {"ProcessLevel", [](E& e) { return intptr_t{e.hostCurrentProcessLevel()}; }, 23, 0, 0, nullptr, 0, R::asIs, 0},
        {"AutomationState", [](E& e) { return intptr_t{e.hostAutomationState()}; }, 24, 0, 0, nullptr, 0, R::asIs, 0},
        {"OfflineRead", [](E& e) { return intptr_t{e.hostOfflineRead(first<vst::VstOfflineTask>(), 6, true)}; }, 26, 1, 6, firstRecord, 0, R::nonzero, 0},
        {"OfflineWrite", [](E& e) { return intptr_t{e.hostOfflineWrite(first<vst::VstOfflineTask>(), 2)}; }, 27, 0, 2, firstRecord, 0, R::nonzero, 0},
        {"OfflineStart", [](E& e) { return intptr_t{e.hostOfflineStart(first<vst::VstAudioFile>(), 4, 2)}; }, 25, 2, 4, firstRecord, 0, R::nonzero, 0},
        {"OfflinePass", [](E& e) { return intptr_t{e.hostOfflineCurrentPass()}; }, 28, 0, 0, nullptr, 0, R::nonzero, 0},
        {"OfflineMetaPass", [](E& e) { return intptr_t{e.hostOfflineCurrentMetaPass()}; }, 29, 0, 0, nullptr, 0, R::nonzero, 0},
        {"SetOutputRate", [](E& e) { e.hostSetOutputSampleRate(96000.0f); return 0; }, 30, 0, 0, nullptr, 96000.0f, R::nothing, 0},
        {"SpeakerArrangement", [](E& e) { return intptr_t{e.hostSpeakerArrangement(first<vst::VstSpeakerArrangement>(), second<vst::VstSpeakerArrangement>())}; }, 31, 0, address(firstRecord), secondRecord, 0, R::nonzero, 0},
        {"VendorString", [](E& e) { return intptr_t{e.hostVendorString(hostText)}; }, 32, 0, 0, hostText, 0, R::nonzero, 0},
        {"ProductString", [](E& e) { return intptr_t{e.hostProductString(hostText)}; }, 33, 0, 0, hostText, 0, R::nonzero, 0},
        {"VendorVersion", [](E& e) { return intptr_t{e.hostVendorVersion()}; }, 34, 0, 0, nullptr, 0, R::asIs, 0},
        {"VendorSpecific", [](E& e) { return e.hostVendorSpecific(3, 4, secondRecord, 2.5f); }, 35, 3, 4, secondRecord, 2.5f, R::asIs, 0},
        {"CanDo", [](E& e) { return intptr_t{e.hostCanDo(hostText)}; }, 37, 0, 0, hostText, 0, R::nonzero, 0},
        {"Language", [](E& e) { return intptr_t{e.hostLanguage()}; }, 38, 0, 0, nullptr, 0, R::asIs, 0},
        {"OpenWindow", [](E& e) { return address(e.hostOpenWindow(first<vst::VstWindow>())); }, 39, 0, 0, firstRecord, 0, R::asIs, 0},
        {"CloseWindow", [](E& e) { return intptr_t{e.hostCloseWindow(first<vst::VstWindow>())}; }, 40, 0, 0, firstRecord, 0, R::nonzero, 0},
        {"Directory", [](E& e) { return address(e.hostDirectory()); }, 41, 0, 0, nullptr, 0, R::asIs, 0},
        {"UpdateDisplay", [](E& e) { return intptr_t{e.hostUpdateDisplay()}; }, 42, 0, 0, nullptr, 0, R::nonzero, 0},
        {"BeginEdit", [](E& e) { return intptr_t{e.hostBeginEdit(17)}; }, 43, 17, 0, nullptr, 0, R::nonzero, 0},
        {"EndEdit", [](E& e) { return intptr_t{e.hostEndEdit(17)}; }, 44, 17, 0, nullptr, 0, R::nonzero, 0},
        {"OpenFileSelector", [](E& e) { return intptr_t{e.hostOpenFileSelector(first<vst::VstFileSelect>())}; }, 45, 0, 0, firstRecord, 0, R::nonzero, 0},
    };
}

class HostRequest : public ::testing::TestWithParam<Request> {};

TEST_P(HostRequest, SendsItsArgumentsAndReadsTheReply) {
    const Request& request = GetParam();
    for (intptr_t reply : {intptr_t{0}, intptr_t{1}, intptr_t{-1}, intptr_t{0x5A5A}}) {
        RecordingHost host;
        host.reply = reply;
        BareEffect effect(&RecordingHost::callback);
        const intptr_t answer = request.send(effect);

        ASSERT_EQ(host.calls.size(), 1u) << "reply " << reply;
        const HostCall& call = host.calls[0];
        EXPECT_EQ(call.effect, effect.record());
        EXPECT_EQ(call.opcode, request.opcode);
        EXPECT_EQ(call.index, request.index);
        EXPECT_EQ(call.value, request.value);
        EXPECT_EQ(call.ptr, request.ptr);
        EXPECT_EQ(call.opt, request.opt);

        switch (request.reading) {
        case Reading::asIs: EXPECT_EQ(answer, reply); break;
        case Reading::nonzero: EXPECT_EQ(answer, reply != 0 ? 1 : 0) << "reply " << reply; break;
        case Reading::storedField: EXPECT_EQ(answer, request.noHostAnswer); break;
        case Reading::nothing: break;
        }
    }
}

TEST_P(HostRequest, WithoutAHostCallsNothingAndGivesItsFixedAnswer) {
    const Request& request = GetParam();
    RecordingHost bystander;
    BareEffect effect(nullptr);
    EXPECT_EQ(request.send(effect), request.noHostAnswer);
    EXPECT_TRUE(bystander.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(AllRequests, HostRequest, ::testing::ValuesIn(allRequests()),
                         [](const auto& info) { return info.param.name; });

TEST(HostRequests, ThereAreThirtySevenWithDistinctOpcodes) {
    std::vector<int32_t> opcodes;
    for (const Request& request : allRequests()) opcodes.push_back(request.opcode);
    std::sort(opcodes.begin(), opcodes.end());
    EXPECT_EQ(opcodes.size(), 37u);
    EXPECT_EQ(std::adjacent_find(opcodes.begin(), opcodes.end()), opcodes.end());
}

// The host answers these two by storing through the dispatcher during the
// call; its return value is not what counts.
TEST(HostRequests, SampleRateAndBlockSizeAreWhatTheHostStoresDuringTheCall) {
    RecordingHost host;
    host.reply = 96000;
    host.duringCall = [](vst::AEffect* effect) {
        effect->dispatcher(effect, vst::effSetSampleRate, 0, 0, nullptr, 48000.0f);
        effect->dispatcher(effect, vst::effSetBlockSize, 0, 256, nullptr, 0.0f);
    };
    BareEffect effect(&RecordingHost::callback);
    EXPECT_EQ(effect.hostSampleRate(), 48000.0f);
    EXPECT_EQ(effect.hostBlockSize(), 256);
}

// A host fills or compares the text or record it is handed; a missing one is
// never passed on.
TEST(HostRequests, MissingTextOrSelectorIsNotSent) {
    RecordingHost host;
    host.reply = 1;
    BareEffect effect(&RecordingHost::callback);
    EXPECT_FALSE(effect.hostOpenFileSelector(nullptr));
    EXPECT_FALSE(effect.hostVendorString(nullptr));
    EXPECT_FALSE(effect.hostProductString(nullptr));
    EXPECT_EQ(effect.hostCanDo(nullptr), 0);
    EXPECT_TRUE(host.calls.empty());
}

}  // namespace
}  // namespace vorn::test
