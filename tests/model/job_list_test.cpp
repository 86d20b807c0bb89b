#include "model/job_list.h"

#include <gtest/gtest.h>

namespace quillex {

namespace {

OutputDef& Add(Job& job, const std::string& name) {
  auto output = std::make_unique<OutputDef>();
  output->name = name;
  return AppendOutput(job, std::move(output));
}

TEST(JobList, PlacesAreZeroBasedAndNumbersOneBased) {
  Job job;
  OutputDef& first = Add(job, "A");
  OutputDef& second = Add(job, "B");
  EXPECT_EQ(OutputAt(job, 0), &first);
  EXPECT_EQ(OutputAt(job, 1), &second);
  EXPECT_EQ(OutputAt(job, 2), nullptr);
  EXPECT_EQ(OutputNumbered(job, 1), &first);
  EXPECT_EQ(OutputNumbered(job, 2), &second);
  EXPECT_EQ(OutputNumbered(job, 0), nullptr);
  EXPECT_EQ(OutputNumbered(job, 3), nullptr);
  EXPECT_EQ(OutputNumber(job, &second), 2);
  OutputDef stranger;
  EXPECT_EQ(OutputNumber(job, &stranger), 3) << "an output not in the list goes at the end";
}

}  // namespace

}  // namespace quillex
