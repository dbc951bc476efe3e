// Runs tolvex-cli in-process for the tests: its exit status and what it wrote to stdout and stderr.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"

namespace tolvex::test {

struct CliRun {
    int status = 0;
    std::string out, err;
};

// `args` without the program name.
inline CliRun run(std::vector<std::string> args) {
    args.insert(args.begin(), "tolvex-cli");
    std::ostringstream out, err;
    const int status = cli::runCli(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace tolvex::test
