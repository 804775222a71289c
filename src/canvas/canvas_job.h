// One print job on a printer canvas, begun lazily: the document begins with the
// first text drawn and a new sheet starts only when text is about to go on it,
// so a job never feeds a blank sheet. A job that is left without Finish() (an
// exception part way through) aborts its document. No layout, no files.
#pragma once

#include <string>

#include "platform/printer_canvas.h"

class CanvasJob {
 public:
  explicit CanvasJob(PrinterCanvas& canvas) : m_canvas(canvas) {}
  ~CanvasJob();
  CanvasJob(const CanvasJob&) = delete;
  CanvasJob& operator=(const CanvasJob&) = delete;

  // Sets the font for the text drawn next; before the document begins it is kept and
  // set as the document begins.
  void SetFont(const std::string& name, int pointSize, bool bold);
  // Asks for the next text to go on a new sheet. Has no effect while the current
  // sheet is still empty, and several requests in a row give one new sheet.
  void BreakSheet();
  // Draws `text` at (x, y) device pixels: begins the document first, or starts the
  // sheet asked for by BreakSheet().
  void Draw(int x, int y, const std::string& text);
  // Ends the document when one was begun; a job that drew nothing prints nothing.
  void Finish();

  bool Begun() const { return m_begun; }

 private:
  PrinterCanvas& m_canvas;
  std::string m_fontName;
  int m_fontSize = 0;
  bool m_fontBold = false;
  bool m_fontSet = false;
  bool m_begun = false;
  bool m_finished = false;
  bool m_sheetUsed = false;
  bool m_breakPending = false;
};
