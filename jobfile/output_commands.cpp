#include "jobfile/output_commands.h"

#include "curvedata/context.h"
#include "formula/filters.h"
#include "jobfile/job_file.h"
#include "model/controls.h"
#include "model/job_list.h"
#include "model/message_box.h"

namespace quillex {

void DeleteSelectedOutput(Context& context) {
  if (context.run.running) return;
  // The place is taken before the question: the question's box takes the
  // focus from the list, and the list forgets its selection with it.
  int32_t place = context.screen.ListSelection(control::kOutputList);
  if (place < 0) return;
  OutputDef* output = OutputAt(context.job, static_cast<size_t>(place));
  if (output == nullptr) return;
  if (!AskYesNo(context.screen, "Delete output " + output->name + "?")) return;
  if (!DeleteOutput(context.filters, context.job, output)) return;
  context.screen.RemoveListLine(control::kOutputList, place);
  if (!context.job.filePath.empty()) DeleteOutputSection(context, place + 1);
}

}  // namespace quillex
