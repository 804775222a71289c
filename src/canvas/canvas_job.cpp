#include "canvas/canvas_job.h"

CanvasJob::~CanvasJob() {
  if (!m_begun || m_finished) return;
  // Runs while an exception leaves the job: the printer must not keep an open document,
  // and nothing may escape a destructor.
  try {
    m_canvas.AbortDocument();
  } catch (...) {
  }
}

void CanvasJob::SetFont(const std::string& name, int pointSize, bool bold) {
  m_fontName = name;
  m_fontSize = pointSize;
  m_fontBold = bold;
  m_fontSet = true;
  if (m_begun) m_canvas.SetFont(name, pointSize, bold);
}

void CanvasJob::BreakSheet() {
  if (m_sheetUsed) m_breakPending = true;
}

void CanvasJob::Draw(int x, int y, const std::string& text) {
  if (!m_begun) {
    m_canvas.BeginDocument();
    m_begun = true;
    if (m_fontSet) m_canvas.SetFont(m_fontName, m_fontSize, m_fontBold);
  } else if (m_breakPending) {
    m_canvas.NewPage();
  }
  m_breakPending = false;
  m_sheetUsed = true;
  m_canvas.DrawTextAt(x, y, text);
}

void CanvasJob::Finish() {
  if (!m_begun || m_finished) return;
  m_finished = true;
  m_canvas.EndDocument();
}
