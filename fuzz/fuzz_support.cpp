#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "support/temp_folder.h"

namespace {

TempFolder& Folder() {
  static TempFolder folder;
  return folder;
}

}  // namespace

void FuzzCheckFailed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: invariant failed: %s\n", file, line, condition);
  std::abort();
}

const std::string& FuzzFolder() { return Folder().Path(); }

void EmptyFuzzFolder() {
  namespace fs = std::filesystem;
  for (const fs::directory_entry& entry : fs::directory_iterator(FuzzFolder())) fs::remove_all(entry.path());
}

std::string WriteFuzzFile(std::string_view relative, std::string_view bytes) { return Folder().Write(relative, bytes); }

ContractCanvas::ContractCanvas(int portraitWidth, int portraitHeight, bool asciiOnly)
    : m_portraitWidth(portraitWidth), m_portraitHeight(portraitHeight), m_asciiOnly(asciiOnly) {}

void ContractCanvas::SetOrientation(PageOrientation orientation) {
  FUZZ_CHECK(!m_open);
  m_orientation = orientation;
}

int ContractCanvas::PageWidth() const {
  return m_orientation == PageOrientation::Portrait ? m_portraitWidth : m_portraitHeight;
}

int ContractCanvas::PageHeight() const {
  return m_orientation == PageOrientation::Portrait ? m_portraitHeight : m_portraitWidth;
}

void ContractCanvas::BeginDocument() {
  FUZZ_CHECK(!m_open);
  m_open = true;
  ++m_documents;
}

void ContractCanvas::NewPage() { FUZZ_CHECK(m_open); }

void ContractCanvas::EndDocument() {
  FUZZ_CHECK(m_open);
  m_open = false;
}

void ContractCanvas::AbortDocument() { FuzzCheckFailed("no document is aborted", __FILE__, __LINE__); }

void ContractCanvas::SetFont(const std::string& name, int pointSize, bool /*bold*/) {
  FUZZ_CHECK(m_open);
  FUZZ_CHECK(!name.empty() && pointSize > 0);
}

void ContractCanvas::DrawTextAt(int x, int y, const std::string& text) {
  FUZZ_CHECK(m_open);
  FUZZ_CHECK(x >= 0 && y >= 0);
  if (m_asciiOnly)
    for (const char c : text) FUZZ_CHECK(static_cast<unsigned char>(c) <= 127);
  ++m_draws;
}

void ContractCanvas::CheckClosed() const { FUZZ_CHECK(!m_open); }
