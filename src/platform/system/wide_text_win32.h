// Text to and from the wide Win32 functions: the program's strings (paths, printer
// names, the system's messages) are UTF-8 on Windows, as the file layer spells them.
// Windows only.
#pragma once

#include <string>
#include <windows.h>

// `text` (UTF-8) as UTF-16; bytes that are not UTF-8 become U+FFFD.
inline std::wstring WideFromUtf8(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

// `text` (UTF-16) as UTF-8.
inline std::string Utf8FromWide(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int size = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}
