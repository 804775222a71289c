#include "support/temp_folder.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>

#include "base/file_layer.h"

namespace fs = std::filesystem;

TempFolder::TempFolder() {
  std::random_device random;
  const fs::path parent = fs::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate = parent / ("vantrose-test-" + std::to_string(random()) + std::to_string(random()));
    std::error_code error;
    if (fs::create_directory(candidate, error)) {
      m_path = candidate.string() + kPathSeparator;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder under " + parent.string());
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  fs::remove_all(fs::path(m_path), ignored);
}

std::string TempFolder::Write(std::string_view relative, std::string_view bytes) const {
  const fs::path path = fs::path(m_path) / fs::path(relative);
  fs::create_directories(path.parent_path());
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path.string());
  return JoinPath(m_path, relative);
}

std::string TempFolder::Read(std::string_view relative) const {
  const fs::path path = fs::path(m_path) / fs::path(relative);
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool TempFolder::Exists(std::string_view relative) const {
  std::error_code ignored;
  return fs::exists(fs::path(m_path) / fs::path(relative), ignored);
}

std::set<std::string> TempFolder::Entries() const {
  std::set<std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(m_path)))
    entries.insert(fs::relative(entry.path(), fs::path(m_path)).generic_string() + (entry.is_directory() ? "/" : ""));
  return entries;
}

bool TempFolder::KeepsLetterCaseApart() const {
  const fs::path lower = fs::path(m_path) / "case-probe";
  std::ofstream(lower).put('x');
  std::error_code ignored;
  const bool apart = !fs::exists(fs::path(m_path) / "CASE-PROBE", ignored);
  fs::remove(lower, ignored);
  return apart;
}

std::string TempFolder::MakeFolder(std::string_view relative) const {
  fs::create_directories(fs::path(m_path) / fs::path(relative));
  std::string path = JoinPath(m_path, relative);
  if (path.back() != kPathSeparator) path += kPathSeparator;
  return path;
}
