// Handing a printout to a CUPS print queue through libcups, so that a queue that is missing or
// refuses jobs, or a scheduler that is gone, is reported in CUPS's own words instead of the job
// being lost without a word.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QPrinter;

namespace zenavo {

// A job option as CUPS names it: ("copies", "2"), ("media", "A4"), ("sides", "one-sided") ...
using CupsOption = std::pair<std::string, std::string>;

// Raises Exception naming `destination` ("queue" or "queue/instance") and CUPS's reason when
// the scheduler cannot be asked, the queue does not exist, or it does not accept jobs. A
// stopped queue that still accepts jobs passes: CUPS holds the job until it is started again.
void CheckCupsDestination(const std::string& destination);

// The job options for what was chosen on `printer`: copies and their collation, the paper,
// two-sided printing (long or short edge by the page orientation), grey scale, and the further
// CUPS options the print dialog keeps on the printer (pages per sheet, page set, ...).
std::vector<CupsOption> CupsJobOptions(const QPrinter& printer);

// Creates a job titled `title` (CUPS's default title when empty) on `destination` with
// `options`, sends `pdf` as its one document and returns the job's id. Raises Exception naming
// the destination with CUPS's reason when a step fails; a job already created is cancelled.
int SubmitCupsPdfJob(const std::string& destination, const std::string& title,
                     const std::vector<CupsOption>& options, std::string_view pdf);

}  // namespace zenavo
