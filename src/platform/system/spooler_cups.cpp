// Raw jobs through the CUPS API: one job on the printer, one document of the raw
// format, written in blocks; a failure cancels the job.
#include <cups/cups.h>
#include <vector>

#include "base/file_layer.h"
#include "platform/spooler.h"

namespace {

class CupsSpooler final : public Spooler {
 public:
  SpoolOutcome SpoolRawJob(const std::string& deviceName, const std::string& jobPath) override {
    // The job file is opened before the job exists, so a file error leaves no job behind.
    InputFile file(jobPath);
    if (deviceName.empty()) return {false, "No printer is installed."};

    const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, deviceName.c_str(), kSpoolDocumentName, 0, nullptr);
    if (job == 0) return Failure();
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, deviceName.c_str(), job, kSpoolDocumentName, CUPS_FORMAT_RAW, 1) !=
        HTTP_STATUS_CONTINUE)
      return Cancel(deviceName, job, Document::NotStarted);

    std::vector<char> block(kSpoolBlockSize);
    for (;;) {
      std::size_t count = 0;
      try {
        count = file.Read(block.data(), block.size());
      } catch (const IoError&) {
        Cancel(deviceName, job, Document::Open);
        throw;
      }
      if (count == 0) break;
      if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, block.data(), count) != HTTP_STATUS_CONTINUE)
        return Cancel(deviceName, job, Document::Open);
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
