#include "base/atomic_write.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <fstream>
#include <optional>

#include "base/file_descriptor.h"

namespace zenavo {

namespace {

constexpr int kMaxLinks = 40;              // the kernel's own limit for one path
constexpr std::size_t kMaxTempBase = 200;  // keeps ".<name>.XXXXXX" within a name's length

[[noreturn]] void CannotCreate(const std::string& path, int error) {
  throw AtomicWriteError(AtomicWriteError::kCreate, error, "cannot create \"" + path + "\"");
}

[[noreturn]] void CannotWrite(const std::string& path, int error) {
  throw AtomicWriteError(AtomicWriteError::kWrite, error, "cannot write \"" + path + "\"");
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The name finally written and its status (none when nothing has that name yet: a new file,
// or the target of a dangling link, which the shell's "> link" would create too).
struct Target {
  std::string name;
  std::optional<struct stat> status;
};

// Follows symbolic links from `path`, through a chain of them, to the name finally written.
Target ResolveLinks(const std::string& path) {
  Target target{path, std::nullopt};
  for (int hops = 0;; ++hops) {
    struct stat info {};
    if (::lstat(target.name.c_str(), &info) != 0) {
      if (errno != ENOENT) CannotCreate(path, errno);
      return target;
    }
    if (!S_ISLNK(info.st_mode)) {
      target.status = info;
      return target;
    }
    if (hops == kMaxLinks) CannotCreate(path, ELOOP);
    std::string link(PATH_MAX, '\0');
    const ssize_t length = ::readlink(target.name.c_str(), link.data(), link.size());
    if (length < 0) CannotCreate(path, errno);
    link.resize(static_cast<std::size_t>(length));
    target.name = link.front() == '/' ? link : FolderOf(target.name) + "/" + link;
  }
}

// Writes all of `bytes`; 0, or the system error number.
int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t count = ::write(fd, bytes.data(), bytes.size());
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return errno;
    if (count == 0) return EIO;
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  return 0;
}

// The process's file-creation mask, read without changing it (umask() would, for a moment,
// for every thread).
mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
  return 022;
}

// Blocks SIGPIPE in this thread while a device or FIFO is written, so a reader that goes away
// makes write() fail with EPIPE instead of ending the program; a SIGPIPE raised meanwhile is
// taken back before the old mask returns.
class SigpipeBlocked {
 public:
  SigpipeBlocked() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    alreadyPending_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe_, &old_);
  }
  ~SigpipeBlocked() {
    const timespec noWait{};
    if (!alreadyPending_)
      while (sigtimedwait(&pipe_, nullptr, &noWait) == SIGPIPE) {
      }
    pthread_sigmask(SIG_SETMASK, &old_, nullptr);
  }
  SigpipeBlocked(const SigpipeBlocked&) = delete;
  SigpipeBlocked& operator=(const SigpipeBlocked&) = delete;

 private:
  sigset_t pipe_, old_;
  bool alreadyPending_ = false;
};

// A device or FIFO: written where it is, never replaced.
void WriteInPlace(const std::string& path, const std::string& name, std::string_view bytes) {
  UniqueFd fd(::open(name.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
  if (!fd.Valid()) CannotCreate(path, errno);
  int error;
  {
    SigpipeBlocked noSigpipe;
    error = WriteAll(fd.Get(), bytes);
  }
  if (error == 0 && fd.Close() != 0) error = errno;
  if (error != 0) CannotWrite(path, error);
}

// Removes the temporary file unless it was renamed into place.
class TemporaryName {
 public:
  explicit TemporaryName(std::string path) : path_(std::move(path)) {}
  ~TemporaryName() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TemporaryName(const TemporaryName&) = delete;
  TemporaryName& operator=(const TemporaryName&) = delete;
  void Release() { path_.clear(); }

 private:
  std::string path_;
};

// The new file gets the mode a plain create would give (0666 less the umask); a replaced
// file's mode, owner and group carry over. Set-id bits go only with the owner they belong to.
bool SetPermissions(int fd, const struct stat* old) {
  if (!old) return ::fchmod(fd, 0666 & ~CurrentUmask()) == 0;
  mode_t mode = old->st_mode & 07777;
  if (::fchown(fd, old->st_uid, old->st_gid) != 0) {
    [[maybe_unused]] const int groupOnly = ::fchown(fd, static_cast<uid_t>(-1), old->st_gid);
    mode &= ~static_cast<mode_t>(S_ISUID | S_ISGID);
  }
  return ::fchmod(fd, mode) == 0;
}

// A regular file, new or existing: a temporary file beside it, renamed over it when whole.
void ReplaceRegularFile(const std::string& path, const std::string& name, struct stat* old,
                        std::string_view bytes, Durability durability) {
  if (old) {
    // Only a file we may write is replaced; opening it for writing (no truncation) asks the
    // system exactly that, permissions, read-only mounts and the like included.
    UniqueFd probe(::open(name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!probe.Valid() || ::fstat(probe.Get(), old) != 0) CannotCreate(path, errno);
  }
  const std::string base = name.substr(name.rfind('/') + 1).substr(0, kMaxTempBase);
  std::string temporary = FolderOf(name) + "/." + base + ".XXXXXX";
  UniqueFd fd(::mkostemp(temporary.data(), O_CLOEXEC));
  if (!fd.Valid()) CannotCreate(path, errno);
  TemporaryName cleanup(temporary);

  int error = SetPermissions(fd.Get(), old) ? 0 : errno;
  if (error == 0) error = WriteAll(fd.Get(), bytes);
  if (error == 0 && durability == Durability::kFlushToDisk && ::fsync(fd.Get()) != 0)
    error = errno;
  if (error == 0 && fd.Close() != 0) error = errno;
  if (error == 0 && ::rename(temporary.c_str(), name.c_str()) != 0) error = errno;
  if (error != 0) CannotWrite(path, error);
  cleanup.Release();
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes, Durability durability) {
  if (path.empty()) CannotCreate(path, ENOENT);
  Target target = ResolveLinks(path);
  if (target.status && !S_ISREG(target.status->st_mode)) {
    WriteInPlace(path, target.name, bytes);
    return;
  }
  ReplaceRegularFile(path, target.name, target.status ? &*target.status : nullptr, bytes,
                     durability);
}

}  // namespace zenavo
