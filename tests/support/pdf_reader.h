// Reading a printed PDF back with poppler's tools: the words of every page with their boxes in
// millimetres from the page's top-left corner (pdftotext -bbox-layout), the document's
// information (pdfinfo) and a page rendered as an image (pdftoppm).
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QXmlStreamReader>

#include <cmath>
#include <string>
#include <vector>

#include "app/run_and_capture.h"

namespace zenavo::testing {

struct PdfWord {
  std::string Text;
  double Left = 0, Top = 0, Right = 0, Bottom = 0;  // mm
};

struct PdfPage {
  double Width = 0, Height = 0;  // mm
  std::vector<PdfWord> Words;

  // The words in reading order (poppler's), joined by single spaces.
  std::string Text() const {
    std::string text;
    for (const PdfWord& word : Words) text += (text.empty() ? "" : " ") + word.Text;
    return text;
  }
  // The first word `text` on the page, or nullptr.
  const PdfWord* Find(const std::string& text) const {
    for (const PdfWord& word : Words)
      if (word.Text == text) return &word;
    return nullptr;
  }
  // The word whose top-left corner lies within `tolerance` mm of (left, top), or nullptr.
  const PdfWord* WordAt(double left, double top, double tolerance) const {
    for (const PdfWord& word : Words)
      if (std::abs(word.Left - left) <= tolerance && std::abs(word.Top - top) <= tolerance)
        return &word;
    return nullptr;
  }
};

inline constexpr double kMmPerPoint = 25.4 / 72;

// Runs a poppler tool; its output, or "" with a test failure when it fails.
inline std::string RunPoppler(const std::string& commandLine) {
  const CapturedRun run = RunAndCapture(commandLine, "/");
  if (run.ExitStatus != 0) {
    ADD_FAILURE() << commandLine << " failed (" << run.ExitStatus << "): " << run.Output;
    return "";
  }
  return run.Output;
}

// The pages of `pdf` with their words.
inline std::vector<PdfPage> ReadPdfPages(const std::string& pdf) {
  const std::string xhtml = RunPoppler("pdftotext -bbox-layout " + pdf + " -");
  std::vector<PdfPage> pages;
  QXmlStreamReader xml(QByteArray::fromStdString(xhtml));
  const auto mm = [&](const char* name) {
    return xml.attributes().value(name).toDouble() * kMmPerPoint;
  };
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == u"page") {
      pages.push_back({mm("width"), mm("height"), {}});
    } else if (xml.name() == u"word" && !pages.empty()) {
      PdfWord word{"", mm("xMin"), mm("yMin"), mm("xMax"), mm("yMax")};
      word.Text = xml.readElementText().toStdString();
      pages.back().Words.push_back(word);
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return pages;
}

// A field of pdfinfo's report ("Pages", "Title", "Page size"), or "".
inline std::string PdfInfo(const std::string& pdf, const std::string& field) {
  const std::string report = RunPoppler("pdfinfo " + pdf);
  const std::string key = "\n" + field + ":";
  const std::size_t at = ("\n" + report).find(key);
  if (at == std::string::npos) return "";
  std::size_t start = at + key.size() - 1;
  while (start < report.size() && report[start] == ' ') ++start;
  return report.substr(start, report.find('\n', start) - start);
}

// The top-left `width` x `height` pixels of page `page` (1-based) rendered at `dpi` dots per
// inch.
inline QImage RenderPdfPage(const std::string& pdf, int page, int dpi, int width, int height) {
  const std::string stem = pdf + ".page";
  const std::string n = std::to_string(page);
  RunPoppler("pdftoppm -png -singlefile -r " + std::to_string(dpi) + " -f " + n + " -l " + n +
             " -W " + std::to_string(width) + " -H " + std::to_string(height) + " " + pdf + " " +
             stem);
  return QImage(QString::fromStdString(stem + ".png"));
}

}  // namespace zenavo::testing
