"""Element kinds, registration of elements and node coordinates, element
reference data from the registration lists, truss geometry and nodal patches."""
import numpy as np
import pytest

COS30, SIN30 = np.cos(np.radians(30.0)), np.sin(np.radians(30.0))
UNFILLED = -np.finfo(float).max


@pytest.fixture
def tables(tv):
    """Element and node tables of nelem rows and nnodes node columns."""
    def make(nelem, nnodes=8):
        ed, nd = tv.elementdata, tv.nodaldata
        ed.nelem, nd.nnodes, nd.ndof = nelem, nnodes, 6
        assert tv.datahandling.allocateelementdata(nnodes, nelem) == 0
        assert tv.datahandling.allocatenodaldata(6, nnodes, nelem) == 0
        return ed
    yield make
    for module, names in [("elementdata", ["elemlist", "elemkind", "elemnodes", "elemindices", "elemcurvatures",
                                           "elemreforientation"]),
                          ("nodaldata", ["nodalcoords", "nodesmotion", "tnodalmatrices", "tcurvmatrices"]),
                          ("sectiondata", ["nsectionpoints"])]:
        for name in names:
            setattr(getattr(tv, module), name, None)
    tv.elementdata.nelem = tv.nodaldata.nnodes = tv.nodaldata.ndof = 0
    for i in (1, 2, 3):
        for f in range(3):
            tv.listhandling.deallocatelist(i, f)


def test_kinds_of_host_names(tv):
    eh = tv.elementhandling
    cases = {"S4R5": 3, "S4R": 2, "S4": 1, "S8R": 4, "S8R5": 5, "S8": 0, "S9R5": 6, "S3R": 7, "STRI65": 8,
             "SC6R": 9, "SC8R": 10, "C3D20R": 11, "C3D8R": 11, "CPE4": 0, "CPS4": 0, "CINPE4": 0, "T3D2": -1,
             "B31": -1, "s4r": -1, "": -1, "S4R5    ": 3}
    assert {name: eh.getabqelementkind(name) for name in cases} == cases


def test_registration_of_element_lines(tv, tables, latched):
    eh = tv.elementhandling
    ed = tables(3, nnodes=4)
    iele = 0
    for number, name, nodes in [(11, "S4R", [1, 2, 3, 4]), (12, "CINPE4", [9, 9, 9, 9]), (13, "T3D2", [5, 6]),
                                (14, "C3D4", [2, 3, 5, 6]), (15, "STRI3", [3, 4, 5])]:
        iele = eh.getabqelementconnectivity(iele, np.array(nodes, np.int32), number, name)
    assert iele == 3
    assert list(ed.elemlist) == [11, 14, 15] and list(ed.elemkind) == [2, 11, 8]
    assert ed.elemnodes.T.tolist() == [[1, 2, 3, 4], [2, 3, 5, 6], [3, 4, 5, 0]]
    assert latched()[0] == 0
    # A row beyond nelem or more nodes than node columns: refused, nothing changed.
    before = (ed.elemlist.copy(), ed.elemnodes.copy())
    assert eh.getabqelementconnectivity(3, np.array([1, 2], np.int32), 16, "S4") == 3
    assert latched()[0] == -3
    tv.errorhandling.rsxerr(True)
    assert eh.getabqelementconnectivity(0, np.arange(1, 6, dtype=np.int32), 16, "S4") == 0
    assert latched()[0] == -3
    tv.errorhandling.rsxerr(True)
    tv.nodaldata.nnodes = 0  # no node columns: any connectivity is too long
    assert eh.getabqelementconnectivity(0, np.array([1], np.int32), 16, "S4") == 0
    assert latched()[0] == -3
    np.testing.assert_array_equal(ed.elemlist, before[0])
    np.testing.assert_array_equal(ed.elemnodes, before[1])
    # Without element tables nothing is registered.
    ed.elemlist = None
    assert eh.getabqelementconnectivity(0, np.array([1], np.int32), 1, "S4") == 0


def test_node_coordinates_reach_every_element_holding_the_node(tv, tables, latched):
    eh = tv.elementhandling
    ed = tables(3, nnodes=4)
    ed.elemnodes = np.asfortranarray(np.array([[1, 2, 3, 4], [3, 4, 5, 6], [3, 7, 3, 8]], np.int32).T)
    xyz = np.array([[1.0, 2.0, 3.0], [4.0, 5.0, 6.0]]).T
    eh.getnodalcoordinates(np.full((3, 3), 9.0), np.array([0, 9, -5], np.int32))  # nodes of no element
    assert not tv.nodaldata.nodalcoords.any()
    eh.getnodalcoordinates(xyz, np.array([3, 8], np.int32))
    c = tv.nodaldata.nodalcoords
    assert c[:, 2, 0].tolist() == [1, 2, 3] and c[:, 0, 1].tolist() == [1, 2, 3]
    # Within a row only the first position of a repeated node.
    assert c[:, 0, 2].tolist() == [1, 2, 3] and c[:, 2, 2].tolist() == [0, 0, 0]
    assert c[:, 3, 2].tolist() == [4, 5, 6]
    # Two coordinates per node; elemindices limits the rows visited.
    ed.elemindices = np.array([2, -1, -1], np.int32)
    eh.getnodalcoordinates(np.array([[-1.0, -2.0]]).T, np.array([3], np.int32))
    assert c[:, 0, 1].tolist() == [-1, -2, 3] and c[:, 2, 0].tolist() == [1, 2, 3]
    # No node columns: nothing to find.
    before = c.copy()
    tv.nodaldata.nnodes = 0
    eh.getnodalcoordinates(np.ones((3, 1)), np.array([3], np.int32))
    np.testing.assert_array_equal(tv.nodaldata.nodalcoords, before)
    tv.nodaldata.nnodes = 4
    # More than three coordinates: refused.
    before = c.copy()
    eh.getnodalcoordinates(np.ones((4, 1)), np.array([3], np.int32))
    assert latched()[0] == -3
    np.testing.assert_array_equal(tv.nodaldata.nodalcoords, before)


def test_node_coordinates_with_sparse_numbers_and_listed_rows(tv, tables):
    eh = tv.elementhandling
    ed = tables(3, nnodes=2)
    # Node numbers far apart: the index sorts instead of addressing directly.
    ed.elemnodes = np.asfortranarray(np.array([[5, 3_000_000], [3_000_000, 7], [7, 5]], np.int32).T)
    xyz = np.array([[1.0, 2.0, 3.0], [4.0, 5.0, 6.0], [7.0, 8.0, 9.0]]).T.copy()
    eh.getnodalcoordinates(xyz, np.array([3_000_000, 5, 6], np.int32))
    c = tv.nodaldata.nodalcoords
    assert c[:, :, 0].T.tolist() == [[4, 5, 6], [1, 2, 3]]
    assert c[:, :, 1].T.tolist() == [[1, 2, 3], [0, 0, 0]] and c[:, :, 2].T.tolist() == [[0, 0, 0], [4, 5, 6]]
    # Listed rows only, row 1 among them; entries outside the table are skipped.
    ed.elemindices = np.array([1, 9, -1], np.int32)
    eh.getnodalcoordinates(np.zeros((3, 1)), np.array([5], np.int32))
    assert c[:, 0, 0].tolist() == [0, 0, 0] and c[:, 1, 2].tolist() == [4, 5, 6]


def flat(angle_d=0.0):
    # tdirect of an element in the x-y plane, turned about z by angle_d.
    c, s = np.cos(np.radians(angle_d)), np.sin(np.radians(angle_d))
    return np.array([[c, s, 0.0], [-s, c, 0.0], [0.0, 0.0, 1.0]]).T.copy()


def test_reference_data_pairs_records_with_their_elements(tv, tables):
    eh = tv.elementhandling
    ed = tables(4)
    ed.elemlist = np.array([10, 20, 30, 40], np.int32)
    ed.elemkind = np.array([2, 4, 2, 1], np.int32)
    plies = np.array([[0.0, 45.0], [30.0, 0.0]]).T.copy()  # (nplies 2, nsec 2)
    # Registered out of row order: 30 (section 2, 30°), then 10 (section 1, 0°).
    # Element 99 has no row: its record and section point are dropped.
    calls = [(99, 9, 1, 1, 0, 1), (30, 1, 1, 2, 0, 1), (10, 3, 1, 1, 0, 1), (30, 2, 2, 2, 0, 0), (10, 1, 1, 1, 2, 0),
             (30, 5, 1, 2, -1, 0)]
    for noel, kspt, layid, secid, nextid, appended in calls:
        assert eh.getelementreforientation(1, np.eye(3), flat(), plies, noel, kspt, layid, secid,
                                           nextid) == appended
    # A section outside the table: refused before the element is listed.
    assert eh.getelementreforientation(1, np.eye(3), flat(), plies, 20, 1, 1, 3, 0) == 0
    tv.errorhandling.rsxerr(True)
    nshell, ierror = eh.getelementreferencedata(1)
    assert (nshell, ierror) == (4, 0) and ed.elemindices is None
    ro = ed.elemreforientation
    np.testing.assert_allclose(ro[:, 2], [30.0, COS30, -SIN30, 0.0, SIN30, COS30, 0.0], atol=1e-14)
    np.testing.assert_allclose(ro[:, 0], [0.0, 1.0, 0.0, 0.0, 0.0, 1.0, 0.0], atol=1e-14)
    assert (ro[:, [1, 3]] == -1.0).all()
    assert list(tv.sectiondata.nsectionpoints) == [3, 1, 2, 1]
    assert [tv.listhandling.getsizeoflist(1, f) for f in range(3)] == [-1, -1, -1]


def test_reference_data_finds_rows_of_unsorted_element_numbers(tv, tables):
    # Element numbers in no order: each record still reaches its element's row.
    eh = tv.elementhandling
    ed = tables(4)
    ed.elemlist = np.array([40, 10, 30, 20], np.int32)
    ed.elemkind = np.array([2, 2, 2, 2], np.int32)
    plies = np.array([[0.0, 45.0], [30.0, 0.0]]).T.copy()
    for noel, secid in [(30, 2), (10, 1)]:
        assert eh.getelementreforientation(1, np.eye(3), flat(), plies, noel, 1, 1, secid, 0) == 1
    assert eh.getelementreferencedata(1) == (4, 0)
    ro = ed.elemreforientation
    np.testing.assert_allclose(ro[:, 2], [30.0, COS30, -SIN30, 0.0, SIN30, COS30, 0.0], atol=1e-14)
    np.testing.assert_allclose(ro[:, 1], [0.0, 1.0, 0.0, 0.0, 0.0, 1.0, 0.0], atol=1e-14)
    assert (ro[:, [0, 3]] == -1.0).all()


def test_reference_data_without_lists_and_with_excluded_kinds(tv, tables):
    eh = tv.elementhandling
    ed = tables(4)
    ed.elemkind = np.array([11, 2, 7, -1], np.int32)
    tv.listhandling.cmplx_appendscalar2list(1, 1 + 2j, 0)
    assert eh.getelementreferencedata(1) == (2, -1)
    assert list(ed.elemindices) == [2, 4, -1, -1]
    assert (ed.elemreforientation == -1.0).all() and list(tv.sectiondata.nsectionpoints) == [-1] * 4
    assert tv.listhandling.getsizeoflist(1, 2) == -1
    # elemindices stays as it is and nshell 0 on a second call.
    assert eh.getelementreferencedata(1) == (0, -1) and list(ed.elemindices) == [2, 4, -1, -1]
    # Three lists made but never filled: nothing to pair, and no list missing.
    for f in range(3):
        assert tv.listhandling.allocatelist(1, f, 0) == 0
    assert eh.getelementreferencedata(1) == (0, 0)


def test_element_orientation_and_truss_geometry(tv):
    eh = tv.elementhandling
    assert eh.getabqelementorientation([COS30, SIN30, 0.0], np.eye(3)) == pytest.approx(30.0, abs=1e-12)
    assert eh.getabqelementorientation([COS30, -SIN30, 0.0], np.eye(3)) == pytest.approx(-30.0, abs=1e-12)
    # A plane tilted about x: the projected x axis is still x.
    tilted = np.array([[1.0, 0.0, 0.0], [0.0, COS30, SIN30], [0.0, -SIN30, COS30]]).T.copy()
    assert eh.getabqelementorientation([0.0, COS30, SIN30], tilted) == pytest.approx(90.0, abs=1e-12)
    nodes = np.array([[1.0, 1.0, 1.0], [3.0, 4.0, 7.0]]).T.copy()
    assert eh.gettruss3elemlength(nodes) == 7.0
    te = eh.gettruss3transformationmatrix(nodes)
    np.testing.assert_allclose(te, [[2 / 7, 3 / 7, 6 / 7, 0, 0, 0], [0, 0, 0, 2 / 7, 3 / 7, 6 / 7]], rtol=1e-15)


def test_data_from_patch_takes_the_last_coinciding_node(tv):
    refcoords = np.zeros((2, 2, 2), order="F")
    refcoords[:, 1, 0] = [1.0, 0.0]
    refcoords[:, 0, 1] = [1.0, 5e-10]  # beyond the default tolerance
    refcoords[:, 1, 1] = [2.0, 0.0]
    refdata = np.asfortranarray(np.arange(1.0, 5.0).reshape(1, 2, 2, order="F"))
    patch = np.array([[1.0, 0.0], [5.0, 5.0], [0.0, 0.0]]).T.copy()
    data = tv.elementhandling.getdatafrompatch(refdata, patch, refcoords)
    assert data.tolist() == [[2.0, 0.0, 1.0]]
    assert tv.elementhandling.getdatafrompatch(refdata, patch, refcoords, tolerance=1e-9).tolist() == [[3.0, 0.0, 1.0]]


def test_nodal_patch_levels(tv):
    # A row of four 2-node elements along x: nodes 1-2, 2-3, 3-4, 4-5 at x = node number.
    nodes = np.asfortranarray(np.array([[1, 2], [2, 3], [3, 4], [4, 5]], np.int32).T)
    coords = np.zeros((3, 2, 4), order="F")
    coords[0] = nodes
    eh = tv.elementhandling
    one = eh.getnodalpatch(np.zeros((3, 6), order="F"), coords, nodes, 2)
    assert one[0].tolist() == [1.0, 2.0, 3.0, 4.0, UNFILLED, UNFILLED]
    with_own = eh.getnodalpatch(np.zeros((3, 6), order="F"), coords, nodes, 2, exflag=1)
    assert with_own[0, :4].tolist() == [1.0, 2.0, 3.0, 4.0]
    # Two levels around element 1: element 2, then element 3 around it; every point kept.
    two = eh.getnodalpatch(np.zeros((3, 6), order="F"), coords, nodes, 1, ntree=2)
    assert two[0].tolist() == [2.0, 3.0, 1.0, 4.0, UNFILLED, UNFILLED]
    # No level writes past npt.
    short = eh.getnodalpatch(np.zeros((3, 3), order="F"), coords, nodes, 1, ntree=3)
    assert short[0].tolist() == [2.0, 3.0, 1.0]
