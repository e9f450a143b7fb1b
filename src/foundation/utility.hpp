// Process check-in list: cooperating processes of one analysis find out which
// of them is the last of a known number to arrive.  The list is
// jobdata::processid; entry i holds i until process i checks in, then -1.
#pragma once

#include "foundation/api.hpp"

extern "C" {

// Checks process `procid` (1..maxid) in; true (1) when this completed the
// list.  A list of another length is discarded and started anew.  `wflag` is
// accepted and not used; the call never waits.
TAVRIN_API int ProcessLock(const int* procid, const int* maxid, const int* wflag);

// Opens the list again so that every process can check in anew; always 0.
TAVRIN_API int ProcessUnLock();

}
