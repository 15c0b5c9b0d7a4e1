// Reading 8-bit text files as lines.
#pragma once

#include <string>
#include <vector>

namespace zenavo {

// The whole file as bytes. Raises EFOpenError ("Cannot open file "<path>". <system text>")
// when it cannot be opened or is a folder, EInOutError when reading fails.
std::string ReadFileBytes(const std::string& path);

// The lines of `text`: a line ends at CR, LF or CR LF; a final line end adds no empty line.
std::vector<std::string> SplitTextLines(const std::string& text);

// SplitTextLines of the file's bytes.
std::vector<std::string> LoadTextLines(const std::string& path);

// The folder of the running executable, ending with '/'.
std::string ExecutableFolder();

}  // namespace zenavo
