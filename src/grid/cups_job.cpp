#include "grid/cups_job.h"

#include <cups/cups.h>

#include <QPrintEngine>
#include <QPrinter>

#include <algorithm>
#include <memory>

#include "base/exceptions.h"

namespace zenavo {

namespace {

// Where Qt's print dialog keeps the CUPS options it sets on a printer (pages per sheet, page
// set, banners, job hold, the queue's own options): a list of alternating names and values.
const auto kDialogCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

struct IppDeleter {
  void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using IppMessage = std::unique_ptr<ipp_t, IppDeleter>;

// The queue of "queue/instance": instances are options kept on this side, the scheduler knows
// only the queue.
std::string QueueName(const std::string& destination) {
  return destination.substr(0, destination.find('/'));
}

// CUPS's words for the last failure of this thread's requests. Where the scheduler could not be
// reached at all, libcups's words name a stale socket error ("Bad file descriptor"), so the
// scheduler is named instead.
std::string CupsReason() {
  if (cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
    return "the CUPS scheduler at " + std::string(cupsServer()) + " does not answer";
  const char* reason = cupsLastErrorString();
  return reason && *reason ? reason : ippErrorString(cupsLastError());
}

// A request about `queue`, from this user.
ipp_t* QueueRequest(ipp_op_t operation, const std::string& queue) {
  char uri[HTTP_MAX_URI];
  httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                   "/printers/%s", queue.c_str());
  ipp_t* request = ippNewRequest(operation);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               cupsUser());
  return request;
}

bool Failed() { return cupsLastError() > IPP_STATUS_OK_CONFLICTING; }

// Why a queue refuses jobs: its state message ("Rejecting Jobs", or what `cupsreject -r`
// gave), else its state reasons.
std::string RefusalReason(ipp_t* attributes) {
  if (ipp_attribute_t* message = ippFindAttribute(attributes, "printer-state-message", IPP_TAG_TEXT)) {
    if (const char* text = ippGetString(message, 0, nullptr); text && *text) return text;
  }
  if (ipp_attribute_t* reasons = ippFindAttribute(attributes, "printer-state-reasons", IPP_TAG_KEYWORD)) {
    char text[1024];
    ippAttributeString(reasons, text, sizeof text);
    return text;
  }
  return "no reason given";
}

std::string Sides(const QPrinter& printer) {
  const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
  switch (printer.duplex()) {
    case QPrinter::DuplexNone: return "one-sided";
    case QPrinter::DuplexLongSide: return "two-sided-long-edge";
    case QPrinter::DuplexShortSide: return "two-sided-short-edge";
    case QPrinter::DuplexAuto: break;
  }
  // Bound along the page's long side as it is read.
  return landscape ? "two-sided-short-edge" : "two-sided-long-edge";
}

}  // namespace

void CheckCupsDestination(const std::string& destination) {
  ipp_t* request = QueueRequest(IPP_OP_GET_PRINTER_ATTRIBUTES, QueueName(destination));
  static const char* const kWanted[] = {"printer-is-accepting-jobs", "printer-state-message",
                                        "printer-state-reasons"};
  ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                std::size(kWanted), nullptr, kWanted);
  const IppMessage response(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"));
  if (!response || Failed())
    throw Exception("Printing on the printer \"%1\" could not start: %2",
                    {destination, CupsReason()});
  ipp_attribute_t* accepting =
      ippFindAttribute(response.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
  if (accepting && !ippGetBoolean(accepting, 0)) {
    throw Exception("The printer \"%1\" does not accept jobs: %2",
                    {destination, RefusalReason(response.get())});
  }
}

std::vector<CupsOption> CupsJobOptions(const QPrinter& printer) {
  std::vector<CupsOption> options;
  const int copies = std::max(1, printer.copyCount());
  options.emplace_back("copies", std::to_string(copies));
  if (copies > 1) {
    options.emplace_back("multiple-document-handling",
                         printer.collateCopies() ? "separate-documents-collated-copies"
                                                 : "separate-documents-uncollated-copies");
  }
  options.emplace_back("media", printer.pageLayout().pageSize().key().toStdString());
  options.emplace_back("sides", Sides(printer));
  if (printer.colorMode() == QPrinter::GrayScale)
    options.emplace_back("print-color-mode", "monochrome");
  if (QPrintEngine* engine = printer.printEngine()) {
    const QStringList dialog = engine->property(kDialogCupsOptions).toStringList();
    for (qsizetype i = 0; i + 1 < dialog.size(); i += 2)
      options.emplace_back(dialog[i].toStdString(), dialog[i + 1].toStdString());
  }
  return options;
}

int SubmitCupsPdfJob(const std::string& destination, const std::string& title,
                     const std::vector<CupsOption>& options, std::string_view pdf) {
  const std::string queue = QueueName(destination);
  const char* const name = title.empty() ? nullptr : title.c_str();
  // Create-Job asked directly, so that a queue gone meanwhile is reported in the scheduler's
  // words rather than as a missing file.
  ipp_t* request = QueueRequest(IPP_OP_CREATE_JOB, queue);
  if (name) ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, name);
  cups_option_t* cupsOptions = nullptr;
  int optionCount = 0;
  for (const auto& [option, value] : options)
    optionCount = cupsAddOption(option.c_str(), value.c_str(), optionCount, &cupsOptions);
  cupsEncodeOptions2(request, optionCount, cupsOptions, IPP_TAG_OPERATION);
  cupsEncodeOptions2(request, optionCount, cupsOptions, IPP_TAG_JOB);
  cupsFreeOptions(optionCount, cupsOptions);
  const IppMessage response(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"));
  ipp_attribute_t* id =
      response && !Failed() ? ippFindAttribute(response.get(), "job-id", IPP_TAG_INTEGER) : nullptr;
  const int job = id ? ippGetInteger(id, 0) : 0;

  const auto fail = [&] {
    const std::string reason = CupsReason();
    // A job that was created but got no complete document would wait in the queue for ever.
    if (job > 0) cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.c_str(), job, 0);
    throw Exception("The print job on the printer \"%1\" failed: %2", {destination, reason});
  };
  if (job <= 0) fail();
  if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue.c_str(), job, name, CUPS_FORMAT_PDF, 1) !=
      HTTP_STATUS_CONTINUE)
    fail();
  constexpr std::size_t kChunk = 64 * 1024;
  for (std::size_t at = 0; at < pdf.size(); at += kChunk) {
    const std::size_t length = std::min(kChunk, pdf.size() - at);
    if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.data() + at, length) != HTTP_STATUS_CONTINUE)
      fail();
  }
  if (cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.c_str()) > IPP_STATUS_OK_CONFLICTING) fail();
  return job;
}

}  // namespace zenavo
