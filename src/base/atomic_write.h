// Writing a whole file so that it is either replaced completely or left as it was.
#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace zenavo {

// A file that could not be written. Stage() says whether nothing was touched yet (the target
// cannot be created: missing or unwritable folder, a folder as the name, a read-only file) or
// writing failed later (full disk, I/O error); code() holds the system error number and what()
// a one-line text naming the file.
class AtomicWriteError : public std::system_error {
 public:
  enum WriteStage { kCreate, kWrite };
  AtomicWriteError(WriteStage stage, int error, const std::string& what)
      : std::system_error(error, std::generic_category(), what), stage_(stage) {}
  WriteStage Stage() const { return stage_; }

 private:
  WriteStage stage_;
};

// Whether the new content is flushed to disk before it replaces the old. Without the flush
// readers still never see a partial file, but a system crash just after may leave an empty
// one; worth it for a result read back at once (the flush is most of a small write's time).
enum class Durability { kFlushToDisk, kReadersOnly };

// Writes `bytes` as the whole content of `path`, the way a careful "> path" would:
// - a symbolic link is followed (through a chain of links) and the file it names is written;
// - a regular file, existing or new, is written as a temporary file created exclusively, under
//   an unpredictable name, in the same folder, flushed to disk (unless `durability` is
//   kReadersOnly) and then renamed over the target, so a reader or a failure never sees a
//   partial file; a replaced file keeps its permission bits, and its owner and group where the
//   system allows;
// - an existing file that is not a regular file (a device, a FIFO) is written into directly
//   and never replaced; a reader that goes away is a write error, never a SIGPIPE.
// An existing regular file must be writable (it is opened for writing, untouched, to find out).
// Raises AtomicWriteError; on any failure the target stays as it was (a device or FIFO keeps
// what it was already given) and no temporary file is left behind.
void WriteFileAtomically(const std::string& path, std::string_view bytes,
                         Durability durability = Durability::kFlushToDisk);

}  // namespace zenavo
