// Module iohandling, primitives: reading the data blocks and keyword lines of
// the card files and the solver's text files on numbered units, free units,
// and the integer tags of host material names.
#include "engine/descriptor.hpp"
#include "solver/iohandling.hpp"
#include "solver/name_tags.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
namespace ioh = tavrin::iohandling;

constexpr const char* module_doc =
    "reading the card files, the input deck and the solver's data and message files.\n\n"
    "The readers turn the four card files (StepCard.tvr, SectionCard.tvr, MaterialCard.tvr, DamageCard.tvr in "
    "the output directory, each falling back to the input deck) and the solver's data file into the shared "
    "state: debugdata, shokriehdata, sectiondata, materialdata, damagedata, bukdata, elementdata and nodaldata.  "
    "A card line is a keyword line (\"+Keyword\" from column 1, optionally \", TYPE=value\"), a block line "
    "(\"++Begin Kind, TAG=id\" ... \"++End Kind\") or a data line; a data block runs to the next line that "
    "begins with \"*\" or \"+\".  Items are separated by blanks, tabs or commas; numbers take the free-form "
    "Fortran forms (1., .5, 1D-3).  A card that cannot be read as written loses only the list concerned, "
    "and errorhandling.errstat becomes -2 with the card, line and keyword in errstring (its line in errintv); "
    "a file that cannot be opened where it must be gives -3.  The primitives work on numbered units "
    "(1 to 120) of the library's record files; a unit that is not open reads as a read error (-2).";
constexpr Arg fileid = in(Int, "fileid").describe("unit number of an open file");

TAVRIN_BINDING_MODULE(iohandling, module_doc);
TAVRIN_ROUTINE_DOC(getsizeofdata, ioh::getsizeofdata,
                   "number of items in the data block at the current position of a unit, which is left there",
                   result(Int, "getsizeofdata").describe("items separated by blanks, tabs or commas"), fileid,
                   in(Text, "skeys").describe("stop characters: a line that begins with one ends the block"),
                   in(Int, "ls").describe("number of characters of skeys used"));
TAVRIN_ROUTINE_DOC(real_getdatapoints, ioh::real_getdatapoints,
                   "reads the data block at the current position of a unit as reals, leaving the unit at the "
                   "line that ends it",
                   fileid,
                   inout(Real, "outdata", "n").describe("receives the block's values in outdata(1..count); "
                                                         "unchanged (status -2) when an item is not a number or "
                                                         "the block holds more than n values"),
                   in(Int, "n").opt("len(outdata)").describe("entries of outdata"));
TAVRIN_ROUTINE_DOC(int_getdatapoints, ioh::int_getdatapoints,
                   "reads the data block at the current position of a unit as integers, leaving the unit at the "
                   "line that ends it",
                   fileid,
                   inout(Int, "outdata", "n").describe("receives the block's values in outdata(1..count); "
                                                        "unchanged (status -2) when an item is not an integer or "
                                                        "the block holds more than n values"),
                   in(Int, "n").opt("len(outdata)").describe("entries of outdata"));
TAVRIN_ROUTINE_DOC(getxydatapoints, ioh::getxydatapoints,
                   "reads the data block at the current position as a table of ndata rows of nrows values",
                   fileid,
                   out(Real, "xydata", "ndata,nrows")
                       .describe("xydata(i,j) = value (i-1)*nrows + j of the block; zero (status -2, block not "
                                 "read) when the item count divided by ndata is not nrows"),
                   in(Int, "ndata").describe("rows of the table (at least 1)"),
                   in(Int, "nrows").describe("values per row"));
TAVRIN_ROUTINE_DOC(getddsfromfile, ioh::getddsfromfile,
                   "reads a damage descriptor: groups of four values per ply, of which the second and third are kept",
                   fileid,
                   out(Real, "xdds", "3,nplies")
                       .describe("xdds(1,j), xdds(2,j) = second and third value of group j; zero beyond the groups "
                                 "given and in row 3; zero (status -2) when there are more groups than plies"),
                   in(Int, "nplies").describe("plies (columns of xdds)"));
TAVRIN_ROUTINE_DOC(get2nextkey, ioh::get2nextkey,
                   "searches the next line (or, backwards, the previous one) that begins with a keyword",
                   result(Logical, "get2nextkey").describe("1 when a line matched within ulimit lines"), fileid,
                   in(Int, "dirflag").describe("-1 backwards (from the end of the file: from its last line), "
                                               "else forwards"),
                   in(Text, "keyword").describe("compared without regard to case with each line, left-adjusted"),
                   in(Int, "lkey").describe("characters compared (the shorter side padded with blanks)"),
                   in(Int, "ulimit").describe("largest number of lines read"),
                   in(Int, "returnkey").opt("0").describe("1: step back one line at the end, so that the next read "
                                                          "returns the matching (or last) line"));
TAVRIN_ROUTINE_DOC(getnumberofkeywords, ioh::getnumberofkeywords,
                   "number of lines from the current position to the end that begin with a keyword",
                   result(Int, "getnumberofkeywords").describe("lines whose first lkey characters, left-adjusted, "
                                                               "equal the keyword's without regard to case"),
                   fileid, in(Text, "keyword").describe("the keyword, e.g. *Step"),
                   in(Int, "lkey").describe("characters compared"),
                   in(Logical, "rwd").opt("1").describe("1: rewind the unit at the end"));
TAVRIN_ROUTINE_DOC(getfilelength, GetFileLength, "number of lines from the current position to the end of a file",
                   result(Int, "getfilelength").describe("lines read"), fileid,
                   in(Logical, "rwd").opt("1").describe("1: rewind the unit at the end"));
TAVRIN_ROUTINE_DOC(getunitnumber, ioh::getunitnumber, "unit number on which a file is open",
                   result(Int, "getunitnumber").describe("the unit, or -1 when the file is not open"),
                   in(Text, "filename").describe("path of the file (trailing blanks ignored)"));
TAVRIN_ROUTINE_DOC(getfreeunitnumber, GetFreeUnitNumber, "first unit number in a range that no file is open on",
                   result(Int, "getfreeunitnumber").describe("the unit, or -1 when every unit of the range is "
                                                             "taken or first > last (units start at 1; 5 and 6 are "
                                                             "standard input and output)"),
                   in(Int, "first").describe("first unit tried"), in(Int, "last").describe("last unit tried"));
TAVRIN_ROUTINE_DOC(rewindfile, RewindFile, "steps a unit back by a number of lines (not to the start)",
                   fileid, in(Int, "nrwd").describe("lines stepped back; nothing for nrwd <= 0"));
TAVRIN_ROUTINE_DOC(getxidfromstring, ioh::getxidfromstring,
                   "integer tagged in a host material name as _x@n@ for a letter x",
                   result(Int, "getxidfromstring").describe("n, or notfound"),
                   in(Text, "s").describe("the material name"),
                   in(Int, "ls").describe("characters of s searched"),
                   in(Text, "xind").describe("the letter, any case: l ply, s section id, m material id, d or i; "
                                             "any other gives notfound"),
                   in(Int, "notfound").opt("-1").describe("returned when the tag is absent or not an integer"));

}  // namespace
}  // namespace tavrin::bind
