// Reading 8-bit text files as lines.
#pragma once

#include <string>
#include <vector>

#include "base/file_descriptor.h"

namespace zenavo {

// Opens `path` for reading without ever waiting: a named pipe (even one without a writer), a
// folder, a device or a socket is refused at once. On failure the descriptor is invalid and
// `reason` says why (the system's text, or what the path is instead of a regular file).
UniqueFd OpenRegularFile(const std::string& path, std::string& reason);

// The whole file as bytes. Raises EFOpenError ("Cannot open file "<path>". <reason>") when it
// cannot be opened or is not a regular file (OpenRegularFile), EInOutError when reading fails.
std::string ReadFileBytes(const std::string& path);
// The rest of the open file `fd` as bytes; `path` names it in the EInOutError.
std::string ReadFileBytes(int fd, const std::string& path);

// The lines of `text`: a line ends at CR, LF or CR LF; a final line end adds no empty line.
std::vector<std::string> SplitTextLines(const std::string& text);

// SplitTextLines of the file's bytes.
std::vector<std::string> LoadTextLines(const std::string& path);

// The folder of the running executable, ending with '/'.
std::string ExecutableFolder();

}  // namespace zenavo
