#include "app/run_and_capture.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
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

// Starts the child, in a process group of its own, with its output and error on `output`.
// Returns its process id, or -1 when it could not be started.
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
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);  // the group is named by the child's own id
  pid_t child = -1;
  const int status =
      posix_spawn(&child, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return status == 0 ? child : -1;
}

// Whether the child has ended. It is not reaped: until then its id still names its group.
bool HasEnded(pid_t child) {
  siginfo_t info{};
  return ::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid == child;
}

// Kills what is left of the child's process group, then reaps the child. Returns its exit
// status (128 + the signal number when a signal ended it).
int StopAndReap(pid_t child) {
  ::kill(-child, SIGKILL);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Reads one chunk of at most 255 bytes from the pipe and appends it, cut at its first NUL
// byte. False at the end of the output (or when nothing is there to read without waiting).
bool ReadChunk(int pipe, std::string& output) {
  char buffer[256];
  for (;;) {
    const ssize_t count = ::read(pipe, buffer, 255);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    buffer[count] = '\0';
    output.append(buffer, std::strlen(buffer));  // a NUL from the child cuts the chunk
    return true;
  }
}

// "10", "0.3": a time limit in seconds.
std::string SecondsText(std::chrono::milliseconds limit) {
  char text[32];
  const double seconds = static_cast<double>(limit.count()) / 1000;
  return std::string(text, std::to_chars(text, text + sizeof text, seconds).ptr);
}

}  // namespace

CapturedRun RunAndCapture(const std::string& commandLine, const std::string& workingFolder,
                          const std::string& programFolder, std::chrono::milliseconds timeLimit) {
  UniqueFd readEnd, writeEnd;
  // Close-on-exec: a child started meanwhile by another thread must not hold this pipe open.
  if (int ends[2]; ::pipe2(ends, O_CLOEXEC) == 0) readEnd.Reset(ends[0]), writeEnd.Reset(ends[1]);

  const std::vector<std::string> words = SplitAtBlanks(commandLine);
  std::string program =
      words.empty() ? "" : ResolveProgram(words[0], programFolder.empty() ? workingFolder : programFolder);
  // The child changes to its working folder before it starts the program: a relative path
  // found from ours must not be looked up again from there.
  if (!program.empty()) program = std::filesystem::absolute(program).string();
  const auto deadline = std::chrono::steady_clock::now() + timeLimit;
  const pid_t child = (program.empty() || !readEnd.Valid())
                          ? -1
                          : StartChild(words, program, workingFolder, writeEnd.Get());
  writeEnd.Reset();
  if (child < 0) throw Exception("Could not execute command line!");

  // Read while the child runs, waking for its output or its end (readable once it has ended;
  // without that descriptor, every few milliseconds to look).
  const UniqueFd childEnd(static_cast<int>(::syscall(SYS_pidfd_open, child, 0)));
  constexpr std::chrono::milliseconds kLookAgain{5};
  pollfd watched[] = {{readEnd.Get(), POLLIN, 0}, {childEnd.Get(), POLLIN, 0}};
  CapturedRun run;
  while (!HasEnded(child)) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      StopAndReap(child);
      throw Exception("%1 did not finish within %2 s and was stopped.",
                      {words[0], SecondsText(timeLimit)});
    }
    const auto wait = childEnd.Valid() ? left : std::min(left, kLookAgain);
    if (::poll(watched, 2, static_cast<int>(wait.count())) <= 0) continue;
    if (watched[0].revents != 0 && !ReadChunk(readEnd.Get(), run.Output))
      watched[0].fd = -1;  // the end of the output: only the child's end is awaited now
  }
  // The child has ended: what it wrote is read, but nothing a process left behind writes later.
  run.ExitStatus = StopAndReap(child);
  ::fcntl(readEnd.Get(), F_SETFL, O_NONBLOCK);
  while (watched[0].fd >= 0 && ReadChunk(readEnd.Get(), run.Output)) {
  }
  return run;
}

}  // namespace zenavo
