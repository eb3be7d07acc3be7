// Opening a partition: building it for a key, registering it once per key, its statistics window
// and its nodes in the navigation tree (the key's node under "Partitions", with the children
// "PCLC", "Graphiques", "Spécifs" and "AFC"), and a new distribution graph each time.
#pragma once

#include <cstdint>

struct InfoPartition;
class QStandardItem;
class TFenPrinc;
class TFenStatPart;
class charg1;

namespace talmer {

// Children of a partition's key node, by rank.
enum RangNoeudPartition : int { RangPCLC = 0, RangGraphiques = 1, RangSpecifs = 2, RangAFC = 3 };

// Builds the partition of the base by the key type `cle` and registers it, unless one of that
// key is registered already (the new one is then freed and the registered one used). A
// statistics window is opened when the partition has none (its first opening, or after its
// window was closed), then a new distribution graph, maximised, numbered after the graphs
// already listed for the partition. Returns the registry entry (null when `cle` is no key type
// of the base).
InfoPartition *OuvrePartition(TFenPrinc &fenPrinc, charg1 &base, std::int32_t cle);

// The key node of a registered partition (the parent of its "Graphiques" node), null when it has
// none.
QStandardItem *NoeudCle(TFenPrinc &fenPrinc, const InfoPartition &entree);
// The live statistics window of a registered partition, null when it has none.
TFenStatPart *FenetreStatistiques(TFenPrinc &fenPrinc, const InfoPartition &entree);

} // namespace talmer
