"""Shared state of an analysis from Python: create the damage tables of a
laminate section, fill a descriptor from a small input file, read it back,
and see how the library reports a failure through its first-error latch.

    .venv/bin/python examples/damage_tables.py [input]
"""
import pathlib
import sys

import numpy as np

import _tavrin as tv

HERE = pathlib.Path(__file__).parent


def read_case(path):
    counts, rows = {}, []
    for line in path.read_text().splitlines():
        line = line.split("#", 1)[0].split()
        if not line:
            continue
        if line[0].isalpha():
            counts[line[0]] = int(line[1])
        else:
            rows.append((int(line[0]), int(line[1]), float(line[2]), float(line[3])))
    return counts, rows


def main():
    path = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else HERE / "data" / "damage_case.txt"
    counts, rows = read_case(path)
    plies, sections, damages = counts["plies"], counts["sections"], counts["damages"]

    tv.datahandling.deallocall()
    tv.datahandling.allocatedamagedata(plies, sections, damages)
    dd = tv.damagedata
    print(f"damage definitions: {int(dd.ndmg)}")
    print(f"General descriptors: shape {dd.generaldds.shape}, "
          f"delamination descriptors: shape {dd.delamdds.shape}")
    print(f"buckling lists: {tv.bukdata.bukintdatalist.shape} and {tv.bukdata.bukrealdatalist.shape}")

    general = dd.generaldds  # a live view of the library's table
    for dmg, ply, a, b in rows:
        general[1:3, ply - 1, dmg - 1] = (a, b)

    print("\nGeneral damage extents read back (a, b in mm):")
    print(f"  {'damage':>6} {'ply':>4} {'a':>8} {'b':>8}")
    for dmg in range(1, damages + 1):
        for ply in range(1, plies + 1):
            a, b = dd.generaldds[1:3, ply - 1, dmg - 1]
            if a or b:
                print(f"  {dmg:6d} {ply:4d} {a:8.2f} {b:8.2f}")

    eh = tv.errorhandling
    eh.rsxerr(True)
    eh.xerr(-2, "Matrix inversion failed!", [plies], [np.pi], np.zeros((0, 0), dtype=np.int32), 1)
    print(f"\nlatched: status {int(eh.errstat)}, "
          f"'{eh.errstring.tobytes().decode().rstrip()}', details {list(eh.errintv)}")
    eh.rsxerr(True)
    tv.datahandling.deallocall()


if __name__ == "__main__":
    main()
