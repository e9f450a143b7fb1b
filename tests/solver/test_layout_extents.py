"""Hostile layout extents as a host passes them: every material and element
entry called through its C name, each layout extent in turn set to a value
of HOSTILE or to 4, the first beyond three components (and the direct and
shear components together to -1, -2147483648 and to 4, 2).  A layout the entry
refuses returns with -2 latched, touching neither its null arrays nor its
scalar outputs; a layout it accepts (honestly sized arrays) answers as the
entry's usual layout does; the accepted layouts are the ones its doc string
states.  The calls of an entry run in one forked child: a crash names the
call that was running."""
import ctypes
import dataclasses
import json
import os
import pathlib
import shutil
import subprocess

import numpy as np
import pytest

HOSTILE = (-2147483648, -1, 0, 7, 4096)
REFUSED_SCALAR = 3.25  # every real scalar of a refused call: it must come back as it went in

# C argument lists: name:i / name:d an int / real scalar, name:I(n) / name:D(n) an int / real array of n
# entries (an expression in the int arguments), name:c an 80-character text, name:n its hidden length,
# name:f a material routine.
UMAT_HEAD = ("stress:D(ntens) statev:D(nstatv) ddsdde:D(ntens*ntens) sse:d spd:d scd:d rpl:d ddsddt:D(ntens) "
             "drplde:D(ntens) drpldt:d stran:D(ntens) dstran:D(ntens) time:D(2) dtime:d temp:d dtemp:d predef:D(1) "
             "dpred:D(1) materl:c ndi:i nshr:i ntens:i nstatv:i props:D(nprops) nprops:i coords:D(3) drot:D(9) "
             "pnewdt:d celent:d dfgrd0:D(9) dfgrd1:D(9) noel:i npt:i kslay:i kspt:i")
UMAT = UMAT_HEAD + " jstep:I(4) kinc:i materl_len:n"
VUMAT_HEAD = ("nblock:i ndir:i nshr:i nstatev:i nfieldv:i nprops:i lanneal:i steptime:d totaltime:d dt:d cmname:c "
              "coordmp:D(nblock*3) charlength:D(nblock*3) props:D(nprops) density:D(nblock) "
              "straininc:D(nblock*(ndir+nshr)) relspininc:D(nblock*nshr) tempold:D(nblock) "
              "stretchold:D(nblock*(ndir+nshr)) defgradold:D(nblock*(ndir+2*nshr)) fieldold:D(nblock*nfieldv) "
              "stressold:D(nblock*(ndir+nshr)) stateold:D(nblock*nstatev) enerinternold:D(nblock) "
              "enerinelasold:D(nblock) tempnew:D(nblock) stretchnew:D(nblock*(ndir+nshr)) "
              "defgradnew:D(nblock*(ndir+2*nshr)) fieldnew:D(nblock*nfieldv) stressnew:D(nblock*(ndir+nshr)) "
              "statenew:D(nblock*nstatev) enerinternnew:D(nblock) enerinelasnew:D(nblock)")
USERMAT = ("matid:i elemid:i kdomintpt:i klayer:i ksectpt:i ldstep:i isubst:i keycut:i ndirect:i nshear:i ncomp:i "
           "nstatev:i nprop:i time:d dtime:d temp:d dtemp:d stress:D(ncomp) ustatev:D(nstatev) dsdepl:D(ncomp*ncomp) "
           "sedel:d sedpl:d epseq:d strain:D(ncomp) dstrain:D(ncomp) epspl:D(ncomp) prop:D(nprop) coords:D(3) var0:d "
           "defgrad_t:D(9) defgrad:D(9) tsstif:D(2) epszz:d var1:d var2:d var3:d var4:d var5:d var6:d var7:d var8:d")
PERIDIGM = ("stressnew:D(npoint*(ndir+nshr)) statenew:D(npoint*nstatev) stressold:D(npoint*(ndir+nshr)) "
            "stateold:D(npoint*nstatev) straininc:D(npoint*(ndir+nshr)) props:D(nprops) steptime:d totaltime:d dt:d "
            "matid:i npoint:i ndir:i nshr:i nstatev:i nprops:i")
UEL = ("rhs:D(mlvarx*nrhs) amatrx:D(ndofel*ndofel) svars:D(nsvars) energy:D(8) ndofel:i nrhs:i nsvars:i "
       "props:D(nprops) nprops:i coords:D(mcrd*nnode) mcrd:i nnode:i u:D(ndofel) du:D(mlvarx*nrhs) v:D(ndofel) "
       "a:D(ndofel) jtype:i time:D(2) dtime:d kstep:i kinc:i jelem:i params:D(3) ndload:i jdltyp:I(mdload) "
       "adlmag:D(mdload) predef:D(2*npredf*nnode) npredf:i lflags:I(5) mlvarx:i ddlmag:D(mdload) mdload:i pnewdt:d "
       "jprops:I(njprop) njprop:i period:d")
VUEL = ("nblock:i rhs:D(nblock*ndofel) amass:D(nblock*ndofel*ndofel) dtimestable:D(nblock) svars:D(nblock*nsvars) "
        "nsvars:i energy:D(nblock*12) nnode:i ndofel:i props:D(nprops) nprops:i jprops:I(njprops) njprops:i "
        "coords:D(nblock*nnode*ncrd) ncrd:i u:D(nblock*ndofel) du:D(nblock*ndofel) v:D(nblock*ndofel) "
        "a:D(nblock*ndofel) jtype:i jelem:I(nblock) time:D(2) period:d dtimecur:d dtimeprev:d kstep:i kinc:i "
        "lflags:I(3) dmassscalefactor:D(nblock) predef:D(nblock*nnode*npredef*2) npredef:i jdltyp:i adlmag:D(nblock)")
HYPELA = ("d:D(ngens*ngens) g:D(ngens) e:D(ngens) de:D(ngens) s:D(ngens) t:D(nstats) dt:D(nstats) ngens:i n:I(2) nn:i "
          "kcus:I(2) matus:I(2) ndi:i nshear:i disp:D(ndeg*nnode) dispt:D(ndeg*nnode) coord:D(ncrd*nnode) "
          "ffn:D(itel*3) frotn:D(itel*3) strechn:D(itel) eigvn:D(itel*3) ffn1:D(itel*3) frotn1:D(itel*3) "
          "strechn1:D(itel) eigvn1:D(itel*3) ncrd:i itel:i ndeg:i ndm:i nnode:i jtype:i lclass:I(2) ifr:i ifu:i "
          "nstats:i isunit:i idata:I(len_idata) rdata:D(len_rdata) cdata:c len_idata:i len_rdata:i len_cdata:i "
          "error_code:i")
USDFLD = ("field:D(nfield) statev:D(nstatv) pnewdt:d tdirect:D(9) t:D(9) celent:d time:D(2) dtime:d cmname:c orname:c "
          "nfield:i nstatv:i noel:i npt:i layer:i kspt:i kstep:i kinc:i ndi:i nshr:i coord:D(3) jmac:I(1) "
          "jmatyp:I(1) matlayo:i laccfla:i threadid:i cmname_len:n orname_len:n")
VUSDFLD = ("nblock:i nstatev:i nfieldv:i nprops:i ndir:i nshr:i jelem:I(nblock) kintpt:i klayer:i ksecpt:i kstep:i "
           "temp:D(nblock) steptime:d totaltime:d dt:d cmname:c coordmp:D(nblock*3) tdirect:D(nblock*9) "
           "t:D(nblock*9) charlength:D(nblock*3) props:D(nprops) stateold:D(nblock*nstatev) "
           "stressold:D(nblock*(ndir+nshr)) strainold:D(nblock*(ndir+nshr)) statenew:D(nblock*nstatev) "
           "field:D(nblock*nfieldv) threadid:i cmname_len:n")


def three_each(d, s):
    return 0 <= d <= 3 and 0 <= s <= 3


ELASTIC = [100e3, 10e3, 10e3, 0.3, 0.3, 0.4, 5e3, 5e3, 4e3]  # a ply: E1 .. G23


@dataclasses.dataclass
class Entry:
    args: str
    layout: dict  # the usual layout
    accepts: object  # layout -> bool
    doc: str  # what the doc string says after "Layout: "
    ints: dict = dataclasses.field(default_factory=dict)  # other int scalars (default 1)
    fill: dict = dataclasses.field(default_factory=dict)  # array values: a list (leading entries), a number or "arange"
    dfunc: str = ""  # the material routine handed to an adapter

    def cases(self):
        """The usual layout, each extent set to a hostile value or 4 in turn, and the direct and shear
        components (-1, -2147483648) and (4, 2)."""
        yield self.layout
        for name in self.layout:
            for value in HOSTILE + (4,):
                yield {**self.layout, name: value}
        split = [name for name in ("ndi", "ndir", "ndirect") if name in self.layout]
        for direct, shear in [(-1, -2147483648), (4, 2)] if split else []:
            yield {**self.layout, split[0]: direct, "nshear" if split[0] == "ndirect" else "nshr": shear}


UMAT6 = dict(ndi=3, nshr=3, ntens=6)
ANSYS6 = dict(ndirect=3, nshear=3, ncomp=6)
BLOCK = dict(nblock=1, ndir=3, nshr=3)
SOLVER_LAYOUT = "ndi + nshr = ntens, at most three of each, ntens 3, 4 or 6"
NOT_READ = "ntens 3, 4 or 6 (ndi, nshr not read)"
ANSYS_DOC = "ncomp 3, 4 or 6 (ndirect only selects the plane-stress and shell outputs, nshear not read)"
VUMAT_DOC = "nblock >= 0; ndir and nshr 0 to 3, ndir + nshr = 3, 4 or 6"


def umat(doc, accepts, props=(1000.0, 0.3), nstatv=8, args=UMAT, **ints):
    return Entry(args, UMAT6, accepts, doc, dict(nprops=len(props), nstatv=nstatv, kinc=2, **ints),
                 dict(props=list(props)))


def usermat(props=(1000.0, 0.3), nstatev=40, args=USERMAT, **kw):
    return Entry(args, ANSYS6, lambda ndirect, nshear, ncomp: ncomp in (3, 4, 6), ANSYS_DOC,
                 dict(nprop=len(props), nstatev=nstatev, keycut=5), dict(prop=list(props)), **kw)


def vumat(args, doc, accepts, props=(1000.0, 0.3), nstatev=0, **ints):
    return Entry(args, BLOCK, accepts, doc, dict(nprops=len(props), nstatev=nstatev, nfieldv=0, **ints),
                 dict(props=list(props), density=1.0, charlength=1.0))


def solver_layout(ndi, nshr, ntens):
    return three_each(ndi, nshr) and ndi + nshr == ntens and ntens in (3, 4, 6)


def umat_components(ndi, nshr, ntens):
    return ntens in (3, 4, 6)


def uel(impact):
    props = [100, 1, 1, 0, 50, 4, 8, 1, 0, 0, 0, 0.5] if impact else [100, 1, 1]
    return Entry(UEL + (" cprops:D(20)" if impact else ""), dict(ndofel=6, nnode=2, mcrd=3, nrhs=1, mlvarx=6),
                 lambda ndofel, nnode, mcrd, nrhs, mlvarx: ndofel == 6 and nnode == 2 and mcrd >= 3 and
                 nrhs in (1, 2) and mlvarx >= ndofel,
                 "ndofel 6, nnode 2, mcrd >= 3, nrhs 1 or 2, mlvarx >= ndofel",
                 dict(nprops=len(props), nsvars=20, njprop=3, ndload=0), dict(props=props, coords="arange",
                                                                              lflags=[1, 1, 2, 0, 0]))


def vuel(impact):
    props = [100, 1, 1, 0, 50, 4, 8, 1, 0, 0, 0, 0.5] if impact else [100, 1, 1]
    return Entry(VUEL + (" cprops:D(20)" if impact else ""), dict(nblock=1, ndofel=6, nnode=2, ncrd=3),
                 lambda nblock, ndofel, nnode, ncrd: nblock >= 0 and ndofel == 6 and nnode == 2 and ncrd >= 3,
                 "nblock >= 0, ndofel 6, nnode 2, ncrd >= 3",
                 dict(nprops=len(props), nsvars=20, njprops=2), dict(props=props, coords="arange",
                                                                     lflags=[17, 1, 1]))


ENTRIES = {
    "umat_lamina": umat(SOLVER_LAYOUT, solver_layout),
    "umat_hyper": umat(SOLVER_LAYOUT + " (1 to 6 with a stiffness triangle)", solver_layout),
    "umat_hail": umat("ntens 3, 4 or 6 of ndi 0 to 3 direct and at most three shear components (nshr not read)",
                      lambda ndi, nshr, ntens: ntens in (3, 4, 6) and 0 <= ndi <= 3 and ntens - ndi <= 3,
                      props=(200e3, 0.3), nstatv=13),
    "umat_sensor": umat("ndi 0 to 3 direct and ntens - ndi 0 to 3 shear components (nshr not read)",
                        lambda ndi, nshr, ntens: 0 <= ndi <= 3 and ndi <= ntens <= ndi + 3, props=(), nstatv=6,
                        args=UMAT_HEAD + " kinc:i stepid:i cprops:D(20) dprops:D(12) materl_len:n", stepid=0),
    "umat_porosity": umat(NOT_READ, umat_components, args=UMAT_HEAD + " kinc:i materl_len:n"),
    # The fibre with two temperature sets and a stiffness factor: 25 properties.
    "umat_fiber": umat(NOT_READ, umat_components, nstatv=12,
                       props=ELASTIC + [2e3, 1.5e3, 293.0] + ELASTIC + [2e3, 1.5e3, 393.0, 0.5]),
    "umat_shokrieh": umat(NOT_READ, umat_components, props=[0.0] * 150, nstatv=312),
    "umat_krause": umat("ntens 6 (ndi, nshr not read)", lambda ndi, nshr, ntens: ntens == 6, props=[0.0] * 11,
                        nstatv=42),
    "umat_prony": umat("ntens 6 (ndi, nshr not read)", lambda ndi, nshr, ntens: ntens == 6, props=[0.0] * 10,
                       nstatv=510),
    "umat_resin": umat("nstresscomp 4 or 6 (nnormal, nshr not read)", lambda ndi, nshr, ntens: ntens in (4, 6),
                       props=[0.0] * 25, nstatv=22),
    "usermat_lamina": usermat(),
    "usermat_fiber": usermat(props=ELASTIC),
    "usermat_prony": usermat(props=[0.0] * 10, nstatev=510),
    "usermat_resin": usermat(props=[0.0] * 25),
    "usermat_shokrieh": usermat(props=[0.0] * 150, nstatev=312),
    "abq_umat_to_ansys_usermat": usermat(args="dfunc:f " + USERMAT, dfunc="umat_lamina"),
    "muesli_to_abq_umat": Entry("dfunc:f " + UMAT_HEAD + " jstep:I(4) kinc:i matid:i materl_len:n", UMAT6,
                                umat_components, NOT_READ, dict(nprops=2, nstatv=8), dict(props=[1000.0, 0.3]),
                                dfunc="nothing"),
    "ansys_usermat_to_abq_umat": Entry("dfunc:f " + UMAT, UMAT6, umat_components, NOT_READ,
                                       dict(nprops=2, nstatv=8), dict(props=[1000.0, 0.3]), dfunc="usermat_lamina"),
    "vumat_lamina": vumat(VUMAT_HEAD + " cmname_len:n", VUMAT_DOC,
                          lambda nblock, ndir, nshr: nblock >= 0 and solver_layout(ndir, nshr, ndir + nshr)),
    "vumat_sensor": vumat(VUMAT_HEAD + " stepid:i cprops:D(20) dprops:D(12) cmname_len:n",
                          "nblock >= 0; ndir and nshr 0 to 3",
                          lambda nblock, ndir, nshr: nblock >= 0 and three_each(ndir, nshr), props=(), nstatev=3,
                          stepid=0),
    "vumat_cartesian": vumat(VUMAT_HEAD + " cmname_len:n", "nblock >= 0; ndir 3, nshr 3",
                             lambda nblock, ndir, nshr: nblock >= 0 and ndir == 3 and nshr == 3, props=ELASTIC,
                             nstatev=82),
    "vumat_bogenfeld": vumat(VUMAT_HEAD + " cmname_len:n", "nblock >= 0; ndir 3, nshr 3 or 1",
                             lambda nblock, ndir, nshr: nblock >= 0 and ndir == 3 and nshr in (1, 3), props=ELASTIC,
                             nstatev=46),
    "upermat_lamina": Entry(PERIDIGM, dict(npoint=1, ndir=3, nshr=3),
                            lambda npoint, ndir, nshr: npoint >= 0 and solver_layout(ndir, nshr, ndir + nshr),
                            "npoint >= 0; ndir and nshr 0 to 3, ndir + nshr = 3, 4 or 6", dict(nprops=2, nstatev=8),
                            dict(props=[1000.0, 0.3])),
    "hypela_lamina": Entry(HYPELA, dict(ngens=6), lambda ngens: True, "any ngens (none written when ngens <= 0)",
                           dict(nstats=1, ncrd=3, itel=3, ndeg=3, nnode=4, len_idata=1, len_rdata=1, error_code=5)),
    "usdfld_dmg": Entry(USDFLD, dict(ndi=3, nshr=3), lambda ndi, nshr: True, "ndi, nshr not read",
                        dict(nfield=7, nstatv=40)),
    "vusdfld_dmg": Entry(VUSDFLD, BLOCK, lambda nblock, ndir, nshr: nblock >= 0 and three_each(ndir, nshr),
                         "nblock >= 0; ndir and nshr 0 to 3", dict(nstatev=40, nfieldv=7, nprops=0)),
    "uel_truss": uel(False),
    "uel_impact": uel(True),
    "vuel_truss": vuel(False),
    "vuel_impact": vuel(True),
}
ENTRIES["abq_umat_to_peridigm_upermat"] = dataclasses.replace(ENTRIES["upermat_lamina"], args="dfunc:f " + PERIDIGM,
                                                              dfunc="umat_lamina")


def parsed(args):
    """[(name, kind, size expression)] of an argument list."""
    out = []
    for token in args.split():
        name, form = token.split(":")
        out.append((name, form[0], form[2:-1] if "(" in form else ""))
    return out


def library():
    maps = pathlib.Path("/proc/self/maps").read_text().split()
    return ctypes.CDLL(next(p for p in maps if p.endswith("/libtavrin.so")))


def routine(tv, name):
    return getattr(tv.toplevel, name, None) or getattr(tv.wrapper, name)


NOTHING = ctypes.CFUNCTYPE(None, *[ctypes.c_void_p] * 38, ctypes.c_size_t)(lambda *args: None)


def call(tv, lib, entry, fn, layout, honest):
    """One call; (status, message, whether every scalar came back as it went in)."""
    signature = parsed(entry.args)
    ints = {**{name: 1 for name, kind, _ in signature if kind == "i"}, **entry.ints, **layout}
    args, scalars, keep = [], [], []
    for name, kind, size in signature:
        if kind in "id":
            value = ints[name] if kind == "i" else (0.0 if honest else REFUSED_SCALAR)
            buf = (ctypes.c_int if kind == "i" else ctypes.c_double)(value)
            scalars.append((buf, value))
            args.append(ctypes.byref(buf))
        elif kind == "n":
            args.append(ctypes.c_size_t(80))
        elif not honest:
            args.append(None)  # arrays, texts and the material routine of a refused layout
        elif kind == "f":
            dfunc = NOTHING if entry.dfunc == "nothing" else ctypes.cast(getattr(lib, entry.dfunc), ctypes.c_void_p)
            args.append(dfunc)
        elif kind == "c":
            keep.append(ctypes.create_string_buffer(b"PLY".ljust(80)))
            args.append(keep[-1])
        else:
            a = np.zeros(eval(size, {}, {k: max(v, 0) for k, v in ints.items()}), np.int32 if kind == "I" else float)
            f = entry.fill.get(name)
            if isinstance(f, list):
                a[:len(f)] = f
            elif f == "arange":
                a[:] = np.arange(a.size)
            elif f is not None:
                a[:] = f
            keep.append(a)
            args.append(ctypes.c_void_p(a.ctypes.data))
    tv.errorhandling.rsxerr(True)
    fn(*args)
    status = int(tv.errorhandling.errstat)
    message = tv.errorhandling.errstring.tobytes().decode().rstrip() if status else ""
    return status, message, all(buf.value == value for buf, value in scalars)


def run_in_child(tv, name, entry):
    """The entry's calls in one forked child: [(layout, accepted, result)], and the layout whose call ended
    the child (None when it ran through)."""
    lib = library()
    fn = getattr(lib, name)
    fn.restype = None
    cases = list(entry.cases())
    read, write = os.pipe()
    pid = os.fork()
    if pid == 0:
        status = 1
        try:
            os.close(read)
            for i, layout in enumerate(cases):
                os.write(write, f"start {i}\n".encode())
                honest = i == 0 or entry.accepts(**layout)
                os.write(write, (json.dumps([i, *call(tv, lib, entry, fn, layout, honest)]) + "\n").encode())
            status = 0
        finally:
            os._exit(status)
    os.close(write)
    with os.fdopen(read) as pipe:
        lines = pipe.read().splitlines()
    _, wait = os.waitpid(pid, 0)
    results = [json.loads(line) for line in lines if not line.startswith("start")]
    crashed = None if os.WIFEXITED(wait) and os.WEXITSTATUS(wait) == 0 else cases[int(lines[-1].split()[1])]
    return [(cases[i], status, message, kept) for i, status, message, kept in results], crashed


@pytest.mark.parametrize("name", ENTRIES)
def test_hostile_layouts_are_refused_before_any_array_is_touched(fresh, name):
    entry = ENTRIES[name]
    doc = " ".join(routine(fresh, name).__doc__.split())
    assert f"Layout: {entry.doc}" in doc
    results, crashed = run_in_child(fresh, name, entry)
    assert crashed is None, f"{name}{crashed} ended the process"
    (_, status0, message0, _), wrong = results[0], []
    for layout, status, message, kept in results[1:]:
        if entry.accepts(**layout):
            ok = (status, message) == (status0, message0)
        else:
            ok = status == -2 and kept and message and (status0 != -2 or message != message0)
        if not ok:
            wrong.append((layout, status, message, kept))
    assert not wrong, f"{name} (usual layout: {status0} '{message0}'): {wrong}"


@pytest.mark.skipif(not shutil.which("c++filt"), reason="reads the C types of the entries with c++filt")
def test_the_argument_lists_above_are_the_entries_own(tv):
    """The kinds and count of each argument list against the entry's C type (its _cpointer's name)."""
    name_of = ctypes.pythonapi.PyCapsule_GetName
    name_of.restype, name_of.argtypes = ctypes.c_char_p, [ctypes.py_object]
    kind = {"int": "i", "double": "d", "char": "c", "unsigned long": "n"}
    for name, entry in ENTRIES.items():
        mangled = name_of(routine(tv, name)._cpointer).decode()
        text = subprocess.run(["c++filt", "-t", mangled], capture_output=True, text=True, check=True).stdout.strip()
        inner, depth, parts, part = text[text.index("(*)(") + 4:-1], 0, [], ""
        for ch in inner + ",":
            depth += (ch == "(") - (ch == ")")
            if ch == "," and depth == 0:
                parts.append(part.strip())
                part = ""
            else:
                part += ch
        c_kinds = ["f" if "(*)" in p else kind[p.replace(" const", "").rstrip("*")] for p in parts]
        assert c_kinds == [k.lower() for _, k, _ in parsed(entry.args)], name
