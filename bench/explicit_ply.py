"""One explicit increment of toplevel.vumat_cartesian per block, in one run:
natively per point (the Google Benchmark program bench_explicit when it is
built: criterion sets 1 and 3, blocks of 1 and 128, heap allocations per
call), through _tavrin on blocks of 1 and 128 points, and as a plain NumPy
implementation of the set-1 stages vectorised over the same block (moduli
by the strain's sign, Matzenmiller's stiffness, strain measures, the
quadratic nominal criterion per mode, weighted onset, bilinear softening,
stiffness damage from the mode damages, rate damping, deletion, energies),
whose results are first checked against ours.

    .venv/bin/python bench/explicit_ply.py

Targets: the _tavrin call at least 10 times faster than NumPy on a block of
1 and 3 times on a block of 128; no heap allocation per point natively.
The native numbers need a build with benchmarks:

    cmake -S . -B build-bench -DTAVRIN_BUILD_BENCH=ON && cmake --build build-bench --target bench_explicit
"""
import json
import os
import pathlib
import subprocess
import sys

os.environ.setdefault("OPENBLAS_NUM_THREADS", "1")
import numpy as np  # noqa: E402

root = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(root / "build" / "python"))
sys.path.insert(0, str(root / "bench"))
import _tavrin  # noqa: E402
from timing import per_call  # noqa: E402

# The ply of bench_explicit.cpp: criterion set 1, strain measures,
# stiffness degradation, damping of the strain rate.
PROPS = np.array([140e3, 9e3, 9e3, 4.6e3, 4.6e3, 3.1e3, 0.32, 0.32, 0.45, 2000, 60, 60, 1200, 200, 200, 90, 90, 60,
                  120e3, 10e3, 0, 4.6e3, 0, 0, 90, 80, 0.3, 1.0, 0.3, 1e-9, 1e-12, 0, 1, 1, 0, 0, 0, 1, 0])
DT, DENSITY = 1e-6, 1.6e-9
# Coupling of the mode damages (columns) into the stiffness damages (rows).
H, T = 0.5, 1.0 / 3.0
COUPLING = np.array([[1, H, 0, 0, 0, 0, 0, 0, 0], [H, 1, 0, 0, 0, 0, 0, 0, 0], [0, 0, 1, 1, 0, H, 1, H, H],
                     [0, 0, 0, T, 0, T, 0, T, 0], [0, 0, 0, 0, 1, 0, 0, 0, H], [0, 0, 0, T, 0, T, 0, 0, 0],
                     [1, 1, 1, H, 0, H, 1, H, 0], [0, 0, 1, 1, 0, 1, 1, 1, 1], [1, 1, 0, H, 0, H, 0, H, 1]])
WMAX = np.array([0.999, 0.99, 0.9999, 0.9, 0.0, 0.7, 0.99, 0.999, 0.99])
A_SHEAR = np.array([0.0, 0.25, 1.0, 0.0, 1.0, 0.0])
SH1, SH2, NNC = [6, 6, 7, 7, 8, 8], [8, 8, 6, 6, 7, 7], [0, 0, 1, 1, 2, 2]


def numpy_set1(p, state, stressold, de, lengths, density, eint):
    """The set-1 stages of vumat_cartesian on a block, in NumPy."""
    e11t, e22t, e33, g12, g13, g23, nu12, nu13, nu23 = p[:9]
    e11c, e22c = p[18], p[19]
    strength = np.array([p[9], abs(p[12]), p[10], abs(p[13]), p[11], abs(p[14]), p[15], p[17], p[16]])
    gc = np.array([p[24], p[25], p[26], p[27], p[28], p[28], 0, 0, 0])
    xi = strength / np.array([e11t, e11c, e22t, e22c, e33, e33, 2 * g12, 2 * g23, 2 * g13])
    total = state[:, 20:26] + de
    elastic = total - state[:, 26:32]
    rs_old, fail = state[:, 9:18], state[:, 71:80].copy()
    tension = total[:, :3] > 0
    e1, e2 = np.where(tension[:, 0], e11t, e11c), np.where(tension[:, 1], e22t, e22c)

    def working(w):
        return np.column_stack([np.where(tension[:, k], w[:, 2 * k], w[:, 2 * k + 1]) for k in range(3)] +
                               [w[:, 6], w[:, 7], w[:, 8]])

    def stiffness(d):
        w1, w2, w3 = (1 - d[:, k] for k in range(3))
        nu21, nu31, nu32 = nu12 * e2 / e1, nu13 * e33 / e1, nu23 * e33 / e2
        delta = 1 - w1 * w2 * nu12 * nu21 - w2 * w3 * nu23 * nu32 - w1 * w3 * nu13 * nu31 - 2 * nu12 * nu23 * nu31 * w1 * w2 * w3
        c = np.zeros((len(d), 6, 6))
        c[:, 0, 0] = (1 - w2 * w3 * nu23 * nu32) * e1 * w1 / delta
        c[:, 1, 1] = (1 - w1 * w3 * nu13 * nu31) * e2 * w2 / delta
        c[:, 2, 2] = (1 - w1 * w2 * nu12 * nu21) * e33 * w3 / delta
        c[:, 0, 1] = c[:, 1, 0] = (nu21 + nu23 * nu31 * w3) * e1 * w1 * w2 / delta
        c[:, 0, 2] = c[:, 2, 0] = (nu31 + nu21 * nu32 * w2) * e1 * w1 * w3 / delta
        c[:, 1, 2] = c[:, 2, 1] = (nu32 + w1 * nu12 * nu31) * e2 * w2 * w3 / delta
        c[:, 3, 3], c[:, 4, 4], c[:, 5, 5] = (2 * (1 - d[:, 3]) * g12, 2 * (1 - d[:, 4]) * g23, 2 * (1 - d[:, 5]) * g13)
        return c

    trial = np.einsum("nij,nj->ni", stiffness(working(state[:, :9])), elastic)
    parts = lambda v: np.column_stack([f(v[:, k], 0) for k in range(3) for f in (np.maximum, np.minimum)])
    effort = np.column_stack([parts(elastic), np.minimum(xi[6:], np.abs(elastic[:, 3:]))])
    dc = np.column_stack([effort[:, :6], elastic[:, 3:]])
    sc = np.column_stack([parts(trial), trial[:, 3:]])
    w = np.sqrt(A_SHEAR)
    fresh = rs_old[:, :6] <= 0
    criterion = np.sqrt((effort[:, :6] / xi[:6]) ** 2 + (w * effort[:, SH1] / xi[SH1]) ** 2 +
                        (w * effort[:, SH2] / xi[SH2]) ** 2)
    fail[:, :6] = np.where(fresh, criterion, fail[:, :6])
    eq = np.sqrt(dc[:, :6] ** 2 + (w * dc[:, SH1]) ** 2 + (w * dc[:, SH2]) ** 2)
    with np.errstate(all="ignore"):
        onset = fresh & (fail[:, :6] >= 1)
        e0 = eq / fail[:, :6] ** 0.25
        s0 = (np.abs(w * dc[:, SH1] * sc[:, SH1]) + dc[:, :6] * sc[:, :6] + np.abs(w * dc[:, SH2] * sc[:, SH2])) / e0
        g = (w * gc[SH1] * sc[:, SH1] ** 2 + gc[:6] * sc[:, :6] ** 2 + w * gc[SH2] * sc[:, SH2] ** 2) / s0 ** 2
        ef = np.maximum(2 * g / (np.abs(s0) * lengths[:, NNC]), 1.1 * e0)
        e0 = np.where(onset, e0, state[:, 44:50])
        ef = np.where(onset, ef, state[:, 53:59])
        d = ef / (ef - e0) * (1 - e0 / eq)
    old = rs_old[:, :6]
    grown = np.where(d > 0, np.minimum(np.maximum(old, d), 1), np.where(old > 0, np.minimum(old, 1), 0))
    rs = rs_old.copy()
    rs[:, :6] = np.where(onset | (old > 0), grown, 0)
    w_stat = np.clip((rs[:, None, :] * COUPLING).max(axis=2), 0, WMAX)
    r = de / DT
    excess = np.abs(r) - 500
    r2 = np.where(excess > 0, np.copysign(np.where(excess > 5000, 2.5e7, excess ** 2), r), 0)
    strain = elastic + p[29] * r + p[30] * r2 + p[31] * np.abs(r2) * r
    stress = np.einsum("nij,nj->ni", stiffness(working(w_stat)), strain)
    new = state.copy()
    new[:, :9], new[:, 9:18], new[:, 20:26], new[:, 71:80] = w_stat, rs, total, fail
    new[:, 44:50] = np.where(onset, e0, new[:, 44:50])
    new[:, 53:59] = np.where(onset, ef, new[:, 53:59])
    new[:, 62:68] = np.where(onset, s0, new[:, 62:68])
    new[:, 18] = np.where((state[:, 18] != 0) & (w_stat[:, 0] + w_stat[:, 1] >= 0.9 * (WMAX[0] + WMAX[1])), 0,
                          state[:, 18])
    f = new[:, 18]
    mid = 0.5 * (stress + stressold) * de
    power = (mid[:, :3].sum(1) + 2 * mid[:, 3:].sum(1)) / density
    energy = (0.5 * (stress[:, :3] * elastic[:, :3]).sum(1) + (stress[:, 3:] * elastic[:, 3:]).sum(1)) / density
    internal = eint + power * f
    return stress, new, internal, internal - energy * f


class Block:
    """n points strained along (6e-3, 4e-3, 0, 6e-3, 0, 0) in steps of a
    tenth; the timed increment starts after the eighth step (fibre,
    transverse and shear modes past onset)."""

    def __init__(self, n):
        z = np.zeros
        self.n = n
        self.de = np.asfortranarray(np.tile([6e-4, 4e-4, 0.0, 6e-4, 0.0, 0.0], (n, 1)))
        self.de[:, 1] *= np.linspace(0.5, 1.5, n)  # the points differ
        self.lengths, self.density = np.ones((n, 3), order="F"), np.full(n, DENSITY)
        self.fixed = (z((n, 3), order="F"), z((n, 3), order="F"), z(n), z((n, 6), order="F"),
                      z((n, 9), order="F"), z((n, 1), order="F"))
        self.stress, self.state, self.eint = z((n, 6), order="F"), z((n, 82), order="F"), z(n)
        self.state[:, 18] = 1.0
        for _ in range(8):
            self.stress, self.state, self.eint, _ = self.ours()

    def ours(self):
        coord, spin, temp, stretch, defgrad, field = self.fixed
        return _tavrin.toplevel.vumat_cartesian(3, 0, 1.0, 1.0, DT, "PLY", coord, self.lengths, PROPS, self.density,
                                                self.de, spin, temp, stretch, defgrad, field, self.stress, self.state,
                                                self.eint, self.eint, temp, stretch, defgrad, field)

    def numpy(self):
        return numpy_set1(PROPS, self.state, self.stress, self.de, self.lengths, self.density, self.eint)


def native():
    for build in ("build-bench", "build"):
        program = root / build / "bench" / "bench_explicit"
        if program.exists():
            out = subprocess.run([str(program), "--benchmark_format=json", "--benchmark_min_time=0.2"],
                                 capture_output=True, text=True, check=True).stdout
            # Names end in the block size: increment/set1/128.
            return {b["name"]: (b["real_time"] / int(b["name"].split("/")[-1]), b["allocs/call"])
                    for b in json.loads(out)["benchmarks"]}
    return None


def main():
    nat = native()
    if nat is None:
        print("native: build-bench/bench/bench_explicit not built (see this script's doc string)")
    else:
        print("native, one increment            ns/point  allocs/call")
        for name, (ns, allocs) in nat.items():
            print(f"  {name:30s} {ns:9.0f} {allocs:9.0f}")
    print("set 1 per call (µs)      _tavrin     numpy    ratio  target")
    for n, target in ((1, 10), (128, 3)):
        b = Block(n)
        for got, want in zip(b.ours(), b.numpy()):
            np.testing.assert_allclose(got, want, rtol=1e-11, atol=1e-13)
        t = per_call({"ours": b.ours, "numpy": b.numpy})
        ratio = t["numpy"] / t["ours"]
        print(f"  block of {n:3d}          {t['ours'] * 1e6:9.1f} {t['numpy'] * 1e6:9.1f} {ratio:7.1f}x  {target:4d}x")


if __name__ == "__main__":
    main()
