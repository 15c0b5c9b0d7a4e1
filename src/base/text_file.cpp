#include "base/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/exceptions.h"

namespace zenavo {

namespace {

// What a file that is not a regular file is, for the message that refuses it.
std::string NotARegularFile(mode_t mode) {
  if (S_ISDIR(mode)) return std::strerror(EISDIR);
  if (S_ISFIFO(mode)) return "It is a named pipe, not a regular file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "It is a device, not a regular file";
  return "It is not a regular file";
}

}  // namespace

UniqueFd OpenRegularFile(const std::string& path, std::string& reason) {
  // Non-blocking, so that opening a named pipe does not wait for a writer; no controlling
  // terminal taken from a terminal device.
  UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  struct stat info {};
  if (!file.Valid() || ::fstat(file.Get(), &info) != 0) {
    reason = std::strerror(errno);
    return UniqueFd();
  }
  if (!S_ISREG(info.st_mode)) {
    reason = NotARegularFile(info.st_mode);
    return UniqueFd();
  }
  ::fcntl(file.Get(), F_SETFL, ::fcntl(file.Get(), F_GETFL) & ~O_NONBLOCK);
  return file;
}

std::string ReadFileBytes(const std::string& path) {
  std::string reason;
  const UniqueFd file = OpenRegularFile(path, reason);
  if (!file.Valid()) throw EFOpenError(path, reason);
  return ReadFileBytes(file.Get(), path);
}

std::string ReadFileBytes(int fd, const std::string& path) {
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      throw EInOutError::ReadFailed(path, std::strerror(errno));
    }
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
  return bytes;
}

std::vector<std::string> SplitTextLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::vector<std::string> LoadTextLines(const std::string& path) {
  return SplitTextLines(ReadFileBytes(path));
}

std::string ExecutableFolder() {
  std::string path(4096, '\0');
  const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0) return "./";
  path.resize(static_cast<std::size_t>(length));
  return path.substr(0, path.rfind('/') + 1);
}

}  // namespace zenavo
