#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/StandardOutput.h"
#include "core/persist/FileReplace.h"

int main(int argc, char** argv) {
    tolvex::ignoreFileSizeLimitSignal();
    tolvex::cli::DescriptorOutputBuffer standardOutput(STDOUT_FILENO);
    std::ostream out(&standardOutput);
    const std::vector<std::string> args(argv, argv + argc);
    return tolvex::cli::runCli(args, out, std::cerr);
}
