"""The adapters with Python material routines: what a call-back fills comes
back through each interface, the muesli call-back's returned tuple included."""
import numpy as np
import pytest

EYE = np.eye(3, order="F")


def isotropic(e, nu):
    lam, g = e * nu / ((1 + nu) * (1 - 2 * nu)), e / (2 * (1 + nu))
    c = np.diag([2 * g] * 3 + [g] * 3) + 0.0
    c[:3, :3] += lam
    return c


C = isotropic(1000.0, 0.25)


def umat(stress, statev, ddsdde, sse, spd, scd, rpl, ddsddt, drplde, drpldt, stran, dstran, *rest):
    stress[:] = C @ (stran + dstran)
    ddsdde[:] = C
    sse[()] = 0.5 * stress @ (stran + dstran)
    statev[0] += 1.0


def umat_args(ntens=6, nstatv=2):
    # stress, statev, sse, spd, scd, rpl, ddsddt, drplde, drpldt, stran, dstran, time, dtime, temp,
    # dtemp, predef, dpred, materl, ndi, nshr, props, coords, drot, pnewdt, celent, dfgrd0, dfgrd1,
    # noel, npt, kslay, kspt, jstep, kinc
    z = np.zeros(ntens)
    dstran = np.zeros(ntens)
    dstran[0] = 0.001
    return [z, np.zeros(nstatv), 0.0, 0.0, 0.0, 0.0, z, z, 0.0, z, dstran, [0.0, 0.0], 0.1, 20.0,
            0.0, 0.0, 0.0, "PLY_m@3@", 3, ntens - 3, [0.0], [0.0] * 3, EYE, 0.5, 1.0, EYE, EYE, 7, 1, 1,
            1, [1, 1, 0, 0], 1]


def test_ansys_host_with_a_python_umat(tv):
    stress, ustatev, tsstif = np.zeros(6), np.zeros(2), np.zeros(2)
    sedel, sedpl, epseq = np.zeros(()), np.ones(()), np.ones(())
    var = [np.zeros(()) for _ in range(9)]
    dstrain = np.array([0.001, 0, 0, 0, 0.002, 0])  # ANSYS order: gamma23
    keycut, dsdepl, epszz = tv.wrapper.abq_umat_to_ansys_usermat(
        umat, 1, 11, 1, 1, 1, 1, 1, 3, 3, 0.0, 0.1, 20.0, 0.0, stress, ustatev, sedel, sedpl, epseq,
        np.zeros(6), dstrain, np.zeros(6), [0.0], [0.0] * 3, var[0], EYE, EYE, tsstif, *var[1:])
    np.testing.assert_allclose(stress, [1.2, 0.4, 0.4, 0.0, 0.8, 0.0], rtol=1e-13)
    assert ustatev[0] == 1.0 and sedel == pytest.approx(6e-4 + 0.5 * 0.8 * 0.002, rel=1e-13)
    assert (keycut, float(sedpl), float(epseq)) == (0, 0.0, 0.0)
    np.testing.assert_allclose(tsstif, [400.0, 0.0], rtol=1e-12)
    np.testing.assert_allclose(dsdepl, C, rtol=1e-15)


def test_umat_host_with_python_usermat_and_muesli_routines(tv):
    seen = {}

    def usermat(matid, noel, npt, kslay, kspt, ldstep, kinc, keycut, ans_time, dtime, temp, dtemp,
                stress, statev, ddsdde, sse, sedpl, epseq, strain, dstrain, *rest):
        seen.update(matid=matid, dstrain=dstrain.copy())
        stress[:] = dstrain
        ddsdde[:] = np.eye(6)
        sse[()] = 2.0

    args = umat_args()
    args[10] = np.array([1.0, 2, 3, 4, 5, 6])
    stress, sse, pnewdt = args[0], np.zeros(()), np.zeros(())
    args[2], args[3], args[4], args[23] = sse, np.ones(()), np.ones(()), pnewdt
    ddsdde = tv.wrapper.ansys_usermat_to_abq_umat(usermat, *args)
    assert seen["matid"] == 3
    np.testing.assert_array_equal(seen["dstrain"], [1, 2, 3, 4, 6, 5])
    np.testing.assert_array_equal(stress, [1, 2, 3, 4, 5, 6])
    assert (float(sse), float(pnewdt), float(args[3])) == (2.0, 1.0, 0.0) and (ddsdde == np.eye(6)).all()

    def muesli(matid, stress, statev, ddsdde, sse, spd, scd, rpl, ddsddt, drplde, drpldt, stran,
               dstran, *rest):
        umat(stress, statev, ddsdde, sse, spd, scd, rpl, ddsddt, drplde, drpldt, stran, dstran)
        return statev + matid, float(sse), 1.5, 2.5, 0.25

    res = tv.wrapper.muesli_to_abq_umat(muesli, *umat_args(ntens=4), 10)
    stress, statev, ddsdde, sse, spd, scd, pnewdt = res
    np.testing.assert_allclose(stress, [1.2, 0.4, 0.4, 0.0], rtol=1e-13)
    np.testing.assert_array_equal(statev, [11.0, 10.0])
    assert (sse, spd, scd, pnewdt) == (pytest.approx(6e-4, rel=1e-13), 1.5, 2.5, 0.25)
    np.testing.assert_allclose(ddsdde, C[:4, :4], rtol=1e-15)


def test_peridigm_block_and_a_failing_callback(tv, capfd):
    stressold = np.array([[0.0] * 6, [10.0] + [0.0] * 5])
    dstrain = np.zeros((2, 6))
    dstrain[0, 0] = 0.001
    stressnew, statenew = tv.wrapper.abq_umat_to_peridigm_upermat(
        umat, stressold, np.zeros((2, 1)), dstrain, [0.0], 0.0, 1.0, 0.1, 1, 3, 3)
    np.testing.assert_allclose(stressnew, [[1.2, 0.4, 0.4, 0, 0, 0], [10.0, 0, 0, 0, 0, 0]], atol=1e-15)
    np.testing.assert_array_equal(statenew, [[1.0], [1.0]])

    def broken(*args):
        raise ValueError("no law")

    with pytest.raises(ValueError, match="no law"):
        tv.wrapper.abq_umat_to_peridigm_upermat(broken, stressold, np.zeros((2, 1)), dstrain, [0.0], 0.0,
                                                1.0, 0.1, 1, 3, 3)
    assert "Call-back cb_dfunc_in_abq_umat_to_peridigm_upermat__user__routines failed." in capfd.readouterr().err


def test_unsupported_component_count(tv, clean_latch, latched):
    calls = []
    res = tv.wrapper.muesli_to_abq_umat(lambda *a: calls.append(1), *umat_args(ntens=5), 1)
    assert not calls and latched() == (-2, "Unsupported number of stress components in the interface adapter.")
    np.testing.assert_array_equal(res[0], np.zeros(5))
