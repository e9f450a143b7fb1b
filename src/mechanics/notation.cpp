#include "mechanics/notation.hpp"

#include "foundation/numerics_latch.hpp"

namespace tavrin::lamina {
namespace {

// Tensor indices (i, j) of the Voigt positions 1..6.
constexpr int voigt_i[6] = {1, 2, 3, 2, 1, 1};
constexpr int voigt_j[6] = {1, 2, 3, 3, 3, 2};

}  // namespace

Mat6 voigt_stiffness(const Tensor4& c) {
  Mat6 csix;
  for (int q = 0; q < 6; ++q)
    for (int p = 0; p < 6; ++p) csix(p + 1, q + 1) = c(voigt_i[p], voigt_j[p], voigt_i[q], voigt_j[q]);
  return csix;
}

Tensor4 tensor_stiffness(const Mat6& csix) {
  Tensor4 c;
  for (int q = 0; q < 6; ++q)
    for (int p = 0; p < 6; ++p) {
      const double v = csix(p + 1, q + 1);
      const int i = voigt_i[p], j = voigt_j[p], k = voigt_i[q], l = voigt_j[q];
      c(i, j, k, l) = v;
      c(j, i, k, l) = v;
      c(i, j, l, k) = v;
      c(j, i, l, k) = v;
    }
  return c;
}

}  // namespace tavrin::lamina

namespace {
namespace la = tavrin::lamina;
using tavrin::Mat3;
using tavrin::Mat6;
using tavrin::Vec6;

// fn = q reordered by p: the six rows of a vector (sdim 1) or rows and
// columns of a 6×6 matrix (sdim 6).  Other extents are refused.
void reorder(double* fn, const double* q, int sdim, const la::Order& p, const char* message) {
  if (sdim == 1) {
    la::permute(Vec6::load(q), p).store(fn);
  } else if (sdim == 6) {
    la::permute(Mat6::load(q), p).store(fn);
  } else {
    tavrin::latch_failure(tavrin::status_error, message);
  }
}

}  // namespace

extern "C" {

void CauchyNotation(double* cn, const double* qv) { la::cauchy(Vec6::load(qv)).store(cn); }
void VoigtNotation(double* vn, const double* q) { la::voigt(Mat3::load(q)).store(vn); }
void NyeNotation(double* nn, const double* q) { la::nye(Mat3::load(q)).store(nn); }
void CyclicNotation(double* cn, const double* q) { la::cyclic(Mat3::load(q)).store(cn); }

void FlipVoigtNyeNotation(double* fn, const double* q, const int* sdim) {
  reorder(fn, q, *sdim, la::voigt_nye, "Unsupported extents of Q in FlipVoigtNyeNotation");
}

void FlipVoigtCyclicNotation(double* fn, const double* q, const int* sdim, const int* dir) {
  reorder(fn, q, *sdim, la::shear_shift(*dir), "Unsupported extents of Q inFlipVoigtCyclicNotation");
}

void GetVoigtStiffnessFromTensor(double* csix, const double* c_4th) {
  la::voigt_stiffness(tavrin::Tensor4::load(c_4th)).store(csix);
}

void GetTensorFromVoigtStiffness(double* c_4th, const double* csix) {
  la::tensor_stiffness(Mat6::load(csix)).store(c_4th);
}

}  // extern "C"
