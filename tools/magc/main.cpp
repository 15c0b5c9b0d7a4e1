// magc: the declination calculator. Reads the World Magnetic Model 2025 from WMM2025.COF
// beside its own executable.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "magc_cli.h"

namespace {
// The folder of the running executable, with a trailing '/', or "" when it cannot be read.
std::string ExecutableFolder() {
  std::string path(4096, '\0');
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0) return "";
  path.resize(static_cast<std::size_t>(length));
  return path.substr(0, path.rfind('/') + 1);
}
}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return magc::RunMagc(args, ExecutableFolder() + "WMM2025.COF", std::cout, std::cerr);
}
