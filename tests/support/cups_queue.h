// CUPS for the tests, never the machine's own: the test runner points every CUPS client of the
// process at a scheduler that cannot exist, so no test sees the machine's printers or default
// printer; a test that prints starts a scheduler of its own (`cupsd -f` on a private
// configuration, spool and domain socket) whose queues write each job's document to a file.
#pragma once

#include <cups/cups.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/run_and_capture.h"
#include "base/exceptions.h"
#include "support/temp_folder.h"

extern char** environ;

namespace zenavo::testing {

// A scheduler address that can never answer: a socket below /dev/null, which is not a folder.
inline constexpr const char* kNoCupsScheduler = "/dev/null/no-cups-scheduler";

// Sets (or, with no value, removes) an environment variable until the end of the scope.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old;
    Set(value);
  }
  ~ScopedEnvironment() { Set(previous_); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  void Set(const std::optional<std::string>& value) {
    if (value)
      ::setenv(name_.c_str(), value->c_str(), 1);
    else
      ::unsetenv(name_.c_str());
  }
  std::string name_;
  std::optional<std::string> previous_;
};

// Points this process's CUPS clients (libcups, Qt's print support, and the CUPS commands it
// runs) at `server` until the end of the scope.
class ScopedCupsServer {
 public:
  explicit ScopedCupsServer(const std::string& server)
      : environment_("CUPS_SERVER", server), previous_(cupsServer()) {
    cupsSetServer(server.c_str());
  }
  ~ScopedCupsServer() { cupsSetServer(previous_.c_str()); }
  ScopedCupsServer(const ScopedCupsServer&) = delete;
  ScopedCupsServer& operator=(const ScopedCupsServer&) = delete;

 private:
  ScopedEnvironment environment_;
  std::string previous_;
};

// For the whole test process: no scheduler, no default destination from the environment, no
// client configuration or lpoptions file of the machine's.
inline void IsolateFromTheMachinesCups() {
  ::setenv("CUPS_SERVER", kNoCupsScheduler, 1);
  ::setenv("CUPS_SERVERROOT", kNoCupsScheduler, 1);
  ::unsetenv("PRINTER");
  ::unsetenv("LPDEST");
  cupsSetServer(kNoCupsScheduler);
}

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

// A `cupsd` of one test, as root, with queues that write their jobs' PDF documents to files in
// its folder. While it lives, the process's CUPS clients talk to it and to nothing else.
class PrivateCupsScheduler {
 public:
  PrivateCupsScheduler() : server_(folder_.Path() + "cups.sock") {}
  ~PrivateCupsScheduler() { Stop(); }
  PrivateCupsScheduler(const PrivateCupsScheduler&) = delete;
  PrivateCupsScheduler& operator=(const PrivateCupsScheduler&) = delete;

  // Starts the scheduler: "" once it answers, otherwise why it does not.
  std::string Start() {
    if (!std::filesystem::exists("/usr/sbin/cupsd")) return "CUPS (cupsd) is not installed";
    if (::geteuid() != 0) return "starting a private cupsd needs root";
    // The filters run as CUPS's own user and must reach the spool below this folder.
    std::filesystem::permissions(folder_.Path(), std::filesystem::perms(0755));
    const std::string root = folder_.Path();
    folder_.Write("cupsd.conf", "Listen " + server_ +
                                    "\nBrowsing No\nWebInterface No\nLogLevel info\n"
                                    "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                    "<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                                    "  </Limit>\n</Policy>\n");
    folder_.Write("cups-files.conf", "ServerRoot " + root + "\nRequestRoot " + root + "spool\n" +
                                         "CacheDir " + root + "cache\nStateDir " + root + "state\n" +
                                         "ErrorLog " + root + "error_log\nAccessLog " + root +
                                         "access_log\nPageLog " + root + "page_log\n" +
                                         "SystemGroup root\nFileDevice Yes\n");
    folder_.Write("zenavo-test.ppd", kPpd);
    const std::string cupsd = root + "cupsd.conf", files = root + "cups-files.conf";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    const char* argv[] = {"cupsd", "-f", "-c", cupsd.c_str(), "-s", files.c_str(), nullptr};
    const int failed = posix_spawn(&pid_, "/usr/sbin/cupsd", &actions, nullptr,
                                   const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) {
      pid_ = 0;
      return "cupsd could not be started";
    }
    client_.emplace(server_);
    for (int tries = 0; tries < 200; ++tries) {
      if (Answers()) return "";
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = 0;
        return "cupsd ended at once (exit status " + std::to_string(WEXITSTATUS(status)) +
               "): " + folder_.Read("error_log");
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return "cupsd did not answer within 10 seconds";
  }

  // Stops the scheduler (the clients keep pointing at its socket until it is destroyed).
  void Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    for (int tries = 0; tries < 100; ++tries) {
      if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
        pid_ = 0;
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }

  // Adds an accepting, started queue `name` that writes each job to OutputFile(name); the
  // output of lpadmin when that fails, else "".
  std::string AddQueue(const std::string& name) {
    std::string output;
    const int status = RunCommand("/usr/sbin/lpadmin -p " + name + " -E -v file://" +
                                      OutputFile(name) + " -P " + folder_.Path() +
                                      "zenavo-test.ppd",
                                  &output);
    return status == 0 ? "" : "lpadmin failed: " + output;
  }

  // Runs a CUPS command (cupsreject, cupsdisable, lpadmin ...) on this scheduler.
  int Command(const std::string& commandLine) { return RunCommand(commandLine); }

  const std::string& Server() const { return server_; }
  std::string OutputFile(const std::string& queue) const { return folder_.Path() + queue + ".pdf"; }

  // The ids of every job the scheduler has had on `queue`.
  static std::vector<int> Jobs(const std::string& queue) {
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.c_str(), 0, CUPS_WHICHJOBS_ALL);
    std::vector<int> ids;
    for (int i = 0; i < count; ++i) ids.push_back(jobs[i].id);
    cupsFreeJobs(count, jobs);
    return ids;
  }

  // A job attribute as CUPS writes it ("2", "two-sided-long-edge"), "" when the job has none.
  static std::string JobAttribute(int job, const char* name) {
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const std::string uri = "ipp://localhost/jobs/" + std::to_string(job);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    const std::unique_ptr<ipp_t, decltype(&ippDelete)> response(
        cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"), &ippDelete);
    ipp_attribute_t* attribute = response ? ippFindAttribute(response.get(), name, IPP_TAG_ZERO)
                                          : nullptr;
    if (!attribute) return "";
    char text[1024];
    ippAttributeString(attribute, text, sizeof text);
    return text;
  }

  // Waits up to `seconds` for `job` to end; its last state ("completed", "pending" ...).
  static std::string WaitForJobEnd(int job, int seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    std::string state;
    while (std::chrono::steady_clock::now() < deadline) {
      state = JobAttribute(job, "job-state");
      if (state == "completed" || state == "canceled" || state == "aborted") break;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return state;
  }

 private:
  static bool Answers() {
    std::string output;
    return RunCommand("/usr/bin/lpstat -r", &output) == 0 &&
           output.find("scheduler is running") != std::string::npos;
  }

  // A PDF printer with a choice of paper and two-sided printing: CUPS's pdftopdf applies the
  // job's options (copies made here, page ranges, pages per sheet), the file gets the PDF.
  static constexpr const char* kPpd = R"PPD(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "ZENAVOT.PPD"
*Manufacturer: "Zenavo"
*Product: "(Zenavo test file)"
*ModelName: "Zenavo test PDF file"
*NickName: "Zenavo test PDF file"
*PSVersion: "(3010.000) 0"
*cupsManualCopies: True
*cupsFilter2: "application/vnd.cups-pdf application/pdf 0 -"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*PageSize Letter/US Letter: "<</PageSize[612 792]>>setpagedevice"
*CloseUI: *PageSize
*DefaultImageableArea: A4
*ImageableArea A4/A4: "18 18 577 824"
*ImageableArea Letter/US Letter: "18 18 594 774"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
*PaperDimension Letter/US Letter: "612 792"
*OpenUI *Duplex/2-Sided Printing: PickOne
*OrderDependency: 10 AnySetup *Duplex
*DefaultDuplex: None
*Duplex None/Off: "<</Duplex false>>setpagedevice"
*Duplex DuplexNoTumble/Long Edge: "<</Duplex true/Tumble false>>setpagedevice"
*Duplex DuplexTumble/Short Edge: "<</Duplex true/Tumble true>>setpagedevice"
*CloseUI: *Duplex
)PPD";

  TempFolder folder_;
  std::string server_;
  pid_t pid_ = 0;
  std::optional<ScopedCupsServer> client_;
};

}  // namespace zenavo::testing
