"""Reading the solver's data file through _tavrin beside numpy.loadtxt of the
same two tables, in one run.

A generated data file of n four-node shells (S4R) on a square grid, with its
element table (number, type, property reference, four nodes) and node table
(number, x, y, z), as the solver prints them.  _tavrin's getabqdatafromfile
counts the elements, stores their numbers, kinds and nodes and copies every
node's coordinates into the element tables; numpy.loadtxt only parses the
two tables into arrays (the type column skipped).

    .venv/bin/python bench/data_file.py

Rounds take turns between ours and NumPy and the least time of each counts.
Target: at 10⁵ elements at least 3 times faster than numpy.loadtxt, with a
time per element that does not grow with the size.
"""
import pathlib
import sys
import tempfile

import numpy as np

root = pathlib.Path(__file__).resolve().parents[1]
sys.path.insert(0, str(root / "build" / "python"))
sys.path.insert(0, str(root / "bench"))
import _tavrin  # noqa: E402
import timing  # noqa: E402

ELEMENT_TITLE = "                            E L E M E N T   D E F I N I T I O N S"
NODE_TITLE = "                            N O D E   D E F I N I T I O N S"


def data_file(path, n):
    """A data file of about n S4R elements; the line ranges of its tables."""
    side = int(round(n ** 0.5))
    nodes_per_row = side + 1
    lines = ["", ELEMENT_TITLE, "", " NUMBER  TYPE  PROPERTY             NODES FORMING ELEMENT", ""]
    first_element = len(lines)
    e = np.arange(side * side)
    i, j = e % side, e // side
    n1 = 1 + i + nodes_per_row * j
    for k, (a, b) in enumerate(zip(n1, n1 + nodes_per_row), 1):
        lines.append(f"{k:11d} S4R         1{a:11d}{a + 1:11d}{b + 1:11d}{b:11d}")
    elements = (first_element, len(lines) - first_element)
    lines += ["", NODE_TITLE, "", "    NODE NUMBER            COORDINATES", ""]
    first_node = len(lines)
    for k in range(nodes_per_row * nodes_per_row):
        x, y = k % nodes_per_row, k // nodes_per_row
        lines.append(f"{k + 1:11d}  {x * 0.5:14.6E}  {y * 0.5:14.6E}  {0.0:14.6E}")
    nodes = (first_node, len(lines) - first_node)
    lines += ["", " THE ANALYSIS HAS BEEN COMPLETED"]
    path.write_text("\n".join(lines) + "\n")
    return side * side, elements, nodes


def loadtxt_tables(path, elements, nodes):
    np.loadtxt(path, skiprows=elements[0], max_rows=elements[1], usecols=(0, 2, 3, 4, 5, 6), dtype=np.int64)
    np.loadtxt(path, skiprows=nodes[0], max_rows=nodes[1])


def main():
    print("Solver data file: getabqdatafromfile against numpy.loadtxt of the element and node tables")
    print(f"{'elements':>10} {'_tavrin (ms)':>14} {'per element (ns)':>18} {'loadtxt (ms)':>14} {'ratio':>7}")
    with tempfile.TemporaryDirectory() as tmp:
        for n in (10**3, 10**4, 10**5, 4 * 10**5):
            path = pathlib.Path(tmp) / f"job{n}.dat"
            count, elements, nodes = data_file(path, n)
            t = timing.per_call({
                "ours": lambda: _tavrin.iohandling.getabqdatafromfile(str(path)),
                "loadtxt": lambda: loadtxt_tables(path, elements, nodes),
            }, seconds=0.2, rounds=3)
            assert int(_tavrin.elementdata.nelem) == count and int(_tavrin.errorhandling.errstat) == 0
            print(f"{count:>10} {t['ours'] * 1e3:>14.2f} {t['ours'] / count * 1e9:>18.0f} "
                  f"{t['loadtxt'] * 1e3:>14.2f} {t['loadtxt'] / t['ours']:>6.1f}x")
    _tavrin.toplevel.uaccess_iocontrol(3, 0.0)


if __name__ == "__main__":
    main()
