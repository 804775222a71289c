// The working folder of window and printing tests with a private CUPS scheduler
// whose default printer is the raw queue "raw" (its jobs captured byte for
// byte), and the text of a printed PDF as pdftotext reads it.
#pragma once

#include <string>

#include "support/cups_server.h"
#include "support/working_folder.h"

class PrintingTest : public WorkingFolderTest {
 protected:
  // A test's own SetUp calls this first: ASSERT_NO_FATAL_FAILURE(PrintingTest::SetUp()).
  void SetUp() override;

  // The text of the PDF `pdf` (its bytes), laid out as on the page; each page ends with
  // a form feed. Empty, with a test failure, when pdftotext cannot read it.
  static std::string PdfText(const std::string& pdf);
  // As PdfText, with every run of white space made one blank and none at either end.
  static std::string SimplifiedPdfText(const std::string& pdf);
  // What pdfinfo says of the PDF `pdf`, e.g. "Page size: 612 x 1008 pts (legal)" among its lines.
  static std::string PdfInfo(const std::string& pdf);

  CupsServer m_server;
};
