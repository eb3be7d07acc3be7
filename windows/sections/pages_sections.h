// The HTML page of one section (the map's text pane and the report), and the names and heading of
// the map's report items.
#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class Section;
class Tgen;
class charg1;

namespace talmer {

// The page of section i: the occurrences of the main group (may be null) in bold, key markers in
// blue, each other item followed by a blank; line breaks leave no trace. titre: a "Section i"
// heading (the report's page); tailleFonte: 12 in the pane, -2 in the report. Spellings are
// escaped for HTML. A section number outside the sectioning gives a page with an empty body.
std::string PageSection(const charg1 &base, const Section &section, const Tgen *groupe, std::int32_t i, bool titre,
                        int tailleFonte, std::string_view charset, std::string_view direction);

// A component naming one sectioning in file names: its delimiters' entity numbers joined by '-'.
QString MarqueSectionnement(const std::vector<std::int32_t> &delimiteurs);

// The report page of section i of a view: <base>_section-<delimiters>_<view>_<i> (no extension).
QString NomPageSection(const QString &nomBase, const std::vector<std::int32_t> &delimiteurs, int vue, std::int32_t i);

// The report picture of a view: <base>_img-section-<delimiters>_<view>_<counter>.jpg.
QString NomImageCarte(const QString &nomBase, const std::vector<std::int32_t> &delimiteurs, int vue, int compteur);

// The heading block of a picture of the map. `caption` is the item's caption, HTML as the report
// index writes it; names, date and the key are plain Unicode texts, escaped here. An empty main
// group name means no group (the second is named only with a main one); an empty key means no
// partition.
QString BlocImageCarte(const QString &caption, const QString &groupe, const QString &groupeSup, const QString &nomBase,
                       const QString &date, const QString &cle);

} // namespace talmer
