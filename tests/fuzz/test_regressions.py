"""Calls the binding fuzzer once found faulty, kept as explicit cases: each
runs in a child process, so a regression that crashes fails here instead of
ending the test run."""
import pytest

CASES = [
    # A huge check-in list: the request is refused with MemoryError (it once
    # ended a sanitizer run, whose allocator could not throw).
    ("utility.processlock", "procid=0, maxid=2147483647",
     "import _tavrin as t\n"
     "try:\n    t.utility.processlock(0, 2147483647)\nexcept MemoryError:\n    pass\n"),
    # A negative extent of one operand: the result has nx + ny entries and is
    # left as created (it once received all of y).
    ("utility.int_getmerged", "x=[1,1,3], y=[3,0,0,2], nx=-2, ny=4",
     "import _tavrin as t, numpy as np\n"
     "m = t.utility.int_getmerged(np.array([1, 1, 3], np.int32), [3, 0, 0, 2], nx=-2, ny=4)\n"
     "assert m.shape == (2,) and not m.any(), m\n"),
    # The smallest 32-bit ply count: the interface count kplies - 1 once
    # overflowed (UBSan); empty tables, one interface row.
    ("datahandling.allocatedamagedata", "kplies=-2147483648, ksec=0, kdmg=0",
     "import _tavrin as t\n"
     "t.datahandling.allocatedamagedata('-2147483648', 0, 0)\n"
     "assert t.damagedata.generaldds.shape[1] == 0 and t.damagedata.delamdds.shape[1] == 1\n"),
    # A routine of another C type as a call-back: refused with _tavrin.error
    # (it was once called as a Python function and raised TypeError).
    ("math.bdsafe", "dfunc=datahandling.allocatedamagedata",
     "import _tavrin as t\n"
     "try:\n    t.math.bdsafe(t.datahandling.allocatedamagedata, 0.5, 3.25, [0.0], 0.0, 0, 1)\n"
     "except Exception as e:\n    assert type(e).__name__ == 'error', e\n"
     "else:\n    raise AssertionError('accepted')\n"),
    # Search bounds 10¹² degrees apart: the scan is capped at 10⁵ samples (it
    # once stepped by 2° for ever); a step of 0 takes the default step.
    ("mccollection.mcrckspc3d", "salims=[0, 1e12]; sainc=0",
     "import _tavrin as t\n"
     "args = (-60.0, 15.0, 25.0, 10.0, 12.0, 1500.0, 1200.0, 50.0, 200.0, 45.0, 190.0, 70.0, 65.0, 40.0)\n"
     "t.mccollection.mcrckspc3d(*args, salims=[0.0, 1e12])\n"
     "t.mccollection.mcrckspc3d(*args, sainc=0.0)\n"),
    # An entry near overflow: (a + aᵀ)/2 once overflowed to inf on the
    # diagonal and the singular value sweep on it never ended.
    ("math.getnearestspd", "a=4x4 with 1e308 at (1,1), -1 at (3,1) and (4,1)",
     "import _tavrin as t, numpy as np\n"
     "a = np.zeros((4, 4)); a[0, 0] = 1e308; a[2:, 0] = -1.0\n"
     "pd = t.math.getnearestspd(a)\n"
     "assert abs(pd[0, 0] / 1e308 - 1) < 1e-15 and np.isfinite(pd).all() and t.errorhandling.errstat == 0, pd\n"
     "b = t.math.getnearestcorrelationmatrix(a)\n"),
    # A text that Latin-1 cannot hold: refused with _tavrin.error (the error
    # text once cut its repr inside a UTF-8 character: UnicodeDecodeError).
    ("iohandling.getxidfromstring", "s='Ö\\U0010b565...'",
     "import _tavrin as t\n"
     "try:\n    t.iohandling.getxidfromstring('\u00d6\U0010b565\\\\;\U000f1e29Lq\x10Bw\u00c0\u00bf\u00bd', -1, 'x')\n"
     "except Exception as e:\n    assert type(e).__name__ == 'error' and \"received '\u00d6\" in str(e), e\n"
     "else:\n    raise AssertionError('accepted')\n"),
    # Extents whose non-zero product overflows, beside an empty axis: NumPy's
    # "array is too big" ValueError escaped; the size is refused as MemoryError.
    ("utility.ini6darraywithzeros", "0, 10**6, 10**6, 4, 4, 10**6 and ini5darraywithzeros(3, -1, 2**31-1, 2**31-1, 5)",
     "import _tavrin as t\n"
     "for call in (lambda: t.utility.ini6darraywithzeros(0, 10**6, 10**6, 4, 4, 10**6),\n"
     "             lambda: t.utility.ini5darraywithzeros(3, -1, 2**31 - 1, 2**31 - 1, 5)):\n"
     "    try:\n        call()\n    except MemoryError:\n        pass\n"
     "    else:\n        raise AssertionError('created')\n"
     "assert t.utility.ini5darraywithzeros(3, -1, 2**31 - 1, 2, 5).shape == (3, 0, 2**31 - 1, 2, 5)\n"),
    # A text whose repr is cut for the error message inside a two-byte
    # character: the message once failed to decode (UnicodeDecodeError).
    ("toplevel.gen_sdvini", "noel='a'*35 + 'éé'",
     "import _tavrin as t\n"
     "try:\n    t.toplevel.gen_sdvini([0.0], [0.0], 'a' * 35 + 'éé', 1, 1, 1)\n"
     "except Exception as e:\n    assert type(e).__name__ == 'error' and \"'aaa\" in str(e), e\n"
     "else:\n    raise AssertionError('accepted')\n"),
]


# As in the fuzzer's children: outside the sanitizer run, memory is capped so
# that a huge request ends in MemoryError instead of filling the machine.
PRELUDE = ("import os, resource\n"
           "if not os.environ.get('TAVRIN_FUZZ_ASAN'):\n"
           "    resource.setrlimit(resource.RLIMIT_AS, (3 << 30, 3 << 30))\n")


@pytest.mark.parametrize("routine,args,code", CASES, ids=[c[0] for c in CASES])
def test_regression(routine, args, code, child):
    r = child(PRELUDE + code)
    assert r.returncode == 0, f"{routine}({args}):\n{r.stderr[-3000:]}"
