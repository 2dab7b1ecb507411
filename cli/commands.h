// The subcommands of kestrix-cli. Each takes the arguments after its name and
// returns the process exit code: 0 done, 1 an I/O error, 2 a usage error.
#pragma once

namespace kx::cli {

int runSearchCommand(int argc, char** argv);
int runPackCommand(int argc, char** argv);
int runDumpCommand(int argc, char** argv);
int runCountCommand(int argc, char** argv);

}  // namespace kx::cli
