// Running part of a test in a child process: as an unprivileged user, or on a full disk.
// The child reports back the text its body returns: empty when all went as expected, else what
// went wrong, which the parent turns into a test failure.
#pragma once

#include <grp.h>
#include <signal.h>
#include <sched.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <exception>
#include <functional>
#include <string>

namespace zenavo::testing {

inline constexpr uid_t kNobody = 65534;

// Runs `body` in a forked child and returns its report; a child that dies or raises reports
// that instead.
inline std::string RunInChild(const std::function<std::string()>& body) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return "pipe failed";
  const pid_t child = ::fork();
  if (child < 0) return "fork failed";
  if (child == 0) {
    ::close(ends[0]);
    std::string report;
    try {
      report = body();
    } catch (const std::exception& e) {
      report = std::string("raised: ") + e.what();
    }
    if (report.empty()) report = "ok";
    [[maybe_unused]] const ssize_t written = ::write(ends[1], report.data(), report.size());
    ::_exit(0);
  }
  ::close(ends[1]);
  std::string report;
  char buffer[4096];
  for (ssize_t count; (count = ::read(ends[0], buffer, sizeof buffer)) > 0;) report.append(buffer, count);
  ::close(ends[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (report == "ok") return "";
  return report.empty() ? "the child ended without a report (status " + std::to_string(status) + ")"
                        : report;
}

// Runs `body` in a child as the unprivileged user nobody when the test runs as root (as the
// test's own user otherwise), so that permissions apply.
inline std::string RunUnprivileged(const std::function<std::string()>& body) {
  return RunInChild([&]() -> std::string {
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
      return "cannot become nobody";
    return body();
  });
}

// Runs `body(folder, error)` in a child in which the empty folder `folder` fills up after a few
// kilobytes: a 64 KiB tmpfs mounted there, seen only by the child (its own mount namespace),
// where the test may mount (root); otherwise a file-size limit of 64 KiB with SIGXFSZ ignored.
// `error` is what a write beyond the space gets: ENOSPC on the tmpfs, EFBIG under the limit.
inline std::string RunOnFullDisk(const std::string& folder,
                                 const std::function<std::string(const std::string&, int)>& body) {
  return RunInChild([&]() -> std::string {
    if (::unshare(CLONE_NEWNS) == 0 &&
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
        ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") == 0)
      return body(folder, ENOSPC);
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64 << 10, 64 << 10};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return "cannot limit the file size";
    return body(folder, EFBIG);
  });
}

}  // namespace zenavo::testing
