"""Classical laminate analysis of a quasi-isotropic carbon/epoxy laminate
with a first-ply failure check: its A, B and D matrices and engineering
constants, the mid-plane strains and curvatures under a running load and
moment, the strains and stresses at the bottom and top of every ply in the
ply axes, the failure efforts there of a polynomial (Tsai-Wu) criterion, the
LaRC05 fibre criterion (kink-band search) and the LaRC05 matrix criterion
(fracture-plane search, with the fracture angle), the load factor at which
each criterion first reaches failure, the governing ply, face and
criterion, and a through-thickness plot of the laminate strains, ply
stresses and failure efforts.

Failure efforts of different criteria are not margins: Tsai-Wu's grows in
proportion to the load, LaRC05's matrix effort about as its square.  The
criteria are therefore compared by the load factor λ on (N, M) at which
each one's largest effort in the laminate reaches 1, found with the
library's root finder (math.bdsafe); the smallest λ governs.

    .venv/bin/python examples/main.py [input] [--output DIR]

The input (default examples/data/quasi_isotropic.txt) holds the nine ply
elastic constants, the ply strengths, the layup from the bottom ply up, the
ply thickness and the loads; the plot goes to DIR/ply_stresses.png (DIR by
default examples/output/).
"""
import argparse
import pathlib

import numpy as np

import _tavrin as tv

HERE = pathlib.Path(__file__).parent
CONSTANTS = ("E1", "E2", "E3", "nu12", "nu13", "nu23", "G12", "G13", "G23")
STRENGTHS = ("Xt11", "Xt22", "Xt33", "Xc11", "Xc22", "Xc33", "S12", "S13", "S23")
CRITERIA = ("Tsai-Wu", "LaRC05 fibre", "LaRC05 matrix")


def read_case(path):
    """The case as a dict of float lists, one entry per keyword line."""
    case = {}
    for line in path.read_text().splitlines():
        words = line.split("#", 1)[0].split()
        if words:
            case[words[0]] = [float(w) for w in words[1:]]
    return case


def layup_code(angles):
    """The stacking sequence in the usual notation, [0/45/-45/90]s for a
    symmetric one (listed from ply 1, the bottom)."""
    a = [f"{x:g}" for x in angles]
    if len(a) % 2 == 0 and a == a[::-1]:
        return "[" + "/".join(a[: len(a) // 2]) + "]s"
    return "[" + "/".join(a) + "]"


def num(x, width, decimals):
    """x in a fixed-point field, rounded first so that a rounding residue
    prints as 0, not -0."""
    return f"{round(float(x), decimals) + 0.0:{width}.{decimals}f}"


def print_matrix(title, m, decimals):
    print(f"\n{title}")
    for row in m:
        print("  " + "".join(num(x, 12, decimals) for x in row))


def analyse(case):
    lm = tv.laminate
    ply = np.array([case[name][0] for name in CONSTANTS])
    angles = np.array(case["layup"])
    n = len(angles)
    elastic = np.tile(ply[:, None], (1, n))
    thickness = np.full(n, case["ply_thickness"][0])
    h = thickness.sum()

    a = lm.getamatrix(elastic, angles, thickness)
    b = lm.getbmatrix(elastic, angles, thickness)
    d = lm.getdmatrix(elastic, angles, thickness)
    abd = lm.getabdmatrix(a, b, d)
    eng = lm.getengconstsfromabdmatrix(abd, h)
    shear = lm.gethmatriximprovedshear(elastic, angles, thickness)

    # Mid-plane strains and curvatures from the inverted blocks:
    # ABD⁻¹ = [A*  -B*ᵀ; -B*  D*].
    at, bt, dt = lm.getabdtilde(a, b, d)
    load = np.array(case["N"] + case["M"])
    se = np.block([[at, -bt.T], [-bt, dt]]) @ load

    # Strains in the ply axes at the bottom, middle and top of every ply
    # (columns 3(k-1)+1..3k of getsectionstrain, held here as [component,
    # ply, position]), and their stresses through the on-axis reduced
    # stiffness Q of the ply.
    plystrain = lm.getsectionstrain(se, angles, thickness).reshape(3, 3, n, order="F").transpose(0, 2, 1)
    q = tv.lamina.getnyestiffnessmatrix(ply, 3)
    plystress = np.einsum("ij,jkp->ikp", q, plystrain)
    z = np.array([[lm.getplyzcoord(thickness, k, pos) for pos in (0, 1, 2)] for k in range(1, n + 1)]).T
    strengths = dict(zip(STRENGTHS, (case[name][0] for name in STRENGTHS)))
    effort, theta = failure_efforts(plystress, strengths, ply[6])
    return dict(ply=ply, angles=angles, thickness=thickness, h=h, a=a, b=b, d=d, eng=eng, shear=shear,
                load=load, se=se, z=z, strain=plystrain, stress=plystress, strengths=strengths,
                effort=effort, theta=theta, first=first_failure(plystress, strengths, ply[6]))


def criterion_effort(c, s11, s22, s12, x, g12):
    """Effort of criterion c (an index into CRITERIA) on the plane stresses
    (σ11, σ22, τ12) of one point, and the fracture angle in radians (-1.0
    where the criterion searches no plane or the matrix does not crack)."""
    gp, fb, mc = tv.gpcollection, tv.fbcollection, tv.mccollection
    if c == 0:
        # Tsai-Wu: the interaction term -√(F11·F22)·σ11·σ22.
        return gp.gppolynomial(s11, s22, 0.0, s12, 0.0, 0.0, x["Xt11"], x["Xc11"], x["Xt22"], x["Xc22"],
                               x["Xt33"], x["Xc33"], x["S12"], x["S13"], x["S23"], xint=-0.5), -1.0
    if c == 1:
        # Kinking counts only beyond half the compressive strength: below it
        # the kink-band effort is the matrix's own.
        return fb.fblarc05_is(s11, s22, 0.0, s12, 0.0, 0.0, x["Xt11"], x["Xc11"], x["Xt22"], x["S23"],
                              x["S12"], g12), -1.0
    # The fracture angle comes back where the matrix cracks.
    return mc.mcrcklarc05(s22, 0.0, s12, 0.0, 0.0, x["Xt22"], x["Xc22"], x["S12"])


def failure_efforts(stress, x, g12, criteria=range(len(CRITERIA))):
    """The efforts [criterion, ply, position] of the criteria on the plane
    stresses (σ11, σ22, τ12) [component, ply, position], and the fracture
    angle [ply, position] (degrees; NaN where the matrix does not crack)."""
    effort = np.zeros((len(CRITERIA),) + stress.shape[1:])
    theta = np.full(stress.shape[1:], np.nan)
    for (k, pos), _ in np.ndenumerate(theta):
        for c in criteria:
            effort[c, k, pos], angle = criterion_effort(c, *stress[:, k, pos], x, g12)
            if angle >= 0.0:
                theta[k, pos] = np.degrees(angle)
    return effort, theta


# Absolute tolerance of the load factor.  Brent's method stops with the root
# inside a final bracket no wider than twice (XACC + 4.4e-16·λ).
XACC = 1e-10


def load_factor(largest_effort):
    """The load factor λ at which largest_effort(λ) reaches 1: a bracket
    found by doubling or halving λ = 1, then Brent's method (math.bdsafe).
    Returns (λ, λ just past the root, where the effort has reached 1); inf
    when the effort stays below 1 however large the load, 0 when it is 1 or
    more at a vanishing load."""
    lo = hi = 1.0
    while largest_effort(hi) < 1.0:
        if hi > 1e12:
            return np.inf, np.inf
        lo, hi = hi, 2.0 * hi
    while largest_effort(lo) >= 1.0:
        if lo < 1e-12:
            return 0.0, 0.0
        lo, hi = 0.5 * lo, lo

    def residual(f, d, lam):
        f[()] = largest_effort(lam) - 1.0

    tv.errorhandling.rsxerr(True)
    lam, _ = tv.math.bdsafe(residual, lo, hi, [0.0], XACC, 200, 0)
    if tv.errorhandling.errstat != 0:
        raise RuntimeError("load factor: " + tv.errorhandling.errstring.item().decode().strip())
    # The efforts grow with λ, so they have reached 1 at the far end of the
    # final bracket.
    past = lam if largest_effort(lam) >= 1.0 else lam + 2.0 * (XACC + 4.5e-16 * lam)
    return lam, past


def first_failure(stress, x, g12):
    """Per criterion, the load factor λ on (N, M) at which its largest effort
    over the faces of the plies reaches 1 (the ply stresses grow in
    proportion to the load), and where: (λ, ply, face position, fracture
    angle in degrees or NaN)."""
    faces = stress[:, :, [0, 2]]
    found = []
    for c in range(len(CRITERIA)):
        def largest(lam, c=c):
            return failure_efforts(lam * faces, x, g12, [c])[0][c].max()

        lam, past = load_factor(largest)
        if not np.isfinite(lam):
            found.append((lam, -1, -1, np.nan))
            continue
        effort, theta = failure_efforts(past * faces, x, g12, [c])
        k, f = np.unravel_index(np.argmax(effort[c]), effort[c].shape)
        found.append((lam, k, 2 * f, theta[k, f]))
    return found


def report(r):
    angles, n = r["angles"], len(r["angles"])
    print(f"Laminate {layup_code(angles)}: {n} plies of {r['thickness'][0]:g} mm, h = {r['h']:g} mm")
    print("Ply: " + ", ".join(f"{k} {v:g}" for k, v in zip(CONSTANTS, r["ply"])) + " (MPa)")

    print_matrix("A (N/mm)", r["a"], 1)
    print_matrix("B (N)", r["b"], 3)
    print_matrix("D (N·mm)", r["d"], 1)

    eng = r["eng"]
    print("\nEngineering constants      Ex (GPa)   Ey (GPa)  Gxy (GPa)      νxy")
    for name, e in (("membrane", eng[:4]), ("bending", eng[4:])):
        print(f"  {name:22s} {e[0] / 1e3:10.2f} {e[1] / 1e3:10.2f} {e[2] / 1e3:10.2f} {e[3]:8.3f}")
    h = r["shear"]
    print(f"\nTransverse shear stiffness H (N/mm): H44 {h[0, 0]:.1f}, H55 {h[1, 1]:.1f}, H45 {h[0, 1]:.1f}")

    load, se = r["load"], r["se"]
    print(f"\nLoad: N = ({load[0]:g}, {load[1]:g}, {load[2]:g}) N/mm, "
          f"M = ({load[3]:g}, {load[4]:g}, {load[5]:g}) N·mm/mm")
    print("Mid-plane strains (µε): " + ", ".join(f"{x * 1e6:.1f}" for x in se[:3])
          + ";  curvatures (1/m): " + ", ".join(f"{x * 1e3:.4f}" for x in se[3:]))

    print("\nPly strains and stresses in the ply axes")
    print(f"  {'ply':>3} {'angle':>6} {'face':>6} {'z (mm)':>8} {'ε11 (µε)':>10} {'ε22 (µε)':>10} "
          f"{'γ12 (µε)':>10} {'σ11 (MPa)':>10} {'σ22 (MPa)':>10} {'τ12 (MPa)':>10}")
    for k in range(n):
        for pos, face in ((0, "bottom"), (2, "top")):
            e, s = r["strain"][:, k, pos] * 1e6, r["stress"][:, k, pos]
            print(f"  {k + 1:3d} {angles[k]:6g} {face:>6} {num(r['z'][pos, k], 8, 4)} "
                  + " ".join(num(x, 10, 1) for x in e) + " " + " ".join(num(x, 10, 2) for x in s))

    x = r["strengths"]
    print("\nFirst-ply failure: efforts (1 = failure) at the bottom and top of every ply under the given load")
    print("Strengths (MPa): " + ", ".join(f"{k} {v:g}" for k, v in x.items()))
    print(f"  {'ply':>3} {'angle':>6} {'face':>6} {'Tsai-Wu':>9} {'LaRC05 fibre':>13} "
          f"{'LaRC05 matrix':>14} {'θfp (°)':>8}")
    effort, theta = r["effort"], r["theta"]
    for k in range(n):
        for pos, face in ((0, "bottom"), (2, "top")):
            angle = "-" if np.isnan(theta[k, pos]) else f"{theta[k, pos]:.0f}"
            print(f"  {k + 1:3d} {angles[k]:6g} {face:>6} {effort[0, k, pos]:9.3f} {effort[1, k, pos]:13.3f} "
                  f"{effort[2, k, pos]:14.3f} {angle:>8}")
    print("θfp: angle of the fracture plane about the fibre axis, 0° the ply plane, 90° the plane normal to "
          "direction 2")

    print("\nLoad factor λ on (N, M) at which each criterion's largest effort reaches 1")
    print("(efforts of different criteria are not margins: Tsai-Wu's grows as the load, LaRC05's")
    print(" matrix effort about as its square, the fibre effort as the load in tension)")
    print(f"  {'criterion':14} {'λ':>7}   {'ply':>3} {'angle':>6} {'face':>6}")
    first = r["first"]
    for c, (lam, k, pos, angle) in enumerate(first):
        if not np.isfinite(lam):
            print(f"  {CRITERIA[c]:14} {'never':>7}")
            continue
        plane = "" if np.isnan(angle) else f"   fracture plane at θfp = {angle:.0f}° from the ply plane"
        print(f"  {CRITERIA[c]:14} {lam:7.3f}   {k + 1:3d} {angles[k]:6g} {('bottom', '', 'top')[pos]:>6}{plane}")
    c = min(range(len(first)), key=lambda i: first[i][0])
    lam, k, pos, angle = first[c]
    if not np.isfinite(lam):
        print("Governing: no criterion reaches failure under any multiple of the load")
        return
    verdict = "fails under the given load" if lam <= 1.0 else "holds under the given load"
    plane = "" if np.isnan(angle) else (f" (fracture plane at θfp = {angle:.0f}° from the ply plane"
                                        + (", normal to direction 2)" if round(angle) == 90 else ")"))
    print(f"Governing: ply {k + 1} ({angles[k]:g}°), {('bottom', '', 'top')[pos]} face, {CRITERIA[c]}, "
          f"first failure at λ = {lam:.3f}: the laminate {verdict}{plane}")


def plot(r, path):
    import matplotlib

    matplotlib.use("Agg")
    import matplotlib.pyplot as plt

    lm = tv.laminate
    angles, n, z, se = r["angles"], len(r["angles"]), r["z"], r["se"]
    faces = np.append(z[0], z[2, -1])
    fig, axes = plt.subplots(1, 5, figsize=(16, 5.6), sharey=True, constrained_layout=True,
                             gridspec_kw={"width_ratios": [1.0, 1.15, 1.15, 1.15, 1.15]})

    # Laminate strains (x, y axes): continuous and linear through the
    # thickness.
    zline = np.linspace(faces[0], faces[-1], 2)
    strain = lm.getplystrain(se, zline) * 1e6
    ax = axes[0]
    for i, (label, style) in enumerate(((r"$\varepsilon_x$", "-"), (r"$\varepsilon_y$", "--"),
                                        (r"$\gamma_{xy}$", ":"))):
        ax.plot(strain[i], zline, style, color="#7f2704", linewidth=1.8, label=label)
    ax.set_title("laminate strains", fontsize=11)
    ax.set_xlabel("strain (µε)")
    ax.legend(loc="lower right", fontsize=9, frameon=False)

    # Ply stresses (ply axes): linear within a ply, jumping at its faces;
    # drawn as one profile with the jumps at the interfaces.
    titles = (r"$\sigma_{11}$ (fibre direction)", r"$\sigma_{22}$ (transverse)",
              r"$\tau_{12}$ (in-plane shear)")
    colour = "#1f4e79"
    for i, ax in enumerate(axes[1:4]):
        s = r["stress"][i][:, [0, 2]].ravel()
        zz = z[[0, 2]].T.ravel()
        ax.fill_betweenx(zz, 0.0, s, color=colour, alpha=0.15, linewidth=0)
        ax.plot(s, zz, color=colour, linewidth=1.8)
        ax.set_title(titles[i], fontsize=11)
        ax.set_xlabel("stress (MPa)")

    # Failure efforts at the faces of every ply, failure at 1.
    ax = axes[4]
    zz = z[[0, 2]].T.ravel()
    for c, (label, style) in enumerate(zip(CRITERIA, ("-", "--", ":"))):
        ax.plot(r["effort"][c][:, [0, 2]].ravel(), zz, style, color="#7a0177", linewidth=1.8, label=label)
    ax.axvline(1.0, color="#c51b8a", linewidth=1.0)
    ax.set_title("failure efforts", fontsize=11)
    ax.set_xlabel("effort (1 = failure)")
    ax.legend(loc="lower right", fontsize=9, frameon=False)

    for ax in axes:
        for zf in faces:
            ax.axhline(zf, color="0.6", linewidth=0.6)
        ax.axhline(0.0, color="0.35", linewidth=0.8, linestyle=(0, (4, 3)))
        ax.axvline(0.0, color="black", linewidth=0.8)
        ax.grid(axis="x", color="0.92")
        ax.margins(x=0.1)
    axes[0].set_ylabel("z (mm), ply 1 at the bottom")
    axes[0].set_ylim(faces[0], faces[-1])
    for k in range(n):
        axes[-1].annotate(f"{angles[k]:g}°", xy=(1.0, z[1, k]), xycoords=("axes fraction", "data"),
                          xytext=(6, 0), textcoords="offset points", va="center", fontsize=9)
    load = r["load"]
    fig.suptitle(f"{layup_code(angles)} carbon/epoxy, h = {r['h']:g} mm:  "
                 f"N = ({load[0]:g}, {load[1]:g}, {load[2]:g}) N/mm,  "
                 f"M = ({load[3]:g}, {load[4]:g}, {load[5]:g}) N·mm/mm", fontsize=12)
    fig.savefig(path, dpi=150)
    plt.close(fig)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("input", nargs="?", default=HERE / "data" / "quasi_isotropic.txt", type=pathlib.Path)
    parser.add_argument("--output", default=HERE / "output", type=pathlib.Path,
                        help="folder of the stress plot (default examples/output)")
    args = parser.parse_args()
    r = analyse(read_case(args.input))
    report(r)
    args.output.mkdir(parents=True, exist_ok=True)
    path = args.output / "ply_stresses.png"
    plot(r, path)
    print(f"\nThrough-thickness stress plot: {path}")


if __name__ == "__main__":
    main()
