// Names of report items: a prefix and a number, the first number no item of the report uses yet,
// so that two windows adding to one report never write over each other's files.
#pragma once

#include <QString>

class Rapport;

namespace talmer {

// prefixe + n for the lowest n from 0 that names no item of the report and no file (.html,
// .xml) in its temporary folder.
QString NomElementLibre(const Rapport &rapport, const QString &prefixe);

} // namespace talmer
