// Runs a command line as a child process with its output captured through a pipe.
#pragma once

#include <string>

namespace zenavo {

// Runs `commandLine` with `folder` as the working folder and waits, without a time limit, for
// it to end. The words of the command line, split at blanks, are the program and its
// arguments; no shell is involved, so characters such as '>' reach the program unchanged.
// The program is looked for in `folder` first, then along PATH. Standard input is inherited;
// standard output and error go to a pipe that is drained before the wait, so a chatty child
// never blocks. `output` receives what the child wrote, each chunk of at most 255 bytes cut at
// its first NUL byte, also when the run fails. Raises Exception "Could not execute command
// line!" when the program cannot be started. `exitStatus`, when given, receives the child's
// exit status (128 + signal number when a signal ended it).
void RunAndCapture(const std::string& commandLine, const std::string& folder,
                   std::string& output, int* exitStatus = nullptr);

}  // namespace zenavo
