"""Shape functions of the line, triangle, quadrilaterals and brick: nodal
interpolation, completeness, derivatives against differences, the warnings
of bad nodes and selectors, and the matrices built from them."""
import itertools

import numpy as np
import pytest

TRIA6 = [(0, 0), (1, 0), (0, 1), (0.5, 0), (0.5, 0.5), (0, 0.5)]
QUAD4 = [(-1, -1), (1, -1), (1, 1), (-1, 1)]
QUAD8 = QUAD4 + [(0, -1), (1, 0), (0, 1), (-1, 0)]
HEX8 = [(x, y, -1) for x, y in QUAD4] + [(x, y, 1) for x, y in QUAD4]


class Family:
    """One family through the binding: N, first and second derivatives as
    functions of a point (a tuple of natural coordinates)."""

    def __init__(self, tv, name, nodes, dim, second=True):
        mod = getattr(tv, name)
        self.nodes, self.dim, self.has_second = nodes, dim, second
        self._n = getattr(mod, name + "sf")
        self._d = getattr(mod, name + "firstderivsf")
        self._d2 = getattr(mod, name + "secondderivsf", None)

    def n(self, p, k):
        return self._n(*p, k)

    def d(self, p, k, v):
        return self._d(*p, k) if self.dim == 1 else self._d(*p, k, v)

    def d2(self, p, k, v, w):
        return self._d2(*p, k, v, w)


@pytest.fixture(scope="module")
def families(tv):
    return {
        "truss3": Family(tv, "truss3", [(-1,), (0,), (1,)], 1, second=False),
        "tria6": Family(tv, "tria6", TRIA6, 2),
        "quad4": Family(tv, "quad4", QUAD4, 2, second=False),
        "quad8": Family(tv, "quad8", QUAD8, 2),
        "hex8": Family(tv, "hex8", HEX8, 3),
    }


def random_points(fam, count=5, seed=7):
    rng = np.random.default_rng(seed)
    pts = rng.uniform(-1, 1, (count, fam.dim))
    if fam.nodes is TRIA6:
        pts = rng.uniform(0, 0.5, (count, 2))
    return [tuple(p) for p in pts]


@pytest.mark.parametrize("name", ["truss3", "tria6", "quad4", "quad8", "hex8"])
def test_nodal_values_partition_of_unity_and_derivative_sums(families, latched, name):
    fam = families[name]
    nn = len(fam.nodes)
    values = np.array([[fam.n(xj, i) for xj in fam.nodes] for i in range(1, nn + 1)])
    np.testing.assert_allclose(values, np.eye(nn), atol=1e-15)
    variables = range(1, fam.dim + 1)
    for p in random_points(fam):
        assert sum(fam.n(p, k) for k in range(1, nn + 1)) == pytest.approx(1.0, abs=1e-14)
        for v in variables:
            assert sum(fam.d(p, k, v) for k in range(1, nn + 1)) == pytest.approx(0.0, abs=1e-14)
        if fam.has_second:
            for v, w in itertools.product(variables, repeat=2):
                assert sum(fam.d2(p, k, v, w) for k in range(1, nn + 1)) == pytest.approx(0.0, abs=1e-14)
    assert latched()[0] == 0


def monomials(name):
    # Fields each family reproduces exactly, as exponents of (ξ, η, ζ).
    quadratic = [(0, 0), (1, 0), (0, 1), (2, 0), (1, 1), (0, 2)]
    return {
        "truss3": [(0,), (1,), (2,)],
        "tria6": quadratic,
        "quad4": [(0, 0), (1, 0), (0, 1), (1, 1)],
        "quad8": quadratic + [(2, 1), (1, 2)],
        "hex8": list(itertools.product((0, 1), repeat=3)),
    }[name]


def field(p, e, dv=()):
    """∂^|dv| (Π p_i^e_i) / ∂p_dv... for the variables (1-based) in dv."""
    e = list(e)
    c = 1.0
    for v in dv:
        c *= e[v - 1]
        e[v - 1] = max(e[v - 1] - 1, 0)
    return c * np.prod([pi ** ei for pi, ei in zip(p, e)])


@pytest.mark.parametrize("name", ["truss3", "tria6", "quad4", "quad8", "hex8"])
def test_reproduces_its_polynomial_fields_with_derivatives(families, name):
    fam = families[name]
    nn = range(1, len(fam.nodes) + 1)
    variables = range(1, fam.dim + 1)
    for e in monomials(name):
        nodal = [field(x, e) for x in fam.nodes]
        for p in random_points(fam, 3):
            assert sum(fam.n(p, k) * f for k, f in zip(nn, nodal)) == pytest.approx(field(p, e), abs=1e-15)
            for v in variables:
                got = sum(fam.d(p, k, v) * f for k, f in zip(nn, nodal))
                assert got == pytest.approx(field(p, e, (v,)), abs=2e-15)
            if fam.has_second:
                for v, w in itertools.product(variables, repeat=2):
                    got = sum(fam.d2(p, k, v, w) * f for k, f in zip(nn, nodal))
                    assert got == pytest.approx(field(p, e, (v, w)), abs=2e-15), (e, v, w)


@pytest.mark.parametrize("name", ["truss3", "tria6", "quad4", "quad8", "hex8"])
def test_analytic_derivatives_match_central_differences(families, name):
    fam = families[name]
    h = 1e-6
    for p, k in itertools.product(random_points(fam, 2, seed=3), range(1, len(fam.nodes) + 1)):
        for v in range(1, fam.dim + 1):
            up, dn = list(p), list(p)
            up[v - 1] += h
            dn[v - 1] -= h
            assert fam.d(p, k, v) == pytest.approx((fam.n(up, k) - fam.n(dn, k)) / (2 * h), abs=1e-8)
            if fam.has_second:
                for w in range(1, fam.dim + 1):
                    diff = (fam.d(up, k, w) - fam.d(dn, k, w)) / (2 * h)
                    assert fam.d2(p, k, v, w) == pytest.approx(diff, abs=1e-8)


def test_brick_mixed_second_derivatives(tv):
    d2 = tv.hex8.hex8secondderivsf
    x, y, z = 0.3, -0.6, 0.2
    assert [d2(x, y, z, 7, 1, 2), d2(x, y, z, 7, 2, 1), d2(x, y, z, 7, 1, 3)] == pytest.approx(
        [(1 + z) / 8, (1 + z) / 8, (1 + y) / 8])
    assert [d2(x, y, z, 1, 1, 2), d2(x, y, z, 1, 1, 3)] == pytest.approx([(1 - z) / 8, (1 - y) / 8])
    assert [d2(x, y, z, 1, 2, 3), d2(x, y, z, 7, 3, 2)] == pytest.approx([(1 - x) / 8, (1 + x) / 8])
    assert [d2(x, y, z, 7, v, v) for v in (1, 2, 3)] == [0.0, 0.0, 0.0]
    assert tv.errorhandling.errstat == 0


# (routine, arguments before the node and selectors, node, selectors, message)
BAD = [
    ("truss3.truss3sf", (0.2,), 4, (), "Warning: Overflow in Truss3SF."),
    ("truss3.truss3firstderivsf", (0.2,), 0, (), "Warning: Overflow in Truss3FirstDerivSF."),
    ("tria6.tria6sf", (0.2, 0.1), 7, (), "Warning: Overflow in Tria6SF."),
    ("tria6.tria6firstderivsf", (0.2, 0.1), -1, (1,), "Warning: Overflow in Tria6.Xi."),
    ("tria6.tria6firstderivsf", (0.2, 0.1), 7, (2,), "Warning: Overflow in Tria6.Eta."),
    ("tria6.tria6firstderivsf", (0.2, 0.1), 1, (3,), "Warning: Invalid ordinal in Tria6FirstDerivSF."),
    ("tria6.tria6secondderivsf", (0.2, 0.1), 0, (1, 1), "Overflow in Tria6.XiXi."),
    ("tria6.tria6secondderivsf", (0.2, 0.1), 0, (1, 2), "Warning: Overflow in Tria6.XiEta."),
    ("tria6.tria6secondderivsf", (0.2, 0.1), 0, (2, 1), "Warning: Overflow in Tria6.EtaXi."),
    ("tria6.tria6secondderivsf", (0.2, 0.1), 0, (2, 2), "Warning: Overflow in Tria6.EtaEta."),
    ("tria6.tria6secondderivsf", (0.2, 0.1), 1, (0, 1), "Warning: Invalid 1st ordinal in Tria6"),
    ("tria6.tria6secondderivsf", (0.2, 0.1), 1, (1, 3), "Warning: Invalid 2nd ordinal in Tria6."),
    ("quad4.quad4sf", (0.2, 0.1), 5, (), "Warning: Overflow in Quad4SF."),
    ("quad4.quad4firstderivsf", (0.2, 0.1), 5, (1,), "Warning: Overflow in Quad4FirstDerivSF.Xi."),
    ("quad4.quad4firstderivsf", (0.2, 0.1), 0, (2,), "Warning: Overflow in Quad4FirstDerivSF.Eta."),
    ("quad4.quad4firstderivsf", (0.2, 0.1), 1, (3,), "Warning: Invalid 1st ordinal in Quad4FirstDerivSF."),
    ("quad8.quad8sf", (0.2, 0.1), 9, (), "Warning: Overflow in Quad8SF."),
    ("quad8.quad8firstderivsf", (0.2, 0.1), 9, (1,), "Warning: Overflow in Quad8FirstDerivSF.Xi."),
    ("quad8.quad8firstderivsf", (0.2, 0.1), 9, (2,), "Warning: Overflow in Quad8FirstDerivSF.Eta."),
    ("quad8.quad8firstderivsf", (0.2, 0.1), 1, (0,), "Warning: Invalid 1st ordinal in Quad8FirstDerivSF."),
    ("quad8.quad8secondderivsf", (0.2, 0.1), 9, (1, 1), "Warning: Overflow in Quad8SecondDerivSF.XiXi."),
    ("quad8.quad8secondderivsf", (0.2, 0.1), 9, (2, 1), "Warning: Overflow in Quad8SecondDerivSF.EtaXi."),
    ("quad8.quad8secondderivsf", (0.2, 0.1), 1, (3, 1), "Warning: Invalid 1st ordinal in Quad8SecondDerivSF"),
    ("quad8.quad8secondderivsf", (0.2, 0.1), 1, (1, 3), "Warning: Invalid ordinal in Quad8SecondDerivSF."),
    ("hex8.hex8sf", (0.2, 0.1, 0.3), 9, (), "Warning: Overflow in Hex8SF."),
    ("hex8.hex8firstderivsf", (0.2, 0.1, 0.3), 9, (3,), "Warning: Overflow in Hex8FirstDerivSF.Zeta."),
    ("hex8.hex8firstderivsf", (0.2, 0.1, 0.3), 1, (4,), "Warning: Invalid 1st ordinal in Hex8FirstDerivSF."),
    ("hex8.hex8secondderivsf", (0.2, 0.1, 0.3), 0, (3, 2), "Warning: Overflow in Hex8SecondDerivSF.ZetaEta."),
    ("hex8.hex8secondderivsf", (0.2, 0.1, 0.3), 0, (2, 3), "Warning: Overflow in Hex8SecondDerivSF.EtaZeta."),
    ("hex8.hex8secondderivsf", (0.2, 0.1, 0.3), 0, (3, 3), "Warning: Overflow in Hex8SecondDerivSF.ZetaZeta."),
    ("hex8.hex8secondderivsf", (0.2, 0.1, 0.3), 1, (0, 3), "Warning: Invalid 1st ordinal in Hex8SecondDerivSF"),
    ("hex8.hex8secondderivsf", (0.2, 0.1, 0.3), 1, (1, 4), "Warning: Invalid 2nd ordinal in Hex8SecondDerivSF."),
]


def routine(tv, dotted):
    mod, name = dotted.split(".")
    return getattr(getattr(tv, mod), name)


@pytest.mark.parametrize("dotted,point,node,selectors,message", BAD)
def test_bad_node_or_selector_gives_zero_and_its_warning(tv, latched, dotted, point, node, selectors, message):
    assert routine(tv, dotted)(*point, node, *selectors) == 0.0
    assert latched() == (-2, message)
    assert tv.errorhandling.errstring.tobytes().decode() == message.ljust(80)
    # A held failure stays: a second bad call records nothing, still gives 0.
    assert routine(tv, "quad4.quad4sf")(0.0, 0.0, 0) == 0.0
    assert latched() == (-2, message)


def test_a_bad_selector_is_reported_before_a_bad_node(tv, latched):
    assert tv.quad8.quad8secondderivsf(0.1, 0.2, 99, 2, 5) == 0.0
    assert latched() == (-2, "Warning: Invalid ordinal in Quad8SecondDerivSF.")
    tv.errorhandling.rsxerr(True)
    assert tv.hex8.hex8firstderivsf(0.1, 0.2, 0.3, -4, 0) == 0.0
    assert latched() == (-2, "Warning: Invalid 1st ordinal in Hex8FirstDerivSF.")


@pytest.mark.parametrize("builder,family,nodes,cols", [
    ("quad4shapefunmatrix", "quad4", 4, [(), (1,), (2,)]),
    ("tria6shapefunmatrix", "tria6", 6, [(), (1,), (2,), (1, 1), (2, 2), (1, 2)]),
    ("quad8shapefunmatrix", "quad8", 8, [(), (1,), (2,), (1, 1), (2, 2), (1, 2)]),
    ("hex8shapefunmatrix", "hex8", 8, [(), (1,), (2,), (3,), None, None, None, (1, 2), (1, 3)]),
])
def test_shape_function_matrices_hold_the_single_values(tv, families, builder, family, nodes, cols):
    fam = families[family]
    p = (0.3, -0.2, 0.7)[:fam.dim] if family != "tria6" else (0.2, 0.3)
    m = getattr(tv.elementhandling, builder)(*p)
    assert m.shape == (nodes, len(cols))
    for k in range(1, nodes + 1):
        for c, sel in enumerate(cols):
            want = 0.0 if sel is None else (fam.n(p, k) if not sel else fam.d(p, k, sel[0]) if len(sel) == 1
                                            else fam.d2(p, k, *sel))
            assert m[k - 1, c] == want


def test_nodal_shape(tv, latched):
    eh = tv.elementhandling
    np.testing.assert_array_equal(eh.getnodalshape(5, 8), eh.quad8shapefunmatrix(0.0, -1.0))
    np.testing.assert_array_equal(eh.getnodalshape(5, 6), eh.tria6shapefunmatrix(0.5, 0.5))
    assert latched()[0] == 0
    assert not eh.getnodalshape(1, 4).any()
    assert latched() == (-3, "Unknown or invalid number of nodes")
    tv.errorhandling.rsxerr(True)
    assert not eh.getnodalshape(9, 8).any()
    assert latched() == (-3, "Unknown or invalid node number")
