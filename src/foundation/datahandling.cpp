#include "foundation/datahandling.hpp"

#include <algorithm>

#include "foundation/shared_state.hpp"

namespace tavrin::datahandling {
namespace {

template <class A, class... E>
void create_if_absent(A& a, E... extents) {
  if (!a.allocated()) a.allocate(extents...);
}

}  // namespace

void deallocall(int& istat) {
  istat = 0;
  AllocatableBase* const tables[] = {
      &jobdata::stepid,
      &materialdata::matidlist, &materialdata::pfflags, &materialdata::peflags,
      &materialdata::pelimits, &materialdata::peprops, &materialdata::psprops,
      &materialdata::pfprops, &materialdata::phprops, &materialdata::pdprops,
      &materialdata::cuprops,
      &sectiondata::secidlist, &sectiondata::seflags, &sectiondata::nsectionpoints,
      &sectiondata::xcstrength, &sectiondata::plythickness, &sectiondata::plyorientation,
      &sectiondata::plyzcoord, &sectiondata::sefmatrix, &sectiondata::sehmatrix,
      &sectiondata::seuser, &sectiondata::seprops, &sectiondata::sestress,
      &sectiondata::sestrain, &sectiondata::tnormalstress, &sectiondata::tshearstress,
      &nodaldata::nodesmotion, &nodaldata::nodalcoords, &nodaldata::tnodalmatrices,
      &nodaldata::tcurvmatrices,
      &elementdata::elemlist, &elementdata::elemkind, &elementdata::elemnodes,
      &elementdata::elemlength, &elementdata::elemindices, &elementdata::elemcurvatures,
      &elementdata::elemreforientation,
      &impactdata::cprops,
      &loaddata::dprops,
      &damagedata::damagedds, &damagedata::generaldds, &damagedata::fiberdds,
      &damagedata::matrixdds, &damagedata::coredds, &damagedata::delamdds,
      &damagedata::dmgshape, &damagedata::dmgplane, &damagedata::dmgpoints,
      &bukdata::bukintdatalist, &bukdata::bukrealdatalist,
      &shokriehdata::cycles, &shokriehdata::cycleprops,
  };
  static_assert(std::size(tables) == 52);
  for (AllocatableBase* a : tables) a->deallocate();
}

void allocatedamagedata(int& istat, int kplies, int ksec, int kdmg) {
  using namespace damagedata;
  istat = 0;
  // One interface fewer than plies, at least one (no overflow at INT_MIN).
  const int interfaces = kplies > 2 ? kplies - 1 : 1;
  ndmg = std::max({ndmg, 1, kdmg});
  const int d = ndmg;

  if (!damagedds.allocated()) {
    damagedds.allocate(1);
    damagedds(1) = -1;
  }
  create_if_absent(generaldds, 3, kplies, d);
  create_if_absent(fiberdds, 3, kplies, d);
  create_if_absent(matrixdds, 3, kplies, d);
  create_if_absent(delamdds, 3, interfaces, d);
  create_if_absent(coredds, 3, kplies, d);
  create_if_absent(userdds, 3, kplies, d);
  // First use since the descriptors were created: clear them all, also those
  // that the damage card filled before.
  if (damagedds.size() >= 1 && damagedds(1) == -1) {
    damagedds(1) = 0;
    for (auto* a : {&generaldds, &fiberdds, &matrixdds, &delamdds, &coredds, &userdds})
      a->fill(0.0);
  }
  create_if_absent(dmgplane, 10, d);
  create_if_absent(bukdata::bukintdatalist, 4, interfaces, d, ksec);
  create_if_absent(bukdata::bukrealdatalist, 12, interfaces, d, ksec);
}

void allocatenodaldata(int& istat, int kdof, int knodes, int kelem) {
  using namespace nodaldata;
  create_if_absent(nodesmotion, kdof, knodes, kelem);
  create_if_absent(nodalcoords, 3, knodes, kelem);
  create_if_absent(tnodalmatrices, 3, 3, 8, kelem);
  create_if_absent(tcurvmatrices, 3, 3, kelem);
  istat = 0;
}

void allocateelementdata(int& istat, int knodes, int kelem) {
  using namespace elementdata;
  create_if_absent(elemlist, kelem);
  create_if_absent(elemkind, kelem);
  create_if_absent(elemnodes, knodes, kelem);
  create_if_absent(elemcurvatures, 2, kelem);
  create_if_absent(elemreforientation, 7, kelem);
  create_if_absent(sectiondata::nsectionpoints, kelem);
  istat = 0;
}

}  // namespace tavrin::datahandling
