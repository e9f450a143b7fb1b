"""The keyword primitives of iohandling from Python: the number of characters
compared (lkey) costs nothing by itself."""

# Run in a child whose address space is capped below the 2 GiB that a
# keyword blank-padded to lkey = 2**31 - 1 would take (not in the sanitizer
# run, whose shadow memory needs the address space).
CODE = """
import os, resource
if not os.environ.get('TAVRIN_FUZZ_ASAN'):
    resource.setrlimit(resource.RLIMIT_AS, (3 << 29, 3 << 29))
import _tavrin as t
ioh, eh = t.iohandling, t.errorhandling
for call, result in ((lambda: ioh.getnumberofkeywords(40, ' ', 2**31 - 1), 0),
                     (lambda: ioh.get2nextkey(40, 1, 'x', 2**31 - 1, 10), 0)):
    eh.rsxerr(True)
    assert call() == result
    assert int(eh.errstat) == -2 and b'Read operation' in eh.errstring.tobytes()  # unit 40 is not open
"""


def test_largest_lkey_on_a_unit_that_is_not_open(child):
    r = child(CODE, {"OPENBLAS_NUM_THREADS": "1"})
    assert r.returncode == 0, r.stderr[-3000:]
