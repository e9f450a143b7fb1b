"""A host solver links its user routines by their plain C names: every entry
point of the solver coupling is exported from libtavrin.so under that name."""
import ctypes
import pathlib

import _tavrin  # noqa: F401 - maps libtavrin.so into the process

ENTRY_POINTS = """
    UEXTERNALDB_IOControl VUEXTERNALDB_IOControl UACCESS_IOControl
    umat_lamina vumat_lamina usermat_lamina upermat_lamina hypela_lamina
    umat_sensor vumat_sensor umat_porosity umat_hyper gen_damage usdfld_dmg vusdfld_dmg gen_sdvini
    vumat_cartesian vumat_bogenfeld uel_truss vuel_truss uel_impact vuel_impact
    vucharlength_cel uvarm_report vdisp_nullify mpc_nullify
    umat_fiber usermat_fiber umat_krause umat_hail
    umat_resin usermat_resin hetval_prony uexpan_prony umat_prony usermat_prony umat_shokrieh usermat_shokrieh
""".split()


def library():
    maps = pathlib.Path("/proc/self/maps").read_text().split()
    return ctypes.CDLL(next(p for p in maps if p.endswith("/libtavrin.so")))


def test_every_solver_entry_point_is_exported_under_its_c_name():
    lib = library()
    missing = [name for name in ENTRY_POINTS if not hasattr(lib, name)]
    assert not missing
