// What the fuzz targets share: one scratch folder per process, reused by every
// run; a check that stops the run when an invariant fails, so libFuzzer keeps the
// input; and a printer canvas that draws nothing but holds callers to its contract.
// No test framework, no Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/printer_canvas.h"

// Aborts with the failed condition and its place; libFuzzer then saves the input.
#define FUZZ_CHECK(condition) ((condition) ? static_cast<void>(0) : FuzzCheckFailed(#condition, __FILE__, __LINE__))

[[noreturn]] void FuzzCheckFailed(const char* condition, const char* file, int line);

// The process's scratch folder, ending with the separator: made on first use under
// the system's temporary folder and removed at exit. EmptyFuzzFolder() removes what
// the previous run left in it.
const std::string& FuzzFolder();
void EmptyFuzzFolder();

// Writes `bytes` to the file `relative` below the scratch folder, making its folders;
// returns the full path. Set-up only: the code under test goes through the file layer.
std::string WriteFuzzFile(std::string_view relative, std::string_view bytes);

// The input as text bytes.
inline std::string_view InputBytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// True when `needle` is `haystack` with some elements left out, elements compared by `same`.
template <typename T, typename Same>
bool IsSubsequence(const std::vector<T>& needle, const std::vector<T>& haystack, Same same) {
  std::size_t next = 0;
  for (const T& element : haystack)
    if (next < needle.size() && same(needle[next], element)) ++next;
  return next == needle.size();
}

// A canvas of a fixed printable size that records only what is needed to check that
// callers keep its contract: orientation only while no document is open, sheets, fonts
// and text only while one is, every document ended, nothing aborted (no failure is
// injected, so an abort means an exception went through a job). With `asciiOnly`, text
// must hold no byte above 127.
class ContractCanvas final : public PrinterCanvas {
 public:
  ContractCanvas(int portraitWidth, int portraitHeight, bool asciiOnly);

  void SetOrientation(PageOrientation orientation) override;
  int PageWidth() const override;
  int PageHeight() const override;
  void BeginDocument() override;
  void NewPage() override;
  void EndDocument() override;
  void AbortDocument() override;
  void SetFont(const std::string& name, int pointSize, bool bold) override;
  void DrawTextAt(int x, int y, const std::string& text) override;

  // Checks that no document is left open.
  void CheckClosed() const;
  int Documents() const { return m_documents; }
  long Draws() const { return m_draws; }

 private:
  int m_portraitWidth;
  int m_portraitHeight;
  bool m_asciiOnly;
  PageOrientation m_orientation = PageOrientation::Portrait;
  bool m_open = false;
  int m_documents = 0;
  long m_draws = 0;
};
