// magc: the declination calculator. Reads the World Magnetic Model 2025 from WMM2025.COF
// beside its own executable.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "base/text_file.h"
#include "magc_cli.h"

int main(int argc, char* argv[]) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const int status =
      magc::RunMagc(args, zenavo::ExecutableFolder() + "WMM2025.COF", std::cout, std::cerr);
  // Output lost while closing standard output fails the run too.
  if (std::fclose(stdout) != 0 && status == 0) {
    std::cerr << "magc: cannot write the standard output\n";
    return 3;
  }
  return status;
}
