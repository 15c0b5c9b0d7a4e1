// A real CUPS print queue for one test, as an installer's desktop has one: the CUPS scheduler
// (the one already running, or a `cupsd -f` started here as root and stopped again by its
// process id) and a cups-pdf queue that writes every job as a PDF file.
#pragma once

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "app/run_and_capture.h"
#include "base/exceptions.h"

extern char** environ;

namespace zenavo::testing {

// Runs a command line; its exit status (-1 when it cannot be started) and output.
inline int RunCommand(const std::string& commandLine, std::string* output = nullptr) {
  try {
    const CapturedRun run = RunAndCapture(commandLine, "/");
    if (output) *output = run.Output;
    return run.ExitStatus;
  } catch (const Exception&) {
    return -1;
  }
}

class CupsScheduler {
 public:
  CupsScheduler() = default;
  CupsScheduler(const CupsScheduler&) = delete;
  CupsScheduler& operator=(const CupsScheduler&) = delete;
  ~CupsScheduler() { Stop(); }

  static bool Answers() {
    std::string output;
    return RunCommand("/usr/bin/lpstat -r", &output) == 0 &&
           output.find("scheduler is running") != std::string::npos;
  }

  // Makes sure a scheduler answers: "" when one does, otherwise why none does.
  std::string Start() {
    if (Answers()) return "";
    if (!std::filesystem::exists("/usr/sbin/cupsd")) return "CUPS (cupsd) is not installed";
    if (::geteuid() != 0) return "no CUPS scheduler is running, and starting cupsd needs root";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    char* argv[] = {const_cast<char*>("cupsd"), const_cast<char*>("-f"), nullptr};
    const int failed = posix_spawn(&pid_, "/usr/sbin/cupsd", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) {
      pid_ = 0;
      return "cupsd could not be started";
    }
    for (int tries = 0; tries < 200; ++tries) {
      if (Answers()) return "";
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = 0;
        return "cupsd ended at once (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return "cupsd did not answer within 10 seconds";
  }

  bool StartedHere() const { return pid_ > 0; }

 private:
  void Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    for (int tries = 0; tries < 100; ++tries) {
      if (::waitpid(pid_, nullptr, WNOHANG) == pid_) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }

  pid_t pid_ = 0;
};

// A cups-pdf queue, removed again at the end.
class CupsPdfQueue {
 public:
  // `options`: further lpadmin options ("-o name=value").
  CupsPdfQueue(std::string name, const std::string& options) : name_(std::move(name)) {
    status_ = RunCommand("/usr/sbin/lpadmin -p " + name_ +
                             " -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_noopt.ppd -E " + options,
                         &output_);
  }
  ~CupsPdfQueue() {
    if (status_ == 0) RunCommand("/usr/sbin/lpadmin -x " + name_);
  }
  CupsPdfQueue(const CupsPdfQueue&) = delete;
  CupsPdfQueue& operator=(const CupsPdfQueue&) = delete;

  bool Created() const { return status_ == 0; }
  const std::string& Output() const { return output_; }
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
  std::string output_;
  int status_ = -1;
};

// The folder cups-pdf writes this user's jobs to: the Out setting of /etc/cups/cups-pdf.conf
// (${HOME}/PDF when it has none), ${HOME} and ${USER} being the submitting user's.
inline std::string CupsPdfOutputFolder() {
  const passwd* user = ::getpwuid(::geteuid());
  const std::string home = user ? user->pw_dir : "/root";
  const std::string name = user ? user->pw_name : "root";
  std::string folder = "${HOME}/PDF";
  std::ifstream conf("/etc/cups/cups-pdf.conf");
  for (std::string line; std::getline(conf, line);) {
    if (line.rfind("Out", 0) == 0 && line.size() > 3 && (line[3] == ' ' || line[3] == '\t')) {
      folder = line.substr(line.find_first_not_of(" \t", 3));
      while (!folder.empty() && (folder.back() == ' ' || folder.back() == '\r')) folder.pop_back();
    }
  }
  for (const auto& [variable, value] : {std::pair<std::string, std::string>{"${HOME}", home},
                                        {"${USER}", name}}) {
    for (std::size_t at; (at = folder.find(variable)) != std::string::npos;)
      folder.replace(at, variable.size(), value);
  }
  return folder;
}

// The PDF file of the job titled `title` in `folder` once it is complete (pdfinfo reads it),
// or "" after `seconds`.
inline std::string WaitForCupsPdf(const std::string& folder, const std::string& title,
                                  int seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind(title, 0) == 0 && entry.path().extension() == ".pdf" &&
          RunCommand("/usr/bin/pdfinfo " + entry.path().string()) == 0)
        return entry.path().string();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return "";
}

}  // namespace zenavo::testing
