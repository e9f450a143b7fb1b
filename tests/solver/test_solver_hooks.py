"""The small solver hooks: characteristic lengths, the explicit displacement
hook feeding the element tables, and the switched-off constraint."""
import numpy as np
import pytest


@pytest.fixture(autouse=True)
def clean(tv):
    tv.errorhandling.rsxerr(True)
    yield
    tv.errorhandling.rsxerr(True)
    tv.jobdata.stepid = None
    tv.jobdata.nsteps = 0
    tv.debugdata.nupdate = 1
    for module, names in [("elementdata", ["elemlist", "elemkind", "elemnodes", "elemcurvatures",
                                           "elemreforientation"]),
                          ("nodaldata", ["nodalcoords", "nodesmotion", "tnodalmatrices", "tcurvmatrices"]),
                          ("sectiondata", ["nsectionpoints"])]:
        for name in names:
            setattr(getattr(tv, module), name, None)
    tv.elementdata.nelem = tv.nodaldata.nnodes = tv.nodaldata.ndof = 0


def charlength(tv, jeltype, nodes, ncomp=3, tdirect=np.eye(3)):
    """Lengths of two identical points whose element has the nodes (rows)."""
    nodes = np.asarray(nodes, float)
    nblock, nnode, ndim = 2, *nodes.shape
    coordnode = np.broadcast_to(nodes, (nblock, nnode, ndim)).copy(order="F")
    td = np.broadcast_to(tdirect, (nblock, 3, 3)).copy(order="F")
    return tv.toplevel.vucharlength_cel(ncomp, 1, 1, 1, [jeltype, 0, 0], np.zeros(nblock, np.int32), 0.0, 0.0,
                                        0.0, "M", np.zeros((nblock, ndim)), coordnode, td, td, [0.0],
                                        np.zeros((nblock, 1)), np.zeros((nblock, 1)))


def test_characteristic_lengths(tv, latched):
    quad = [(0, 0), (2, 0), (2, 1), (0, 1)]
    np.testing.assert_allclose(charlength(tv, 3, quad), [[2, 1, 5 ** 0.5]] * 2, rtol=1e-15)
    cube = np.array([(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0), (0, 0, 1), (1, 0, 1), (1, 1, 1), (0, 1, 1)]) * [3, 2, 1]
    np.testing.assert_allclose(charlength(tv, 6, cube, ncomp=5), [[3, 2, 1, 0, 0]] * 2, rtol=1e-15)
    # Turned directions: lengths along the turned axes.
    turn = np.array([[0, 1, 0], [1, 0, 0], [0, 0, 1.0]])
    np.testing.assert_allclose(charlength(tv, 6, cube, ncomp=2, tdirect=turn), [[2, 3]] * 2, rtol=1e-15)
    # A fourth coordinate is not read.
    np.testing.assert_allclose(charlength(tv, 6, np.c_[cube, np.full(8, 99.0)]), [[3, 2, 1]] * 2, rtol=1e-15)
    assert not charlength(tv, 4, cube).any() and latched()[0] == 0
    assert not charlength(tv, 6, cube[:6]).any() and latched()[0] == -2


def vdisp(tv, kstep, kinc, u, coords=None, nodes=(1, 2)):
    nodes = np.array(nodes, np.int32)
    coords = np.zeros((3, len(nodes))) if coords is None else coords
    z = np.zeros_like(u)
    rval = np.full_like(u, 5.0)
    tv.toplevel.vdisp_nullify(kstep, kinc, 0.0, 0.0, 0.1, 0.1, "BC", 0, np.zeros(1, np.int32), nodes,
                              np.zeros(len(nodes)), coords, u, z, z, z, np.zeros(len(nodes)),
                              np.zeros((3, 3, len(nodes))), rval)
    assert (rval == 5.0).all()


def test_displacement_hook_feeds_the_element_tables(tv):
    ed, nd = tv.elementdata, tv.nodaldata
    ed.nelem, nd.nnodes, nd.ndof = 1, 8, 6
    assert tv.datahandling.allocateelementdata(8, 1) == 0 and tv.datahandling.allocatenodaldata(6, 8, 1) == 0
    ed.elemlist = np.array([7], np.int32)
    ed.elemkind = np.array([4], np.int32)
    ed.elemnodes = np.arange(1, 9, dtype=np.int32).reshape(8, 1)
    tv.jobdata.stepid = np.array([0, 3, 2], np.int32)
    tv.jobdata.nsteps = 3
    tv.debugdata.nupdate = 2
    # Increment 1 of the initialisation step: coordinates.
    xyz = np.array([[1.0, 2.0, 3.0], [4.0, 5.0, 6.0]]).T.copy()
    vdisp(tv, 1, 1, np.zeros((6, 2)), coords=xyz)
    np.testing.assert_array_equal(nd.nodalcoords[:, :2, 0], xyz)
    # Impact step, every second increment from the third on.
    stored = []
    for kinc in range(2, 8):
        u = np.full((6, 2), float(kinc))
        vdisp(tv, 2, kinc, u)
        if nd.nodesmotion[0, 0, 0] == kinc:
            stored.append(kinc)
    assert stored == [3, 5, 7]
    assert nd.nodesmotion[:, 0, 0].tolist() == [7.0] * 6
    # Not in a step of kind 2; three degrees of freedom: translations, no rotations.
    vdisp(tv, 3, 3, np.full((6, 2), 9.0))
    assert nd.nodesmotion[0, 0, 0] == 7.0
    vdisp(tv, 2, 9, np.full((3, 2), 11.0))
    assert nd.nodesmotion[:, 0, 0].tolist() == [11.0] * 3 + [7.0] * 3


def test_constraint_hook_switches_off(tv):
    ue = np.array([1.0, 2.0])
    out_ue, a, jdof, lmpc = tv.toplevel.mpc_nullify(ue, 1, np.ones((6, 3)), np.ones((2, 3)), np.ones((2, 3)), 5, 1,
                                                    1, [0.0, 0.0], np.ones((1, 3)), np.ones((1, 1, 3)),
                                                    np.ones(3, np.int32), np.ones((3, 3, 3)))
    assert out_ue.tolist() == [1.0, 2.0] and lmpc == 0
    assert a.shape == (2, 2, 3) and not a.any() and jdof.shape == (2, 3) and not jdof.any()


def test_gauss_point_report_of_the_first_initialisation_increment(tv, tmp_path):
    tv.jobdata.jobfilepath = str(tmp_path / "job")
    tv.jobdata.stepid = np.array([0, 3], np.int32)
    tv.jobdata.nsteps = 2
    try:
        for kstep, kinc, noel in ((1, 1, 7), (1, 2, 8), (2, 1, 9), (3, 1, 10)):
            uvar = tv.toplevel.uvarm_report(np.full(2, 4.0), np.eye(3), np.eye(3), [0.0, 0.0], 0.1, "M", "O", noel, 3,
                                            1, 1, kstep, kinc, 3, 3, [1.5, -2.0, 0.25], np.zeros(1, np.int32),
                                            np.zeros(1, np.int32), 0, 0)
            assert uvar.tolist() == [4.0, 4.0]
        lines = (tmp_path / "job.rst").read_text().splitlines()
    finally:
        tv.jobdata.jobfilepath = " "
    assert len(lines) == 2 and lines[1].split() == ["7", "3", "1.50000000", "-2.00000000", "0.25000000"]
