#include "formula/filters.h"

#include <gtest/gtest.h>

#include "model/job_list.h"

namespace quillex {

namespace {

using sift32::Sift32Library;

OutputDef& Add(Job& job, const std::string& name) {
  auto output = std::make_unique<OutputDef>();
  output->name = name;
  return AppendOutput(job, std::move(output));
}

TEST(OutputRelease, DeleteUnlinksAndKeepsOrder) {
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

TEST(OutputRelease, ReleasingOutputsReleasesTheirFilters) {
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

}  // namespace quillex
