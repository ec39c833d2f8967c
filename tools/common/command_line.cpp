#include "tools/common/command_line.h"

#include <cstdio>

namespace vorn::tools {

std::optional<cxxopts::ParseResult> parseCommandLine(cxxopts::Options& options, int argc,
                                                     const char* const* argv, int& exitCode) {
    options.add_options()("h,help", "print this help");
    try {
        cxxopts::ParseResult result = options.parse(argc, argv);
        if (result.count("help")) {
            std::fputs(options.help().c_str(), stdout);
            exitCode = 0;
            return std::nullopt;
        }
        if (!result.unmatched().empty()) {
            const std::string& stray = result.unmatched().front();
            exitCode = usageError(options, "unexpected argument '" + stray + "'");
            return std::nullopt;
        }
        return result;
    } catch (const cxxopts::exceptions::exception& error) {
        exitCode = usageError(options, error.what());
        return std::nullopt;
    }
}

int usageError(const cxxopts::Options& options, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n%s", options.program().c_str(), message.c_str(),
                 options.help().c_str());
    return kExitUsage;
}

}  // namespace vorn::tools
