// Runs a command line as a child process with its output captured through a pipe.
#pragma once

#include <chrono>
#include <string>

namespace zenavo {

// What a finished child left: everything it wrote to its standard output and error, and its
// exit status (128 + the signal number when a signal ended it).
struct CapturedRun {
  std::string Output;
  int ExitStatus = 0;
};

// How long a run may take before it is stopped.
inline constexpr std::chrono::milliseconds kRunTimeLimit = std::chrono::seconds(10);

// Runs `commandLine` with `workingFolder` as the working folder and waits for it to end, at
// most `timeLimit`. The words of the command line, split at blanks, are the program and its
// arguments; no shell is involved, so characters such as '>' reach the program unchanged. A
// program name without a '/' is looked for in `programFolder` first (the working folder when
// empty), then along PATH. Standard input is inherited; standard output and error go to a pipe
// that is drained while the child runs, so a chatty child never blocks. The output is collected
// in chunks of at most 255 bytes, each cut at its first NUL byte; reading stops when the child
// has ended, even while a process it left behind holds the pipe open. The child runs in a
// process group of its own, which is killed when the run ends: nothing it started outlives it.
// Raises Exception "Could not execute command line!" when the program cannot be started, and
// Exception "<program> did not finish within <limit> s and was stopped." when it ran too long.
CapturedRun RunAndCapture(const std::string& commandLine, const std::string& workingFolder,
                          const std::string& programFolder = "",
                          std::chrono::milliseconds timeLimit = kRunTimeLimit);

}  // namespace zenavo
