// Raw jobs through the Windows spooler: open the printer, one document of data
// type "RAW" with one page, the file written in blocks, everything begun ended
// in reverse order. Canvas jobs never come here on Windows: they are drawn
// through the printer driver.
#include <vector>
#include <windows.h>
#include <winspool.h>

#include "base/file_layer.h"
#include "platform/spooler.h"
#include "platform/system/wide_text_win32.h"

namespace {

std::string LastErrorText() {
  const DWORD error = GetLastError();
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string result = text != nullptr ? Utf8FromWide(text) : "Spooler error " + std::to_string(error);
  LocalFree(text);
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r')) result.pop_back();
  return result;
}

class WindowsSpooler final : public Spooler {
 public:
  SpoolOutcome SpoolJob(const std::string& deviceName, const std::string& jobPath, const JobDocument& job) override {
    if (job.format != DocumentFormat::Raw) return {false, "This spooler takes raw documents only."};
    InputFile file(jobPath);
    HANDLE printer = nullptr;
    std::wstring printerName = WideFromUtf8(deviceName);  // printer names may go beyond ASCII
    if (!OpenPrinterW(printerName.data(), &printer, nullptr)) return {false, LastErrorText()};

    wchar_t documentName[] = L"Vantrose";
    wchar_t dataType[] = L"RAW";
    DOC_INFO_1W document{documentName, nullptr, dataType};
    if (StartDocPrinterW(printer, 1, reinterpret_cast<BYTE*>(&document)) == 0) {
      SpoolOutcome outcome{false, LastErrorText()};
      ClosePrinter(printer);
      return outcome;
    }
    if (!StartPagePrinter(printer)) {
      SpoolOutcome outcome{false, LastErrorText()};
      EndDocPrinter(printer);
      ClosePrinter(printer);
      return outcome;
    }
    SpoolOutcome outcome{true, {}};
    std::vector<char> block(kSpoolBlockSize);
    try {
      for (;;) {
        const std::size_t count = file.Read(block.data(), block.size());
        if (count == 0) break;
        DWORD written = 0;
        if (!WritePrinter(printer, block.data(), static_cast<DWORD>(count), &written)) {
          outcome = {false, LastErrorText()};
          break;
        }
      }
    } catch (const IoError&) {
      EndPagePrinter(printer);
      EndDocPrinter(printer);
      ClosePrinter(printer);
      throw;
    }
    EndPagePrinter(printer);
    EndDocPrinter(printer);
    ClosePrinter(printer);
    return outcome;
  }
};

}  // namespace

std::unique_ptr<Spooler> MakeSystemSpooler() { return std::make_unique<WindowsSpooler>(); }
