// magc: the declination calculator. Reads the World Magnetic Model 2025 from WMM2025.COF
// beside its own executable.
#include <iostream>
#include <string>
#include <vector>

#include "base/text_file.h"
#include "magc_cli.h"

int main(int argc, char* argv[]) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return magc::RunMagc(args, zenavo::ExecutableFolder() + "WMM2025.COF", std::cout, std::cerr);
}
