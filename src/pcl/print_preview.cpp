#include "pcl/print_preview.h"

#include "browser/page_list.h"
#include "pcl/pcl_compose.h"
#include "pcl/print_commands.h"

std::optional<PrintPreviewJob> BuildPrintPreview(const PageList& list, const PrintPreviewRequest& request,
                                                 const std::tm& now) {
  const CheckedPages checked = CheckedPagesOf(list, request.baseFolder);
  if (!checked.anyChecked) return std::nullopt;
  PrintPreviewJob job;
  job.printMode = request.printMode;
  job.modeLetter = ModeLetter(request.printMode);
  job.legalPaper = request.legalPaper;
  job.duplexPrint = request.duplexPrint;
  job.jobNumberText = JobNumberText(NextJobNumber(request.jobNumber));
  const PrintStamp stamp = MakePrintStamp(now, job.jobNumberText);
  job.printText = ComposePrintText(checked.paths, &stamp);
  if (IsPclMode(request.printMode))
    job.pclJob = ComposePclJob(job.printText, job.modeLetter, job.legalPaper, job.duplexPrint);
  return job;
}
