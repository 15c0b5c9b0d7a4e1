// Runs a command line as a child process with its output captured through a pipe.
#pragma once

#include <string>

namespace zenavo {

// What a finished child left: everything it wrote to its standard output and error, and its
// exit status (128 + the signal number when a signal ended it).
struct CapturedRun {
  std::string Output;
  int ExitStatus = 0;
};

// Runs `commandLine` with `workingFolder` as the working folder and waits, without a time
// limit, for it to end. The words of the command line, split at blanks, are the program and its
// arguments; no shell is involved, so characters such as '>' reach the program unchanged. A
// program name without a '/' is looked for in `programFolder` first (the working folder when
// empty), then along PATH. Standard input is inherited; standard output and error go to a pipe
// that is drained before the wait, so a chatty child never blocks. The output is collected in
// chunks of at most 255 bytes, each cut at its first NUL byte. Raises Exception "Could not
// execute command line!" when the program cannot be started.
CapturedRun RunAndCapture(const std::string& commandLine, const std::string& workingFolder,
                          const std::string& programFolder = "");

}  // namespace zenavo
