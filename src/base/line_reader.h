// Line-by-line reading of an 8-bit text file: a line ends at LF or CR LF, a CR not followed
// by LF is dropped, the byte 0x1A (Ctrl-Z) ends the file, and a line end after the last line
// makes no extra line.
#pragma once

#include <string>

namespace zenavo {

class LineReader {
 public:
  // Reads from an open file descriptor, which the reader does not own. `path` names the file
  // in error messages.
  LineReader(int fd, std::string path);

  // The next line into `line`; false at the end of the file. Raises EInOutError when reading
  // fails.
  bool NextLine(std::string& line);

 private:
  bool Fill();

  int fd_;
  std::string path_;
  char buffer_[65536];
  std::size_t begin_ = 0, end_ = 0;
  bool ended_ = false;  // end of file or Ctrl-Z reached
};

}  // namespace zenavo
