// Module iohandling: the reading primitives of the card files and the
// solver's text files, and the readers that turn the cards, the input deck
// and the solver's data file into the shared state.
//
// Primitives work on a unit of the table of numbered units
// (foundation/record_files.hpp); a unit that is not open for reading reads
// as a read error.  Read failures latch status -2 with
// "Error: Error in <label>Read operation exited with an error." and the
// primitive returns its partial or unchanged result.
//
// The card readers run at the start of an analysis in the order step,
// section, material, damage.  Each opens <workspace>/<Card>.tvr, else the
// file `filepath` (the input deck, which may hold the card's lines), and
// returns at once, changing nothing, when neither opens.  A reader that
// opens its card recreates its tables at the card's extents with their
// presets, so a second start in one process reads a new model cleanly.
// Card errors latch -2 naming the card, line and keyword, and drop only the
// list concerned: an item that is not a number of the kind, a list longer
// than its table or of a length the keyword does not take, an index beyond
// a table, a block that is not closed.
#pragma once

#include <string_view>

#include "foundation/api.hpp"

namespace tavrin::iohandling {

// --- Primitives -------------------------------------------------------------

// Items of the data block at the current position, the first ls characters
// of skeys being the stop characters; the unit is left where it was.
TAVRIN_API int getsizeofdata(int fileid, std::string_view skeys, int ls);
// Reads the data block at the current position (stop characters "*" and
// "+") into outdata(1..count); the unit is left at the stop line.  A block
// that holds an item that is not a number, or more than n values, latches
// -2 and leaves outdata unchanged.
TAVRIN_API void real_getdatapoints(int fileid, double* outdata, int n);
TAVRIN_API void int_getdatapoints(int fileid, int* outdata, int n);
// xydata(i, j) = value (i-1)·nrows + j of the block when its item count
// divided by ndata is nrows; else -2 and the block is not consumed.
TAVRIN_API void getxydatapoints(int fileid, double* xydata, int ndata, int nrows);
// Groups of four values: xdds(1, j) and xdds(2, j) = the second and third
// value of group j; more groups than nplies latch -2, nothing stored.
TAVRIN_API void getddsfromfile(int fileid, double* xdds, int nplies);
// Searches up to ulimit lines forwards (backwards for dirflag -1) for a line
// whose first lkey characters, left-adjusted, equal the keyword's without
// regard to case.  With returnkey 1 the next read returns the last line read.
TAVRIN_API bool get2nextkey(int fileid, int dirflag, std::string_view keyword, int lkey, int ulimit,
                            const int* returnkey);
// Lines from the current position to the end whose first lkey characters,
// left-adjusted, equal the keyword's without regard to case; the unit is
// rewound at the end unless rwd is given false.
TAVRIN_API int getnumberofkeywords(int fileid, std::string_view keyword, int lkey, const int* rwd);
// Records from the current position to the end (GetFileLength).
TAVRIN_API int file_length(int fileid, bool rwd);
// Unit connected to the file, or -1.
TAVRIN_API int getunitnumber(std::string_view filename);

// --- Readers ----------------------------------------------------------------

// Step card: debug selectors and the fatigue cycle tables.
TAVRIN_API void getstepdatafromfile(std::string_view filepath, std::string_view workspace, int nsteps);
// Section card: section and ply tables, through-thickness coordinates.
TAVRIN_API void getsectiondatafromfile(std::string_view filepath, std::string_view workspace);
// Material card: per-ply property tables, temperatures, calibration tables.
TAVRIN_API void getmaterialdatafromfile(std::string_view filepath, std::string_view workspace, int nplies,
                                        int nsec);
// Damage card: damage definitions and the buckling lists of delaminations.
TAVRIN_API void getdamagedatafromfile(std::string_view filepath, std::string_view workspace, int nplies,
                                      int nsec);

// Solver data file: element and node tables of an explicit analysis.  A
// file that cannot be opened latches -3.  When memory runs out part way the
// exception goes on to the caller, with every table the read made or
// refilled released and the counts as they were: no half-read model remains.
TAVRIN_API void getabqdatafromfile(std::string_view filepath);
// Counts one host element type name (8 characters) into the extents: iele
// elements, inodes the largest node count, idof the degrees of freedom.
TAVRIN_API void getelementdataextents(std::string_view elemtype, int& iele, int& inodes, int& idof);

}  // namespace tavrin::iohandling

extern "C" {

// Records from the current position to the end of the file; the unit is
// rewound at the end unless rwd is given false (0).
TAVRIN_API int GetFileLength(const int* fileid, const int* rwd);
// First unit in first..last not connected to a file, -1 when none.
TAVRIN_API int GetFreeUnitNumber(const int* first, const int* last);
// Steps back nrwd records.
TAVRIN_API void RewindFile(const int* fileid, const int* nrwd);

}
