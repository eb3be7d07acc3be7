// Key checker: reads a corpus text once and reports every malformed key marker <type=value> to the
// trace file "atrace.txt", which it starts afresh.
#pragma once

#include <cstdint>

// Number of faults found: 0 when the keys are well formed; -1 when the text cannot be checked: it
// cannot be opened or read, or it is not a regular file (the trace file says so), or ExamineTexte
// refuses its name (nothing is written then).
std::int32_t VerifCles(const char *cheminTexte);
