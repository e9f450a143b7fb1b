// Fuzz target of the readers: the first byte picks the reader (step,
// section, material and damage card, input deck through job control, the
// solver's data file), the rest is that file in a private temporary
// directory.  Each input is read twice (the second start in one process),
// then the shared state is released.  Built with libFuzzer as card_fuzzer
// (scripts/build-card-fuzzer.sh), and as card_fuzz_replay, which runs saved
// inputs in every test run: tests/fuzz/regressions (crashing inputs once
// found) and tests/fuzz/corpus (the files of examples/analysis, each after
// its reader's byte 0-5).
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

#include "foundation/datahandling.hpp"
#include "foundation/shared_state.hpp"
#include "solver/iohandling.hpp"
#include "solver/job_control.hpp"

namespace {

namespace fs = std::filesystem;
using namespace tavrin;

const fs::path& directory() {
  static const fs::path dir = [] {
    std::string pattern = (fs::temp_directory_path() / "tavrin_cards_XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    std::atexit([] { fs::remove_all(directory()); });
    return fs::path(pattern);
  }();
  return dir;
}

void write(const std::string& name, const uint8_t* data, size_t size) {
  std::ofstream(directory() / name, std::ios::binary).write(reinterpret_cast<const char*>(data), std::streamsize(size));
}

// A model of two sections of two plies (materials 1, 2 and 2, 1) for the
// material and damage cards.
void sections() {
  const char card[] = "++Begin Section, SECID=1\n+Material\n1 2\n+Orientation\n0 90\n+Thickness\n0.1\n++End Section\n"
                      "++Begin Section, SECID=2\n+Material\n2 1\n+Orientation\n45 -45\n+Thickness\n0.2\n++End Section\n";
  write("SectionCard.tvr", reinterpret_cast<const uint8_t*>(card), sizeof card - 1);
  iohandling::getsectiondatafromfile("", directory().string());
}

void release() {
  const int lop = 3;
  const double dtime = 0.0;
  UACCESS_IOControl(&lop, &dtime);
  sectiondata::nsec = sectiondata::nplies = 1;
  damagedata::ndmg = loaddata::nimp = 0;
  AllocatableBase* const kept[] = {&materialdata::temperatures, &materialdata::i10, &materialdata::r_crit,
                                   &materialdata::regularization, &damagedata::userdds};
  for (AllocatableBase* a : kept) a->deallocate();
  errorhandling::errstat = 0;
}

void read(int reader) {
  const std::string dir = directory().string();
  switch (reader) {
    case 0: return iohandling::getstepdatafromfile("", dir, 3);
    case 1: return iohandling::getsectiondatafromfile("", dir);
    case 2: return iohandling::getmaterialdatafromfile("", dir, sectiondata::nplies, sectiondata::nsec);
    case 3: return iohandling::getdamagedatafromfile("", dir, sectiondata::nplies, sectiondata::nsec);
    case 4: {
      const int start = 0, zero = 0, end_of_increment = 2, setup = 7, kstep = 1;
      const double time[2] = {0.0, 0.0}, dtime = 1e-3;
      UEXTERNALDB_IOControl(&start, &zero, time, &dtime, &zero, &zero, nullptr);
      UEXTERNALDB_IOControl(&setup, &zero, time, &dtime, &kstep, &kstep, nullptr);
      UEXTERNALDB_IOControl(&end_of_increment, &zero, time, &dtime, &kstep, &kstep, nullptr);
      return;
    }
    default: return iohandling::getabqdatafromfile(dir + "/job.dat");
  }
}

}  // namespace

// Under AddressSanitizer an allocation beyond 1 GiB is refused (null, so the
// library's std::bad_alloc) instead of ending the run: a card may size a table
// beyond memory, and the library then refuses it as it says.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1:max_allocation_size_mb=1024"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const char* const names[] = {"StepCard.tvr", "SectionCard.tvr", "MaterialCard.tvr", "DamageCard.tvr",
                                      "job.inp", "job.dat"};
  const int reader = data[0] % 6;
  fs::remove_all(directory());
  fs::create_directories(directory());
  jobdata::jobfilepath = (directory() / "job").string();
  jobdata::joboutdir = directory().string();
  try {
    if (reader == 2 || reader == 3) sections();
    write(names[reader], data + 1, size - 1);
    read(reader);
    read(reader);
  } catch (const std::bad_alloc&) {
    // A table the card sizes beyond memory: refused, as the library says.
  }
  release();
  return 0;
}
