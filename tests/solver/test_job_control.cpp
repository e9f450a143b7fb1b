// Job control when the table of numbered units is full: every file counts
// as one that cannot be opened.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "foundation/record_files.hpp"
#include "foundation/shared_state.hpp"
#include "solver/gauss_point_report.hpp"
#include "solver/job_control.hpp"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

TEST(JobControl, NoFreeUnitIsAFileThatCannotBeOpened) {
  const fs::path dir = fs::temp_directory_path() / ("tavrin_jobcontrol_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "job.inp") << "*Step, name=a, TVR_IMPACT\n";
  std::ofstream(dir / "StepCard.tvr") << "++Begin Step, STEPID=1\n+Debug, TYPE=ELEMENT\n5\n++End Step\n";
  jobdata::jobfilepath = (dir / "job").string();
  jobdata::joboutdir = dir.string();
  errorhandling::errstat = 0;
  std::ostringstream sink;
  for (int u = 1; u <= 120; ++u) io::connect_unit(u, sink);

  const int start = 0, zero = 0, release = 3;
  const double time[2] = {0.0, 0.0}, dtime = 0.0;
  UEXTERNALDB_IOControl(&start, &zero, time, &dtime, &zero, &zero, nullptr);
  EXPECT_EQ(errorhandling::errstat, -3);
  EXPECT_FALSE(jobdata::stepid.allocated());
  EXPECT_EQ(debugdata::edebug, 0);  // the step card was not read either
  errorhandling::errstat = 0;
  const double coord[3] = {0.0, 0.0, 0.0};
  iohandling::getgausspointreport((dir / "job.rst").string(), coord, 1, 1);
  EXPECT_EQ(errorhandling::errstat, -2);
  EXPECT_FALSE(fs::exists(dir / "job.rst"));

  for (int u = 1; u <= 120; ++u) io::disconnect_unit(u);
  errorhandling::errstat = 0;
  UEXTERNALDB_IOControl(&start, &zero, time, &dtime, &zero, &zero, nullptr);
  EXPECT_EQ(errorhandling::errstat, 0);
  EXPECT_EQ(debugdata::edebug, 5);
  EXPECT_FALSE(io::unit_connected(1));  // every file was closed again
  UEXTERNALDB_IOControl(&release, &zero, time, &dtime, &zero, &zero, nullptr);
  EXPECT_FALSE(jobdata::stepid.allocated());
  jobdata::jobfilepath = "";
  jobdata::joboutdir = "";
  fs::remove_all(dir);
}

}  // namespace
}  // namespace tavrin
