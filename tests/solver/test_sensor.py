"""The sensor, porosity and hyperelastic routines from Python: each tangent
against a central difference of its stress, and the sensor's records."""
import numpy as np
import pytest
from solver_support import assert_tangent, umat_args

ORTHO = np.array([140000, 10000, 10000, 0.3, 0.3, 0.45, 5000, 5000, 10000 / 2.9])


def call(tv, name, props, dstran, statev=None):
    args = umat_args(props, dstran, statev=statev)
    if name == "umat_sensor":
        del args[31]  # no jstep
        args += [3, np.arange(1.0, 21.0), np.zeros(12)]
    elif name == "umat_porosity":
        del args[31]
    return getattr(tv.toplevel, name)(*args)


@pytest.mark.parametrize("name, props, pore", [("umat_sensor", [0.0], 0.0), ("umat_porosity", ORTHO, 1.0),
                                               ("umat_hyper", ORTHO, 0.0)])
def test_tangents_are_derivatives_of_the_stress(tv, name, props, pore):
    statev = np.zeros(8)
    statev[0] = pore
    dstran = np.array([0.001, -0.002, 0.0005, 0.003, 0.001, -0.004])
    ddsdde = call(tv, name, props, dstran, statev)[2]
    assert_tangent(lambda e: call(tv, name, props, e, statev)[0], dstran, ddsdde)


def test_sensor_records(tv):
    res = call(tv, "umat_sensor", [2.5, 3.5], np.zeros(6))
    statev, dprops = res[1], res[7]
    np.testing.assert_array_equal(statev, [4, 5, 6, 1, 2, 3, 0, 0])
    assert dprops[7:11].tolist() == [2.5, 3.5, 0.0, 0.0]


def test_explicit_sensor_keeps_the_thickness_strain_of_solids(tv):
    n, straininc = 2, np.asfortranarray(np.full((2, 6), 1e-3))
    z = lambda c: np.zeros((n, c), order="F")  # noqa: E731
    res = tv.toplevel.vumat_sensor(3, 0, 0.0, 1.0, 0.1, "S", z(3), z(3), [0.0], np.ones(n), straininc, z(3),
                                   np.zeros(n), z(6), z(9), z(1), z(6), z(3), np.zeros(n), np.zeros(n), np.zeros(n),
                                   z(6), z(9), z(1), 2, np.arange(1.0, 21.0), np.zeros(12))
    np.testing.assert_array_equal(res[0], straininc)
    np.testing.assert_array_equal(res[2], [[4, 5, 6]] * 2)
