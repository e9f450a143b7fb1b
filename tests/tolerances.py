"""Tolerances for comparing a library result with a reference NumPy computes
at test time.  NumPy's bundled BLAS picks its kernel by CPU, and each kernel
sums a product in its own order (blocked, vectorised, with or without fused
multiply-adds), so such a reference agrees with the library's sum only to
the rounding of the terms summed, not to the last bit."""
import numpy as np

EPS = np.finfo(float).eps


def sum_atol(magnitude, n):
    """Two sums of the same n terms in different orders differ by at most
    n·eps times the sum of the terms' magnitudes."""
    return n * EPS * np.asarray(magnitude, float)


def product_atol(*factors):
    """Entry by entry, the bound of sum_atol for f1 @ f2 @ ...: the errors of
    a chain add up along it, each carried by the magnitudes of the factors
    that follow (to first order)."""
    magnitude, terms = np.abs(factors[0]), 0
    for f in factors[1:]:
        terms += np.shape(magnitude)[-1]
        magnitude = magnitude @ np.abs(f)
    return sum_atol(magnitude, terms)


def solve_atol(a, x):
    """For x = a⁻¹·b (or a⁻¹ itself) from two backward-stable solvers, such as
    the library's and LAPACK's: each lies within about 3n·(eps/2)·κ(a) of the
    exact solution, relative to its largest entry."""
    return 3 * len(a) * EPS * np.linalg.cond(a) * np.abs(x).max()


def assert_close(actual, desired, atol, rtol=0.0, err_msg=""):
    """np.testing.assert_allclose with an absolute tolerance per entry (its
    message cannot show an array of them)."""
    actual, desired = np.asarray(actual, float), np.asarray(desired, float)
    assert actual.shape == desired.shape, f"shapes {actual.shape} and {desired.shape} differ"
    bound = np.broadcast_to(np.asarray(atol, float) + rtol * np.abs(desired), desired.shape)
    far = ~(np.abs(actual - desired) <= bound)  # NaN is never close
    prefix = f"{err_msg}: " if err_msg else ""
    assert not far.any(), (f"{prefix}{far.sum()} of {far.size} entries beyond the tolerance\n"
                           f" actual:  {actual[far]}\n desired: {desired[far]}\n allowed: {bound[far]}")
