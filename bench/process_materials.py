"""The Prony viscoelastic ply per material point, in one run: natively (the
Google Benchmark program build/bench/bench_process_materials when it is
built), through _tavrin (toplevel.umat_prony) and as a plain NumPy
implementation of the same relaxation update (shift factors, the 39 internal
stresses of five sets of three terms as one array, stress and relaxed
tangent), whose results are first checked against ours; and the resin
routine (model 1 with its numerical tangent) per point natively.

    .venv/bin/python bench/process_materials.py

Target: the _tavrin call of umat_prony at least 10 times faster than the
NumPy update.  The native numbers need a build with benchmarks:

    cmake -S . -B build-bench -DTAVRIN_BUILD_BENCH=ON && cmake --build build-bench --target bench_process_materials
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

# The point of bench_process_materials.cpp: counts, C11, C12, C22, C23, C44, (p, τ) × 3 per entry.
PROPS = np.r_[[3] * 5, 9000.0, 4000.0, 8000.0, 3500.0, 2500.0,
              [v for s in range(5) for k in range(3) for v in (0.1 + 0.05 * k, 10.0 * (1 + s) * (1, 30, 900)[k])]]
MASTER = [17.4, 51.6, 1000.0, 10.0, 12.0, 45.0, 1500.0, 5.0]  # C1, C2, B, ΔT of the two shift factors
STRAN = np.array([1e-3, -4e-4, -3e-4, 5e-4, 2e-4, -1e-4])
DSTRAN = np.array([2e-5, -1e-5, 5e-6, 1e-5, -5e-6, 3e-6])
TEMP, TG, DT = 350.0, 320.0, 0.5
# Blocks of internal stresses: (set, share of its stiffness, shift factor, strain, stress component).
BLOCKS = [(0, 1, 0, 0, 0), (1, 1, 1, 1, 0), (1, 1, 1, 2, 0), (1, 1, 0, 0, 1), (2, 1, 1, 1, 1), (3, 1, 1, 2, 1),
          (1, 1, 0, 0, 2), (3, 1, 1, 1, 2), (2, 1, 1, 2, 2), (4, 1, 1, 3, 3), (4, 1, 1, 4, 4), (2, 0.5, 1, 5, 5),
          (3, -0.5, 1, 5, 5)]


class NumpyProny:
    """The relaxation update with the terms laid out once as arrays."""

    def __init__(self, props, master):
        counts = props[:5].astype(int)
        self.c = props[5:10]
        pairs = props[10:].reshape(-1, 2)
        first = np.r_[0, np.cumsum(counts)]
        term = lambda s: np.arange(first[s], first[s + 1])  # noqa: E731
        rows = [(term(s), share, shift, strain, stress) for s, share, shift, strain, stress in BLOCKS]
        idx = np.concatenate([r[0] for r in rows])
        self.p, self.tau = pairs[idx, 0], pairs[idx, 1]
        self.cs = np.concatenate([np.full(len(r[0]), r[1] * self.c[s]) for r, (s, *_) in zip(rows, BLOCKS)])
        self.shift = np.concatenate([np.full(len(r[0]), r[2]) for r in rows])
        self.strain = np.concatenate([np.full(len(r[0]), r[3]) for r in rows])
        self.stress = np.concatenate([np.full(len(r[0]), r[4]) for r in rows])
        self.set_p, self.set_tau = pairs[:, 0], pairs[:, 1]
        self.set_of = np.repeat(np.arange(5), counts)
        self.set_shift = np.array([0, 0, 1, 0, 0])[self.set_of]  # C22 with a2, the others with a1
        self.a = np.array(master, float).reshape(2, 4)

    def __call__(self, stress, svar, stran, dstran, dtime, temp):
        e = stran + dstran
        tg = svar[2]
        c1, c2, b, dT = self.a.T
        tstar = tg + dT
        wlf = lambda x: -c1 * (x - tg) / (c2 + x - tg)  # noqa: E731
        loga = np.where(temp > tstar, wlf(temp), b * (1 / temp - 1 / tstar) + wlf(tstar))
        a = 10.0 ** loga
        n = len(self.p)
        hold = svar[8:8 + n]
        ta = self.tau * a[self.shift]
        hnew = (hold * ta + self.cs * dtime * self.p * e[self.strain]) / (ta + dtime)
        dh = np.bincount(self.stress, hnew - hold, minlength=6)
        d = self.pattern(self.c)
        stress = stress + d @ dstran - dh
        keep = np.bincount(self.set_of, self.set_p * dtime / (self.set_tau * a[self.set_shift] + dtime), minlength=5)
        ddsdde = self.pattern(self.c * (1 - keep))
        svar = svar.copy()
        svar[8:8 + n] = hnew
        svar[500], svar[501], svar[508], svar[509] = ddsdde[0, 0], ddsdde[1, 1], loga[0], loga[1]
        return stress, svar, ddsdde

    @staticmethod
    def pattern(c):
        c11, c12, c22, c23, c44 = c
        return np.array([[c11, c12, c12, 0, 0, 0], [c12, c22, c23, 0, 0, 0], [c12, c23, c22, 0, 0, 0],
                         [0, 0, 0, c44, 0, 0], [0, 0, 0, 0, c44, 0], [0, 0, 0, 0, 0, 0.5 * (c22 - c23)]])


def native_ns():
    for build in ("build-bench", "build"):
        program = root / build / "bench" / "bench_process_materials"
        if program.exists():
            out = subprocess.run([str(program), "--benchmark_format=json", "--benchmark_min_time=0.2"],
                                 capture_output=True, text=True, check=True).stdout
            return {b["name"]: (b["real_time"], b.get("allocs/call")) for b in json.loads(out)["benchmarks"]}
    return None


def main():
    tl = _tavrin.toplevel
    table = np.full((12, 8, 1, 1), np.finfo(float).max)
    table[:8, 7, 0, 0] = MASTER
    _tavrin.materialdata.cuprops = table
    svar = np.zeros(510)
    svar[2] = TG
    svar[8:47] = np.linspace(-0.5, 0.5, 39)
    # The host's arrays as a driver keeps them: in the routine's layout (column-major), so nothing is converted.
    eye, one = np.asfortranarray(np.eye(3)), np.zeros(1)
    args = (np.zeros(6), 0.0, 0.0, 0.0, 0.0, np.zeros(6), np.zeros(6), 0.0, STRAN, DSTRAN, np.array([1.0, 1.0]), DT,
            TEMP, 0.0, one, one, "PLY", 3, 3, PROPS, np.zeros(3), eye, 1.0, 1.0, eye, eye, 1, 1, 1, 1,
            np.array([1, 0, 0, 0], np.int32), 2)

    def ours():
        return tl.umat_prony(args[0], svar, *args[1:])

    reference = NumpyProny(PROPS, MASTER)

    def numpy_update():
        return reference(np.zeros(6), svar, STRAN, DSTRAN, DT, TEMP)

    s, sv, dd, *_ = ours()
    rs, rsv, rdd = numpy_update()
    np.testing.assert_allclose(s, rs, rtol=1e-12, atol=1e-12)
    np.testing.assert_allclose(sv, rsv, rtol=1e-12, atol=1e-15)
    np.testing.assert_allclose(dd, rdd, rtol=1e-13)
    t = per_call({"ours": ours, "numpy": numpy_update})
    _tavrin.materialdata.cuprops = None
    native = native_ns()
    if native is None:
        print("native: build-bench/bench/bench_process_materials not built (see this script's doc string)")
    nat = lambda key: native[key] if native else (float("nan"), float("nan"))  # noqa: E731
    ratio = t["numpy"] / t["ours"]
    print(f"NumPy {np.__version__}; ns per point, least of interleaved rounds")
    print(f"{'':38s} {'_tavrin':>9s} {'numpy':>9s} {'ratio':>8s} {'native':>9s} {'allocs':>7s}")
    n, allocs = nat("umat_prony/five_sets_of_three_terms")
    print(f"  {'umat_prony, 5 sets × 3 Prony terms':36s} {t['ours'] * 1e9:9.0f} {t['numpy'] * 1e9:9.0f} "
          f"{ratio:7.1f}x {n:9.0f} {allocs:7.0f}   (target >= 10x: {'met' if ratio >= 10 else 'MISSED'})")
    n, allocs = nat("umat_resin/model1_numerical_tangent")
    print(f"  {'umat_resin, model 1, numerical tangent':36s} {'':9s} {'':9s} {'':8s} {n:9.0f} {allocs:7.0f}")


if __name__ == "__main__":
    main()
