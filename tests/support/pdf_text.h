// What a printed PDF says, read with the poppler tools (Debian package poppler-utils):
// for tests that check canvas output by its text.
#pragma once

#include <string>

// The text of the PDF file `pdfPath` as `pdftotext -layout` reads it; each page ends
// with a form feed. Empty, with a test failure, when pdftotext cannot read it.
std::string PdfFileText(const std::string& pdfPath);
// The same for the PDF whose bytes are `pdf`.
std::string PdfText(const std::string& pdf);
// PdfText with every run of white space made one blank (see Simplified).
std::string SimplifiedPdfText(const std::string& pdf);
// What pdfinfo says of the PDF `pdf`, e.g. "Page size: 612 x 1008 pts (legal)" among its lines.
std::string PdfInfo(const std::string& pdf);

// `text` with every run of blanks, tabs, line ends and form feeds made one blank, and
// none at either end.
std::string Simplified(const std::string& text);
