"""Cost of unique appends to a growable list: N and 2N distinct values
appended with the uniqueness test, one call each, default increment (500).
Appends cost O(1) amortised, so 2N cost about twice N (a list that scanned
itself on every unique append would cost four times as much).

    .venv/bin/python bench/lists.py [--count N] [--repeat R]

Runs against the build tree (build/python) or an installed _tavrin.
"""
import argparse
import pathlib
import sys
import time

root = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(root / "build" / "python"))
import _tavrin  # noqa: E402

lh = _tavrin.listhandling


def unique_appends(append, count, listid, flag):
    """Seconds for `count` unique appends of distinct values to a fresh list."""
    lh.deallocatelist(listid, flag)
    start = time.perf_counter()
    for v in range(count):
        append(listid, v, 1)
    elapsed = time.perf_counter() - start
    assert lh.getsizeoflist(listid, flag) == count
    lh.deallocatelist(listid, flag)
    return elapsed


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--count", type=int, default=100_000)
    parser.add_argument("--repeat", type=int, default=3)
    args = parser.parse_args()
    n = args.count
    for name, append, flag in (("integer", lh.int_appendscalar2list, 0),
                               ("real", lh.real_appendscalar2list, 1),
                               ("complex", lh.cmplx_appendscalar2list, 2)):
        # N and 2N take turns, the least of each.
        rounds = [(unique_appends(append, n, 1, flag), unique_appends(append, 2 * n, 1, flag))
                  for _ in range(args.repeat)]
        one, two = min(r[0] for r in rounds), min(r[1] for r in rounds)
        print(f"{name:8s} {n:>8d} unique appends {one * 1e3:8.1f} ms, "
              f"{2 * n:>8d}: {two * 1e3:8.1f} ms, ratio {two / one:.2f} (linear: 2)")


if __name__ == "__main__":
    main()
