#include "canvas/canvas_job.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

#include "support/recording_canvas.h"

namespace {

using Kind = RecordingCanvas::Kind;

std::vector<Kind> KindsOf(const RecordingCanvas& canvas) {
  std::vector<Kind> kinds;
  for (const auto& call : canvas.Calls()) kinds.push_back(call.kind);
  return kinds;
}

TEST(CanvasJob, BeginsWithTheFirstTextAndSetsTheKeptFont) {
  RecordingCanvas canvas(100, 100);
  CanvasJob job(canvas);
  job.SetFont("Courier New", 9, true);
  job.BreakSheet();  // nothing on the sheet yet: no effect
  EXPECT_TRUE(canvas.Calls().empty());
  job.Draw(1, 2, "t");
  job.Finish();
  EXPECT_EQ(KindsOf(canvas), (std::vector<Kind>{Kind::Begin, Kind::Font, Kind::Text, Kind::End}));
}

TEST(CanvasJob, SheetBreaksAreTakenOnlyForTextAndCollapse) {
  RecordingCanvas canvas(100, 100);
  CanvasJob job(canvas);
  job.Draw(0, 0, "one");
  job.BreakSheet();
  job.BreakSheet();
  job.Draw(0, 0, "two");
  job.BreakSheet();  // nothing follows: no sheet
  job.Finish();
  EXPECT_EQ(KindsOf(canvas), (std::vector<Kind>{Kind::Begin, Kind::Text, Kind::NewPage, Kind::Text, Kind::End}));
}

TEST(CanvasJob, JobWithoutTextPrintsNothing) {
  RecordingCanvas canvas(100, 100);
  CanvasJob job(canvas);
  job.SetFont("Courier New", 7, true);
  job.Finish();
  EXPECT_TRUE(canvas.Calls().empty());
}

TEST(CanvasJob, FailureAfterBeginAbortsTheDocument) {
  RecordingCanvas canvas(100, 100);
  canvas.FailText(2);
  try {
    CanvasJob job(canvas);
    job.Draw(0, 0, "one");
    job.Draw(0, 0, "two");
    job.Finish();
    ADD_FAILURE() << "no failure";
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(KindsOf(canvas), (std::vector<Kind>{Kind::Begin, Kind::Text, Kind::Abort}));
  EXPECT_FALSE(canvas.DocumentOpen());
}

}  // namespace
