// The printer canvas that canvas printing and the schedule printout draw through:
// orientation, printable size, the document and its sheets, the font and text.
// A platform interface: platform/system/ implements it on the current printer,
// tests use a recording fake. Nothing here knows about pages of a report or files.
#pragma once

#include <stdexcept>
#include <string>

// A job the printing system did not take (no printer, the printer refused or failed);
// what() says why. Canvas implementations throw it; the print commands report it.
class PrintFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class PageOrientation { Portrait, Landscape };

class PrinterCanvas {
 public:
  virtual ~PrinterCanvas() = default;

  // Sets the orientation for the next document; it stays set after the document ends.
  // Called only while no document is open.
  virtual void SetOrientation(PageOrientation orientation) = 0;

  // The printable area in device pixels, as it applies with the current orientation.
  // May be read before a document begins and while it is open.
  virtual int PageWidth() const = 0;
  virtual int PageHeight() const = 0;

  // Begins a document without a title; its first sheet is started.
  virtual void BeginDocument() = 0;
  // Ends the current sheet and starts the next; the font stays as it was set.
  virtual void NewPage() = 0;
  // Ends the document and hands it to the printer.
  virtual void EndDocument() = 0;
  // Abandons the open document after a failure part way through; nothing more is drawn.
  // Must not throw.
  virtual void AbortDocument() = 0;

  // Sets the font for the text drawn next (a font name such as "Courier New", the
  // size in points, bold or regular). Called only while a document is open.
  virtual void SetFont(const std::string& name, int pointSize, bool bold) = 0;
  // Draws `text` with its top-left corner at (x, y), device pixels from the top-left
  // corner of the printable area. Each byte is one character (canvas printing has
  // already replaced every byte above 127).
  virtual void DrawTextAt(int x, int y, const std::string& text) = 0;
};
