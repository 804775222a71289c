#include "support/printing_test.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include "support/temp_folder.h"

namespace {

// The standard output of the poppler tool `program` run on the PDF `pdf`.
std::string PopplerOutput(const char* program, QStringList arguments, const std::string& pdf) {
  TempFolder folder;
  arguments << QString::fromStdString(folder.Write("job.pdf", pdf));
  if (program == std::string("pdftotext")) arguments << QStringLiteral("-");
  QProcess process;
  process.start(QString::fromLatin1(program), arguments);
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    ADD_FAILURE() << program << " (Debian package poppler-utils) did not read the PDF: "
                  << process.readAllStandardError().toStdString();
    return {};
  }
  return process.readAllStandardOutput().toStdString();
}

}  // namespace

void PrintingTest::SetUp() {
  ASSERT_TRUE(m_server.Running()) << m_server.Problem();
  ASSERT_TRUE(m_server.AddRawQueue("raw"));
  ASSERT_TRUE(m_server.SetDefault("raw"));
}

std::string PrintingTest::PdfText(const std::string& pdf) {
  return PopplerOutput("pdftotext", {QStringLiteral("-layout")}, pdf);
}

std::string PrintingTest::SimplifiedPdfText(const std::string& pdf) {
  return QString::fromStdString(PdfText(pdf)).simplified().toStdString();
}

std::string PrintingTest::PdfInfo(const std::string& pdf) { return PopplerOutput("pdfinfo", {}, pdf); }
