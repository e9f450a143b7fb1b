// The whole Abaqus/Standard UMAT argument list of a material routine of the
// library, for its descriptor: the shared descriptors of solver_args.hpp with
// the routine's own state and property descriptions.
#pragma once

#include "tables/solver_args.hpp"

// UMAT arguments in the solver's order, ending with the material name's
// hidden length.
#define TAVRIN_UMAT_ARGS(statev_arg, props_arg)                                                        \
  ::tavrin::bind::solver_args::stress, statev_arg, ::tavrin::bind::solver_args::ddsdde,                \
      ::tavrin::bind::solver_args::sse, ::tavrin::bind::solver_args::spd,                             \
      ::tavrin::bind::solver_args::scd, ::tavrin::bind::solver_args::rpl.describe("not used"),        \
      ::tavrin::bind::solver_args::ddsddt.describe("not used"),                                       \
      ::tavrin::bind::solver_args::drplde.describe("not used"),                                       \
      ::tavrin::bind::solver_args::drpldt.describe("not used"), ::tavrin::bind::solver_args::stran,   \
      ::tavrin::bind::solver_args::dstran, ::tavrin::bind::solver_args::time,                         \
      ::tavrin::bind::solver_args::dtime, ::tavrin::bind::solver_args::temp,                          \
      ::tavrin::bind::solver_args::dtemp, ::tavrin::bind::solver_args::predef.describe("not used"),   \
      ::tavrin::bind::solver_args::dpred.describe("not used"), ::tavrin::bind::solver_args::materl,   \
      ::tavrin::bind::solver_args::ndi, ::tavrin::bind::solver_args::nshr,                            \
      ::tavrin::bind::solver_args::ntens, ::tavrin::bind::solver_args::nstatv, props_arg,             \
      ::tavrin::bind::solver_args::nprops, ::tavrin::bind::solver_args::coords.describe("not used"),  \
      ::tavrin::bind::solver_args::drot.describe("not used"), ::tavrin::bind::solver_args::pnewdt,    \
      ::tavrin::bind::solver_args::celent.describe("not used"),                                       \
      ::tavrin::bind::solver_args::dfgrd0.describe("not used"),                                       \
      ::tavrin::bind::solver_args::dfgrd1.describe("not used"), ::tavrin::bind::solver_args::noel,    \
      ::tavrin::bind::solver_args::npt, ::tavrin::bind::solver_args::kslay,                           \
      ::tavrin::bind::solver_args::kspt, ::tavrin::bind::solver_args::jstep,                          \
      ::tavrin::bind::solver_args::kinc, ::tavrin::bind::solver_args::materl_len
