#pragma once
// A small check runner for programs that must also build where no test
// framework is installed (the cross-compiled Windows host).

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace vorn::checks {

struct Group {
    const char* name;
    std::function<void()> run;
};

std::vector<Group>& groups();
void report(bool passed, const std::string& what, const char* file, int line);

struct Registration {
    Registration(const char* name, std::function<void()> run) {
        groups().push_back({name, std::move(run)});
    }
};

// Runs every group (or those whose name contains the filter) and prints one
// line per failure and the closing tally. Answers the process exit code.
int runAll(const char* filter);

}  // namespace vorn::checks

#define VORN_CHECK_CONCAT2(a, b) a##b
#define VORN_CHECK_CONCAT(a, b) VORN_CHECK_CONCAT2(a, b)
#define CHECK_GROUP(name)                                                            \
    static void VORN_CHECK_CONCAT(checkGroup_, __LINE__)();                          \
    static vorn::checks::Registration VORN_CHECK_CONCAT(checkRegistration_, __LINE__)( \
        name, &VORN_CHECK_CONCAT(checkGroup_, __LINE__));                            \
    static void VORN_CHECK_CONCAT(checkGroup_, __LINE__)()

#define CHECK(condition) vorn::checks::report(static_cast<bool>(condition), #condition, __FILE__, __LINE__)
#define CHECK_EQ(actual, expected)                                                              \
    do {                                                                                        \
        auto vornActual = (actual);                                                             \
        auto vornExpected = (expected);                                                         \
        vorn::checks::report(vornActual == vornExpected,                                        \
                             std::string(#actual " == " #expected " (got ") +                   \
                                 std::to_string(vornActual) + ")",                              \
                             __FILE__, __LINE__);                                               \
    } while (0)
#define CHECK_TEXT(actual, expected)                                                            \
    do {                                                                                        \
        std::string vornActual = (actual);                                                      \
        vorn::checks::report(vornActual == (expected),                                          \
                             std::string(#actual " == \"") + (expected) + "\" (got \"" +        \
                                 vornActual + "\")",                                            \
                             __FILE__, __LINE__);                                               \
    } while (0)
#define CHECK_NEAR(actual, expected, tolerance)                                                 \
    do {                                                                                        \
        double vornActual = (actual);                                                           \
        vorn::checks::report(std::fabs(vornActual - (expected)) <= (tolerance),                 \
                             std::string(#actual " within " #tolerance " of " #expected         \
                                         " (got ") + std::to_string(vornActual) + ")",          \
                             __FILE__, __LINE__);                                               \
    } while (0)
