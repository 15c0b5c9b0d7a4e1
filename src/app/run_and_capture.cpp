#include "app/run_and_capture.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "base/exceptions.h"
#include "base/file_descriptor.h"

extern char** environ;

namespace zenavo {

namespace {

std::vector<std::string> SplitAtBlanks(const std::string& commandLine) {
  std::vector<std::string> words;
  std::string word;
  for (char c : commandLine) {
    if (c == ' ' || c == '\t') {
      if (!word.empty()) words.push_back(std::move(word)), word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

// The program's path: as given when it names a folder, otherwise from `folder` first, then
// from the folders of PATH. Empty when there is none.
std::string ResolveProgram(const std::string& name, const std::string& folder) {
  if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : "";
  std::string inFolder = folder;
  if (!inFolder.empty() && inFolder.back() != '/') inFolder += '/';
  if (IsExecutableFile(inFolder + name)) return inFolder + name;
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= folders.size()) {
    std::size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::string candidate = folders.substr(start, end - start);
    candidate = (candidate.empty() ? "." : candidate) + "/" + name;
    if (IsExecutableFile(candidate)) return candidate;
    start = end + 1;
  }
  return "";
}

// Starts the child with its output and error on `output`. Returns its process id,
// or -1 when it could not be started.
pid_t StartChild(const std::vector<std::string>& words, const std::string& program,
                 const std::string& folder, int output) {
  std::vector<char*> argv;
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output, STDERR_FILENO);
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  pid_t child = -1;
  const int status =
      posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return status == 0 ? child : -1;
}

}  // namespace

CapturedRun RunAndCapture(const std::string& commandLine, const std::string& workingFolder,
                          const std::string& programFolder) {
  UniqueFd readEnd, writeEnd;
  // Close-on-exec: a child started meanwhile by another thread must not hold this pipe open.
  if (int ends[2]; ::pipe2(ends, O_CLOEXEC) == 0) readEnd.Reset(ends[0]), writeEnd.Reset(ends[1]);

  const std::vector<std::string> words = SplitAtBlanks(commandLine);
  std::string program =
      words.empty() ? "" : ResolveProgram(words[0], programFolder.empty() ? workingFolder : programFolder);
  // The child changes to its working folder before it starts the program: a relative path
  // found from ours must not be looked up again from there.
  if (!program.empty()) program = std::filesystem::absolute(program).string();
  const pid_t child = (program.empty() || !readEnd.Valid())
                          ? -1
                          : StartChild(words, program, workingFolder, writeEnd.Get());
  writeEnd.Reset();
  if (child < 0) throw Exception("Could not execute command line!");

  CapturedRun run;
  char buffer[256];
  for (;;) {
    const ssize_t count = ::read(readEnd.Get(), buffer, 255);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) break;
    buffer[count] = '\0';
    run.Output.append(buffer, std::strlen(buffer));  // a NUL from the child cuts the chunk
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  run.ExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

}  // namespace zenavo
