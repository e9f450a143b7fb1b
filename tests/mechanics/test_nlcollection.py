"""Modules nlcollection and isscollection from Python: defaults of the call
lines and the relations between extents."""
import numpy as np
import pytest


@pytest.fixture(autouse=True)
def clean_latch(tv):
    tv.errorhandling.rsxerr(True)
    yield
    tv.errorhandling.rsxerr(True)


def test_nonlinear_laws(tv, error):
    nl = tv.nlcollection
    assert nl.nlkrause(30.0, 0.0) == 0.0
    assert nl.nlkaestner(30.0, -0.02) == nl.nlkaestner(30.0, 0.02)
    args = [40.0, 0.01, 5000.0, 1e-7]
    assert nl.recu_nlhahntsai(args) == nl.pure_nlhahntsai(5000.0, 1e-7, 40.0, 0.01)
    assert nl.recu_nlhahntsai(args, ns=1) == pytest.approx(nl.pure_nlhahntsai(5000.0, 1e-7, 0.01 * 5000.0 * (1 - nl.recu_nlhahntsai(args, ns=1)), 0.01), rel=1e-6)
    assert nl.nladam(1200.0, 400.0, 0.25, 1e6, 1.5, 2.0) == 0.0
    props = [3500.0, 380.0, 1800.0, 450.0, 40.0]
    assert nl.nlmahieux(100.0, props, [20.0, 30.0]) == pytest.approx(3500.0)
    assert nl.nlmahieux(100.0, props, [20.0, 30.0], ntrans=0) == 3500.0
    with pytest.raises(error):
        nl.nlmahieux(100.0, props, [20.0])
    assert tv.errorhandling.errstat == 0
    assert nl.recu_nlhahntsai(args[:3]) == 0.0
    assert tv.errorhandling.errstat == -3


def test_insitu_strengths_defaults(tv):
    iss = tv.isscollection
    thick = iss.insitularc04([140e3, 9e3, 0.3, 5e3], [0.25, 0.8], 60.0, 90.0, 0.002)
    np.testing.assert_array_equal(thick, [1.5839191966013624 * 60.0, 1.4142135623730951 * 90.0])
    # The call line's default coefficients are zeros: no in-situ raise; the
    # coefficients of the model are passed explicitly.
    np.testing.assert_array_equal(iss.insituchanglessard(60.0, 70.0, 2.0, 45.0), [60.0, 70.0])
    ys = iss.insituchanglessard(60.0, 70.0, 2.0, 45.0, atod=[1.3, 0.7, 0.0, 1.0])
    assert ys[0] == pytest.approx((1 + 1.3 * np.sin(np.pi / 4) / 2.0**0.7) * 60.0, rel=1e-15)
    assert ys[1] == 70.0
    assert iss.insitupuckps(1200.0, 200.0, 90.0, 0.0) == 1200.0
    assert iss.insitupuckps(1200.0, 200.0, 90.0, 90.0) == pytest.approx(200.0, rel=1e-9)
