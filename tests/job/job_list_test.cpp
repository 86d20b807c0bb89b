#include "job/job_list.h"

#include <gtest/gtest.h>

#include "libs/sift32/sift32.h"

namespace {

OutputDef& Add(Job& job, const std::string& name) {
  auto output = std::make_unique<OutputDef>();
  output->name = name;
  return AppendOutput(job, std::move(output));
}

TEST(JobList, NewRecordsStartZeroFilled) {
  Job job;
  EXPECT_EQ(job.scale, 240.0);
  EXPECT_EQ(job.intervalFrom, IndexUnset);
  EXPECT_EQ(job.intervalTo, IndexUnset);
  EXPECT_EQ(job.runOption, kGenerateCurves);
  EXPECT_EQ(job.nextControlId, 20200);
  OutputDef output;
  EXPECT_EQ(output.step, 0);
  EXPECT_FALSE(output.compiled.has_value());
  VariableBinding node;
  EXPECT_EQ(node.kind, kNodeInput);
  EXPECT_EQ(node.value, 0.0F);
  EXPECT_EQ(node.filter, 0u);
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

TEST(JobList, DeleteUnlinksAndKeepsOrder) {
  Job job;
  OutputDef& first = Add(job, "A");
  Add(job, "B");
  Add(job, "C");
  Sift32Library filters;
  ASSERT_TRUE(DeleteOutput(filters, job, &first));
  ASSERT_EQ(job.outputs.size(), 2u);
  EXPECT_EQ(OutputAt(job, 0)->name, "B") << "the second output becomes the head";
  EXPECT_EQ(OutputAt(job, 1)->name, "C");
  OutputDef stranger;
  EXPECT_FALSE(DeleteOutput(filters, job, &stranger));
  EXPECT_EQ(job.outputs.size(), 2u);
  DeleteOutput(filters, job, OutputAt(job, 1));
  DeleteOutput(filters, job, OutputAt(job, 0));
  EXPECT_TRUE(job.outputs.empty());
}

TEST(JobList, ReleasingOutputsReleasesTheirFilters) {
  Job job;
  Sift32Library filters;
  for (const char* name : {"A", "B"}) {
    OutputDef& output = Add(job, name);
    for (int i = 0; i < 3; ++i) {
      auto node = std::make_unique<VariableBinding>();
      node->filter = Sift32Create(filters, "", "Square,3", 0, nullptr);
      output.variables.push_back(std::move(node));
    }
    output.variables.push_back(std::make_unique<VariableBinding>());  // no filter
  }
  ASSERT_EQ(filters.InstanceCount(), 6u);
  DeleteOutput(filters, job, OutputAt(job, 0));
  EXPECT_EQ(filters.InstanceCount(), 3u);
  ReleaseAllOutputs(filters, job);
  EXPECT_EQ(filters.InstanceCount(), 0u);
  EXPECT_TRUE(job.outputs.empty());
}

}  // namespace
