@0xa47726061c1668cc;
# A per-tile cycle profile of one program run on the IPU: for every tile, the
# timed steps it ran, plus the clock rate that the cycle counts refer to.
# Written by the GEMM runner, read back by ipu_package.

using Cxx = import "/capnp/c++.capnp";
$Cxx.namespace("ipu_package::profile_capnp");

struct Profile {
  schemaVersion @0 :UInt32;   # layout version; readers accept 1, 2 and 3
  clockHz @1 :UInt64;         # rate, in hertz, of the clock the cycles count
  tiles @2 :List(TileProfile);
}

struct TileProfile {
  physicalTile @0 :UInt32;
  samples @1 :List(CycleSample);
}

struct CycleSample {
  step @0 :ProfileStep;
  startCycle @1 :UInt32;
  endCycle @2 :UInt32;
}

struct ProfileStep {
  localIndex @0 :UInt32;
  phase @1 :UInt32;
  epoch @2 :UInt32;
  operation @3 :Text;
  kind @4 :StepKind;
  kernel @5 :Text;
  metadata @6 :List(MetadataEntry);
}

struct MetadataEntry {
  name @0 :Text;
  value @1 :Text;
}

enum StepKind {
  exchange @0;
  compute @1;
  synchronization @2;
  idle @3;
}
