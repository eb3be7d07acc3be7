// The pair of result files of the correspondence analysis, "facteurs.txt" and "vp.txt", in the
// current directory: published together by ta3afc, read together by the factor plane.
//
// Two renames cannot happen at once, so the publication keeps a small journal: the new files are
// written whole under hidden names, the earlier pair is kept aside, the journal names the new
// files, and only then do the final names change ("facteurs.txt" leaves first and comes back
// last). A run that fails puts the earlier pair back at once; one that is killed leaves the
// journal, which the next run of ta3afc reads to put the earlier pair back (or to finish, when
// the new pair was wholly in place), and which the factor plane takes as "no results". Either way
// nobody ever reads a new "vp.txt" beside an earlier "facteurs.txt".
#pragma once

#include <string>

namespace talmer::afc {

inline constexpr const char *NomFacteurs = "facteurs.txt";
inline constexpr const char *NomValeursPropres = "vp.txt";

// Settles, in the current directory, what an interrupted publication left there (see above) and
// removes the hidden files of killed runs; waits first for a run that is publishing to finish.
void ReprendResultats();

// Publishes the two texts as "facteurs.txt" and "vp.txt" with the usual permissions (0666 less the
// umask). False, with the reason in French, when they cannot be: the earlier pair (or none) is then
// what the folder holds.
bool PublieResultats(const std::string &facteurs, const std::string &valeursPropres, std::string &raison);

// Reads both result files. False, with the reason in French, when a publication is under way or
// was interrupted, or when either file is missing, is not a regular file or cannot be read.
bool LitResultats(std::string &facteurs, std::string &valeursPropres, std::string &raison);

} // namespace talmer::afc
