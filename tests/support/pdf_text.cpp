#include "support/pdf_text.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace {

// The standard output of the poppler tool `program` run on the PDF file `pdfPath`.
std::string PopplerOutput(const char* program, QStringList arguments, const std::string& pdfPath) {
  arguments << QString::fromStdString(pdfPath);
  if (program == std::string("pdftotext")) arguments << QStringLiteral("-");
  QProcess process;
  process.start(QString::fromLatin1(program), arguments);
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    ADD_FAILURE() << program << " (Debian package poppler-utils) did not read " << pdfPath << ": "
                  << process.readAllStandardError().toStdString();
    return {};
  }
  return process.readAllStandardOutput().toStdString();
}

}  // namespace

std::string PdfFileText(const std::string& pdfPath) {
  return PopplerOutput("pdftotext", {QStringLiteral("-layout")}, pdfPath);
}

std::string PdfText(const std::string& pdf) {
  const TempFolder folder;
  return PdfFileText(folder.Write("job.pdf", pdf));
}

std::string SimplifiedPdfText(const std::string& pdf) { return Simplified(PdfText(pdf)); }

std::string PdfInfo(const std::string& pdf) {
  const TempFolder folder;
  return PopplerOutput("pdfinfo", {}, folder.Write("job.pdf", pdf));
}

std::string Simplified(const std::string& text) {
  std::string result;
  bool blank = false;
  for (const char c : text) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
      blank = !result.empty();
    } else {
      if (blank) result += ' ';
      result += c;
      blank = false;
    }
  }
  return result;
}
