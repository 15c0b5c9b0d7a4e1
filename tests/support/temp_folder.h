// A temporary folder for one test, removed with everything in it at the end.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace zenavo::testing {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zenavo-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    path_ = pattern + "/";
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, ending with '/'.
  const std::string& Path() const { return path_; }

  // Writes `bytes` to a file in the folder and returns its full path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ + name, std::ios::binary) << bytes;
    return path_ + name;
  }

  // Writes an executable script (a fake program) into the folder.
  std::string WriteScript(const std::string& name, const std::string& body) const {
    const std::string path = Write(name, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
    return path;
  }

  std::string Read(const std::string& name) const {
    std::ifstream file(path_ + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }

  bool Exists(const std::string& name) const { return std::filesystem::exists(path_ + name); }

 private:
  std::string path_;
};

}  // namespace zenavo::testing
