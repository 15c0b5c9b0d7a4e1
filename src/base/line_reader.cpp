#include "base/line_reader.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/exceptions.h"

namespace zenavo {

namespace {
constexpr char kEndOfFile = 0x1A;
}

LineReader::LineReader(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

bool LineReader::Fill() {
  if (ended_) return false;
  for (;;) {
    const ssize_t count = ::read(fd_, buffer_, sizeof buffer_);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0)
      throw EInOutError::ReadFailed(path_, std::strerror(errno));
    begin_ = 0;
    end_ = static_cast<std::size_t>(count);
    if (count == 0) ended_ = true;
    return count > 0;
  }
}

bool LineReader::NextLine(std::string& line) {
  line.clear();
  bool started = false;      // any byte of this line consumed
  bool pendingCr = false;    // a CR whose successor is not known yet
  for (;;) {
    if (begin_ == end_ && !Fill()) return started;
    const char* data = buffer_ + begin_;
    const std::size_t size = end_ - begin_;
    if (pendingCr) {
      pendingCr = false;
      if (data[0] == '\n') {
        ++begin_;
        return true;  // CR LF
      }
      // A lone CR is dropped and the line goes on.
    }
    // Copy up to the first byte that needs attention: a line feed, a CR or Ctrl-Z.
    const char* stop = static_cast<const char*>(std::memchr(data, '\n', size));
    std::size_t i = stop ? static_cast<std::size_t>(stop - data) : size;
    if (const void* cr = std::memchr(data, '\r', i)) i = static_cast<const char*>(cr) - data;
    if (const void* eof = std::memchr(data, kEndOfFile, i)) i = static_cast<const char*>(eof) - data;
    line.append(data, i);
    if (i > 0) started = true;
    begin_ += i;
    if (i == size) continue;
    const char c = data[i];
    if (c == kEndOfFile) {
      ended_ = true;  // nothing after Ctrl-Z is read, not even a line of its own
      begin_ = end_;
      return started;
    }
    ++begin_;
    started = true;
    if (c == '\n') return true;
    pendingCr = true;  // '\r'
  }
}

}  // namespace zenavo
