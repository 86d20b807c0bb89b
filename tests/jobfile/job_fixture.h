// A context on a fresh home folder, with the unit list loaded, for job-file
// tests; files are written and read as raw bytes.
#pragma once

#include "curvedata/context.h"
#include "curvedata/index_value.h"
#include "curvedata/unit_list.h"
#include "jobfile/job_file.h"
#include "tests/profile/profile_fixture.h"
#include "tests/support/scripted_screen.h"

namespace quillex {

using profile::Bytes;
using profile::ProfileFolder;
using profile::PutBytes;

class JobFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(dorvex::DorvexInitializeAt(context_.dorvex, home_), 1);
    SetIndexFactor(context_);
    LoadUnitList(context_);
  }

  // Puts a job file into the job folder and loads it.
  bool Load(const std::string& name, const std::string& bytes) {
    PutBytes(jobs_ + name, bytes);
    context_.job.filePath = jobs_ + name;
    return LoadJob(context_);
  }
  // A file of the job folder, "" when there is none.
  std::string Saved(const std::string& name) const { return Bytes(jobs_ + name).value_or(""); }

  ProfileFolder folder_;
  const std::string home_ = folder_.path();
  const std::string jobs_ = home_ + "/jobs/";
  ScriptedScreen screen_;
  Context context_{screen_};
};

}  // namespace quillex
