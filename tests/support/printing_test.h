// The working folder of window and printing tests with a private CUPS scheduler
// whose default printer is the raw queue "raw" (its jobs captured byte for
// byte); the text of a printed PDF comes from support/pdf_text.h.
#pragma once

#include <string>

#include "support/cups_server.h"
#include "support/pdf_text.h"
#include "support/working_folder.h"

class PrintingTest : public WorkingFolderTest {
 protected:
  // A test's own SetUp calls this first: ASSERT_NO_FATAL_FAILURE(PrintingTest::SetUp()).
  void SetUp() override;

  CupsServer m_server;
};
