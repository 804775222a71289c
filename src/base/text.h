// Small text rules the whole program shares: cutting a value at its length limit,
// ASCII letter case, and the names that Windows reserves for devices. Bytes in,
// bytes out; no locale, no file system.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// `text` cut to its first `limit` bytes (unchanged when not longer).
std::string CutText(std::string_view text, std::size_t limit);

// The ASCII upper-case letter of `c`; every other byte stays what it is.
inline char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// `text` with its ASCII letters in upper case.
std::string AsciiUpperText(std::string_view text);

// True when `a` and `b` are the same text apart from the case of ASCII letters.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// True when `name`, with or without an extension (the part from its first full stop),
// in any letter case, names a device on Windows: CON, PRN, AUX, NUL, CONIN$, CONOUT$,
// COM1 to COM9 and LPT1 to LPT9 (also with a superscript digit two, code page 437
// byte 253, which Windows takes for 2). A file of that name cannot exist there.
bool IsReservedDeviceName(std::string_view name);
