// Module stringhandling: the text routines.
#include "engine/descriptor.hpp"
#include "foundation/strings.hpp"

namespace tavrin::bind {
namespace {
using namespace dsl;
namespace sh = stringhandling;

TAVRIN_BINDING_MODULE(stringhandling, "text routines: cutting, comparing, counting, converting");

TAVRIN_ROUTINE(split, sh::split, out(Text, "a", "n"), out(Text, "b", "n"), in(Text, "s"),
               in(Text, "sdelim", "1"), in(Int, "n"));
TAVRIN_ROUTINE(extract, sh::extract, out(Text, "extract", "n"), in(Text, "s"), in(Text, "startkey"),
               in(Text, "stopkey"), in(Int, "n"));
TAVRIN_ROUTINE(lowercase, sh::lowercase, out(Text, "lowercase", "n"), in(Text, "s"), in(Int, "n"));
TAVRIN_ROUTINE(uppercase, sh::uppercase, out(Text, "uppercase", "n"), in(Text, "s"), in(Int, "n"));
TAVRIN_ROUTINE(match, sh::match, result(Logical, "match"), in(Text, "a"), in(Text, "b"));
TAVRIN_ROUTINE(translate, sh::translate, in(Text, "s0"), out(Text, "sout", "n"),
               in(Int, "codes", "nc,2"), in(Int, "n"), in(Int, "nc").opt("shape(codes,0)"));
TAVRIN_ROUTINE(replacetext, sh::replacetext, in(Text, "s"), in(Text, "text"), in(Text, "rep"),
               out(Text, "sout", "nout"), in(Int, "nout"));
TAVRIN_ROUTINE(reduceblanks, sh::reduceblanks, in(Text, "s"), out(Text, "sout", "nout"),
               in(Int, "nout"));
TAVRIN_ROUTINE(int2aformat, sh::int2aformat, out(Text, "j2s", "sout"), in(Int, "jrray", "n,*"),
               in(Text, "aw", "8"), in(Int, "jmax"), in(Int, "sout"), in(Int, "n").opt("shape(jrray,0)"),
               in(Int, "m").relation("m<=shape(jrray,1)"));
TAVRIN_ROUTINE(tally, sh::tally, result(Int, "tally"), in(Text, "s"), in(Text, "text"),
               in(Int, "csflag").opt("1").describe("1: case-sensitive"));
TAVRIN_ROUTINE(occurs, sh::occurs, result(Logical, "occurs"), in(Text, "a"), in(Text, "b"));
TAVRIN_ROUTINE(clen, sh::clen, result(Int, "clen"), in(Text, "s"));
TAVRIN_ROUTINE(clen_trim, sh::clen_trim, result(Int, "clen_trim"), in(Text, "s"));
TAVRIN_ROUTINE(ctrim, sh::ctrim, out(Text, "ctrim", "n"), in(Text, "s"), in(Int, "n"));
TAVRIN_ROUTINE(countitems, sh::countitems, result(Int, "countitems"), in(Text, "s0"));
TAVRIN_ROUTINE(spack, sh::spack, in(Text, "s"), in(Text, "ex"), out(Text, "sout", "ns"), in(Int, "ns"),
               in(Int, "nx"));
TAVRIN_ROUTINE(copys2a, sh::copys2a, in(Text, "s"), out(Text, "ca", "n"), in(Int, "n"));
TAVRIN_ROUTINE(copya2s, sh::copya2s, in(Text, "ca"), out(Text, "s", "n"), in(Int, "n"));
TAVRIN_ROUTINE(str2ascii, sh::str2ascii, out(Int, "ia", "n"), in(Text, "ca"), in(Int, "n"));
// From Python the text has the number's natural length: its digits and sign.
TAVRIN_ROUTINE(int2str, sh::int2str, in(Int, "integ"), out(Text, "ca", "n"), out(Int, "istat"),
               hide(Int, "n", "floor(log10(max(abs(integ),1)))+1+(integ<0)"));
TAVRIN_ROUTINE(str2int, sh::str2int, in(Text, "ca"), out(Int, "integ"), out(Int, "istat"));
TAVRIN_ROUTINE(inistringwithcharacter, sh::inistringwithcharacter,
               out(Text, "inistringwithcharacter", "n"), in(Text, "ch", "1"), in(Int, "n"));

}  // namespace
}  // namespace tavrin::bind
