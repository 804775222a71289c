// A printer canvas for tests: records every call in order, with a page size set
// by the test (portrait size given; landscape swaps width and height), and can
// be told to fail a drawing call.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/printer_canvas.h"

class RecordingCanvas final : public PrinterCanvas {
 public:
  enum class Kind { Orientation, Begin, NewPage, End, Abort, Font, Text };

  struct Call {
    Kind kind;
    int x = 0;  // Text: position; Font: point size; Orientation: 1 for landscape
    int y = 0;
    std::string text;  // Text: the text; Font: the font name, with " bold" when bold
  };

  // A printable area of `portraitWidth` x `portraitHeight` pixels in portrait.
  RecordingCanvas(int portraitWidth, int portraitHeight)
      : m_portraitWidth(portraitWidth), m_portraitHeight(portraitHeight) {}

  void SetOrientation(PageOrientation orientation) override {
    m_orientation = orientation;
    m_calls.push_back({Kind::Orientation, orientation == PageOrientation::Landscape ? 1 : 0, 0, {}});
  }
  int PageWidth() const override {
    return m_orientation == PageOrientation::Portrait ? m_portraitWidth : m_portraitHeight;
  }
  int PageHeight() const override {
    return m_orientation == PageOrientation::Portrait ? m_portraitHeight : m_portraitWidth;
  }
  void BeginDocument() override {
    if (m_open) throw std::logic_error("document begun twice");
    m_open = true;
    m_calls.push_back({Kind::Begin, 0, 0, {}});
  }
  void NewPage() override {
    RequireOpen();
    m_calls.push_back({Kind::NewPage, 0, 0, {}});
  }
  void EndDocument() override {
    RequireOpen();
    m_open = false;
    m_calls.push_back({Kind::End, 0, 0, {}});
  }
  void AbortDocument() override {
    m_open = false;
    m_calls.push_back({Kind::Abort, 0, 0, {}});
  }
  void SetFont(const std::string& name, int pointSize, bool bold) override {
    RequireOpen();
    m_calls.push_back({Kind::Font, pointSize, 0, bold ? name + " bold" : name});
  }
  void DrawTextAt(int x, int y, const std::string& text) override {
    RequireOpen();
    if (m_failingText > 0 && ++m_textCount == m_failingText) throw std::runtime_error("canvas failure");
    m_calls.push_back({Kind::Text, x, y, text});
  }

  // The `n`-th DrawTextAt from now (counted from 1) throws.
  void FailText(int n) {
    m_failingText = n;
    m_textCount = 0;
  }

  const std::vector<Call>& Calls() const { return m_calls; }
  bool DocumentOpen() const { return m_open; }

  // The text calls only.
  std::vector<Call> Texts() const {
    std::vector<Call> texts;
    for (const Call& call : m_calls)
      if (call.kind == Kind::Text) texts.push_back(call);
    return texts;
  }

  // Number of calls of one kind.
  int Count(Kind kind) const {
    int count = 0;
    for (const Call& call : m_calls) count += call.kind == kind ? 1 : 0;
    return count;
  }

  // The text calls of each sheet, split at NewPage.
  std::vector<std::vector<Call>> Sheets() const {
    std::vector<std::vector<Call>> sheets;
    for (const Call& call : m_calls) {
      if (call.kind == Kind::Begin || call.kind == Kind::NewPage) sheets.emplace_back();
      if (call.kind == Kind::Text) sheets.back().push_back(call);
    }
    return sheets;
  }

 private:
  void RequireOpen() const {
    if (!m_open) throw std::logic_error("no open document");
  }

  int m_portraitWidth;
  int m_portraitHeight;
  PageOrientation m_orientation = PageOrientation::Portrait;
  bool m_open = false;
  int m_failingText = 0;
  int m_textCount = 0;
  std::vector<Call> m_calls;
};
