// libFuzzer target: any bytes as a file given to the CSV loader. The load must end without a
// crash, a hang or a leak, and leave a table whose counts follow the loader's rules. The same
// bytes as one line must split into the fields a plain reading of the quote rules gives.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/exceptions.h"
#include "table/csv_loader.h"
#include "support/csv_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int fd = memfd_create("fuzz.csv", 0);
  if (fd < 0) return 0;
  std::size_t written = 0;
  while (written < size) {
    const ssize_t count = ::write(fd, data + written, size - written);
    if (count <= 0) break;
    written += static_cast<std::size_t>(count);
  }
  const std::string line(reinterpret_cast<const char*>(data), size);
  for (char delimiter : {',', '\t', zenavo::kNoDelimiter}) {
    if (zenavo::SplitCsvLine(line, delimiter) != zenavo::testing::ReferenceCsvFields(line, delimiter))
      std::abort();
  }

  zenavo::StringTable table(7, 10);
  table.SetCells(3, 0, "caption");
  try {
    zenavo::LoadFromCsvFile(table, "/proc/self/fd/" + std::to_string(fd));
  } catch (const zenavo::Exception&) {
    ::close(fd);
    return 0;
  }
  ::close(fd);
  // The rules every load keeps.
  if (table.RowCount() < 1 || table.ColCount() < 7 || table.FixedRows() > table.RowCount() - 1)
    std::abort();
  std::size_t lines = 0;
  for (std::size_t i = 0; i < size; ++i) lines += data[i] == '\n';
  if (static_cast<std::size_t>(table.RowCount()) > lines + 1) std::abort();
  return 0;
}
