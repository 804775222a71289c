// Jobs through the CUPS API, the same way for both formats: one job on the printer
// with the document's options, one document of its format written in blocks, the
// scheduler's answer checked at every step; a failure cancels the job.
#include <cups/cups.h>
#include <vector>

#include "base/file_layer.h"
#include "platform/spooler.h"

namespace {

// The options a job is created with. A raw job carries none: its printer language
// sets up the printer itself. A PDF is printed once, on the paper and in the
// orientation its pages were drawn for.
class JobOptions {
 public:
  explicit JobOptions(const JobDocument& document) {
    if (document.format != DocumentFormat::Pdf) return;
    Add("copies", "1");
    if (!document.media.empty()) Add("media", document.media.c_str());
    Add("orientation-requested", document.orientation == PageOrientation::Landscape ? "4" : "3");
  }
  ~JobOptions() { cupsFreeOptions(m_count, m_options); }
  JobOptions(const JobOptions&) = delete;
  JobOptions& operator=(const JobOptions&) = delete;

  int Count() const { return m_count; }
  cups_option_t* Options() const { return m_options; }

 private:
  void Add(const char* name, const char* value) { m_count = cupsAddOption(name, value, m_count, &m_options); }

  int m_count = 0;
  cups_option_t* m_options = nullptr;
};

const char* FormatOf(const JobDocument& document) {
  return document.format == DocumentFormat::Pdf ? CUPS_FORMAT_PDF : CUPS_FORMAT_RAW;
}

class CupsSpooler final : public Spooler {
 public:
  SpoolOutcome SpoolJob(const std::string& deviceName, const std::string& jobPath,
                        const JobDocument& document) override {
    // The job file is opened and its first block read before the job exists, so a file
    // error leaves no job behind, and an empty file (which CUPS would refuse as "No file
    // in print request.") makes none: there is nothing to print.
    InputFile file(jobPath);
    std::vector<char> block(kSpoolBlockSize);
    std::size_t count = file.Read(block.data(), block.size());
    if (count == 0) {
      file.Close();
      return {true, {}};
    }
    if (deviceName.empty()) return {false, "No printer is installed."};

    const JobOptions options(document);
    const int job =
        cupsCreateJob(CUPS_HTTP_DEFAULT, deviceName.c_str(), kSpoolDocumentName, options.Count(), options.Options());
    if (job == 0) return Failure();
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, deviceName.c_str(), job, kSpoolDocumentName, FormatOf(document), 1) !=
        HTTP_STATUS_CONTINUE)
      return Cancel(deviceName, job, Document::NotStarted);

    while (count > 0) {
      if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, block.data(), count) != HTTP_STATUS_CONTINUE)
        return Cancel(deviceName, job, Document::Open);
      try {
        count = file.Read(block.data(), block.size());
      } catch (const IoError&) {
        Cancel(deviceName, job, Document::Open);
        throw;
      }
    }
    if (cupsFinishDocument(CUPS_HTTP_DEFAULT, deviceName.c_str()) != IPP_STATUS_OK)
      return Cancel(deviceName, job, Document::Finished);
    file.Close();
    return {true, {}};
  }

 private:
  static SpoolOutcome Failure() { return {false, cupsLastErrorString()}; }

  enum class Document { NotStarted, Open, Finished };

  // Ends an open document request and cancels the job; keeps the first error's words.
  static SpoolOutcome Cancel(const std::string& deviceName, int job, Document document) {
    SpoolOutcome outcome = Failure();
    if (document == Document::Open) cupsFinishDocument(CUPS_HTTP_DEFAULT, deviceName.c_str());
    cupsCancelJob2(CUPS_HTTP_DEFAULT, deviceName.c_str(), job, 0);
    return outcome;
  }
};

}  // namespace

std::unique_ptr<Spooler> MakeSystemSpooler() { return std::make_unique<CupsSpooler>(); }
