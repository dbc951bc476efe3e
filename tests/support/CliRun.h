// Runs tolvex-cli in-process for the tests: its exit status and what it wrote to stdout and stderr.
#pragma once

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
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

// `tolvex-cli plot` with `words` after it.
inline CliRun runPlot(std::vector<std::string> words) {
    words.insert(words.begin(), "plot");
    return run(std::move(words));
}

// The bytes of a file, empty when it cannot be read.
inline std::string fileContents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace tolvex::test
