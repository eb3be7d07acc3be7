// The specificities of every part, timed as the benchmarks of many parts time them.
#pragma once

class CalcSpecTot;
class Partition;

namespace bench {

// CalcSpecTot over every part of the partition, timed in processor time of the calling thread,
// then its row: "CalcSpecTot over <parts> parts: <seconds> s (<rows> significant rows, <steps>
// progress steps)", the steps being those the computation reported.
void MesureSpecTot(Partition &partition);

// The significant rows of every column the computation holds.
long LignesSignificatives(const CalcSpecTot &calcul);

} // namespace bench
