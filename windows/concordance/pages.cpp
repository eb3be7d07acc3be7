#include "windows/concordance/pages.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "services/affichage.h"
#include "services/utilitaires.h"

#include <QString>

#include <algorithm>
#include <cstring>
#include <set>

namespace talmer {

namespace {

// Lead bytes of the double-byte code pages.
bool octetDeTete(std::string_view codePage, unsigned char c)
{
    if (codePage == "932")
        return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    return c >= 0x81 && c <= 0xFE;
}

std::string depuisFrancais(const char *texte)
{
    return EnCodePageHtml(QString::fromUtf8(texte));
}

} // namespace

bool CodePageDoubleOctet(std::string_view codePage)
{
    return codePage == "932" || codePage == "936" || codePage == "949" || codePage == "950";
}

Contexte ContexteOccurrence(const charg1 &base, std::int32_t p0, std::int32_t n, std::string_view codePage)
{
    Contexte c;
    const std::size_t longueur = static_cast<std::size_t>(std::max(n, 0));
    if (const char *pole = base.RetourneGraphieAtPos(p0, false))
        c.pole = pole;

    // Left: the spellings before the position, nearest first, until they make N bytes.
    std::vector<const char *> avant;
    std::size_t taille = 0;
    for (std::int32_t p = p0 - 1; taille < longueur && p >= 0; --p) {
        const char *g = base.RetourneGraphieAtPos(p, true);
        if (g && *g) {
            avant.push_back(g);
            taille += 1 + std::strlen(g);
        }
    }
    std::string gauche;
    gauche.reserve(taille);
    for (auto it = avant.rbegin(); it != avant.rend(); ++it) {
        gauche += ' ';
        gauche += *it;
    }
    if (gauche.size() > longueur) {
        std::size_t debut = gauche.size() - longueur;
        if (CodePageDoubleOctet(codePage)) {
            // The context begins on a character (a blank), so walking from there finds where each
            // character starts; the cut moves forward to the first start at or after it.
            std::size_t i = 0;
            while (i < debut)
                i += octetDeTete(codePage, static_cast<unsigned char>(gauche[i])) && i + 1 < gauche.size() ? 2 : 1;
            debut = i;
        }
        gauche.erase(0, debut);
    }
    if (gauche.size() < longueur)
        gauche.insert(0, longueur - gauche.size(), ' ');
    c.gauche = std::move(gauche);

    // Right: whole spellings, each followed by a blank, until they make N bytes or more.
    const std::int32_t nbitem = base.Nbitem();
    for (std::int32_t p = p0 + 1; c.droite.size() < longueur && p < nbitem; ++p) {
        const char *g = base.RetourneGraphieAtPos(p, true);
        if (g && *g) {
            c.droite += g;
            c.droite += ' ';
        }
    }
    return c;
}

std::string LigneHtml(const Contexte &c)
{
    return EchappeTexte(c.gauche) + "&nbsp;<span class=\"tgenstyle\">" + EchappeTexte(c.pole) + "</span>&nbsp;"
           + EchappeTexte(c.droite) + "\n";
}

std::string LigneXml(const Contexte &c)
{
    return "<ligContConcordance><contexte>" + EchappeTexte(c.gauche) + "</contexte><pole>" + EchappeTexte(c.pole)
           + "</pole><contexte>" + EchappeTexte(c.droite) + "</contexte></ligContConcordance>\n";
}

std::string EnteteHtml(const Entete &e)
{
    std::string s = "<html>\n<head>\n";
    s += "<meta http-equiv=\"Content-Type\" content=\"text/html;charset=" + e.charset + "\" />";
    s += "<title>Concordance</title>\n</head>\n";
    s += "<style type=\"text/css\">\n.tgenstyle {font-weight: bold;\ncolor: " + e.couleur + ";}\n</style>";
    s += "<body bgcolor=\"#ffffff\" dir=\"" + e.direction + "\">\n";
    if (e.avecEntete) {
        s += "<center><h3>" + e.titreFenetre + "</h3></center><br>";
        s += "<table width=100% align=\"center\" border=\"1\"><td>Corpus : " + EchappeTexte(e.nomBase) + "</td>\n";
        s += "<td>Date : " + e.date + "</td>\n";
        if (!e.partition.empty())
            s += "<td>Partition = " + EchappeTexte(e.partition) + "</td>\n";
        s += "</table>";
    }
    s += "<pre><font size=2>";
    return s;
}

std::string FinHtml()
{
    return "</font></pre></body></html>";
}

std::string NoteTri(int sens)
{
    const char *fin = sens < 0 ? "avant)" : sens > 0 ? "après)" : "ordre du texte)";
    return "<br> (tri " + depuisFrancais(fin) + "<br><br>\n";
}

Concordance::Concordance(const charg1 &base, const std::vector<std::int32_t> &positions)
    : base_(base), occurrences_(positions)
{
    std::sort(occurrences_.begin(), occurrences_.end());
    occurrences_.erase(std::unique(occurrences_.begin(), occurrences_.end()), occurrences_.end());
    Regroupe(nullptr);
}

void Concordance::Trie(int sens)
{
    sens_ = sens < 0 ? -1 : sens > 0 ? 1 : 0;
    if (sens_ == 0)
        std::sort(occurrences_.begin(), occurrences_.end());
    else
        base_.TriCont(occurrences_.data(), NbOccurrences(), sens_, base_.Nbform() - 1, std::set<std::int32_t>{});
    Regroupe(partition_);
}

std::int32_t PartieDeGroupe(const Partition &partition, std::int32_t p)
{
    if (partition.NbZones() == 0 || p < partition.ZoneNo(0).Debut)
        return -1;
    return partition.PartieDePosition(p);
}

void Concordance::Regroupe(const Partition *partition)
{
    partition_ = partition;
    lignes_.clear();
    parPartie_.clear();
    if (!partition) {
        lignes_.reserve(occurrences_.size());
        for (std::int32_t p : occurrences_)
            lignes_.push_back({p, -1});
        return;
    }
    const std::int32_t nbParties = partition->NbParties();
    parPartie_.assign(static_cast<std::size_t>(std::max(nbParties, 0)), 0);
    std::vector<std::int32_t> parties(occurrences_.size());
    for (std::size_t i = 0; i < occurrences_.size(); ++i) {
        const std::int32_t k = PartieDeGroupe(*partition, occurrences_[i]);
        parties[i] = k >= 0 && k < nbParties ? k : -1;
        if (parties[i] >= 0)
            ++parPartie_[static_cast<std::size_t>(parties[i])];
    }
    // Part by part, each in the current order (a stable bucket pass).
    std::vector<std::size_t> debut(parPartie_.size() + 1, 0);
    for (std::size_t k = 0; k < parPartie_.size(); ++k)
        debut[k + 1] = debut[k] + static_cast<std::size_t>(parPartie_[k]);
    lignes_.resize(debut.back());
    for (std::size_t i = 0; i < occurrences_.size(); ++i)
        if (parties[i] >= 0)
            lignes_[debut[static_cast<std::size_t>(parties[i])]++] = {occurrences_[i], parties[i]};
}

std::int32_t Concordance::NbDansPartie(std::int32_t k) const
{
    if (k < 0 || static_cast<std::size_t>(k) >= parPartie_.size())
        return 0;
    return parPartie_[static_cast<std::size_t>(k)];
}

void EcritLignes(std::string &sortie, const charg1 &base, const Concordance &c, std::size_t debut, std::size_t fin,
                 std::int32_t longueur, std::string_view codePage)
{
    const std::vector<Concordance::Ligne> &lignes = c.Lignes();
    fin = std::min(fin, lignes.size());
    for (std::size_t i = debut; i < fin; ++i) {
        const Concordance::Ligne &l = lignes[i];
        if (l.partie >= 0 && (i == debut || lignes[i - 1].partie != l.partie)) {
            const char *nom = c.Groupement()->NomPartie(l.partie);
            sortie += "\n<br><b>Partie : " + EchappeTexte(nom ? nom : "") + ", Nombre de contextes : "
                      + std::to_string(c.NbDansPartie(l.partie)) + "</b><br>\n";
        }
        sortie += LigneHtml(ContexteOccurrence(base, l.position, longueur, codePage));
    }
}

std::string PageConcordance(const charg1 &base, const Concordance &c, const Entete &e, std::string_view titre,
                            std::int32_t longueur, std::string_view codePage)
{
    std::string page = EnteteHtml(e);
    page.reserve(page.size() + c.Lignes().size() * (2 * static_cast<std::size_t>(longueur) + 64));
    page += titre;
    if (e.avecEntete)
        page += NoteTri(c.Sens());
    EcritLignes(page, base, c, 0, c.Lignes().size(), longueur, codePage);
    page += FinHtml();
    return page;
}

std::int32_t NbPagesEcran(const Concordance &c, std::int32_t lignesParPage)
{
    const std::size_t n = c.Lignes().size();
    const std::size_t par = static_cast<std::size_t>(std::max(lignesParPage, 1));
    return n == 0 ? 1 : static_cast<std::int32_t>((n + par - 1) / par);
}

std::string PageEcran(const charg1 &base, const Concordance &c, const Entete &e, std::int32_t k,
                      std::int32_t lignesParPage, std::int32_t longueur, std::string_view codePage)
{
    const std::size_t par = static_cast<std::size_t>(std::max(lignesParPage, 1));
    const std::size_t debut = static_cast<std::size_t>(std::max(k, 0)) * par;
    std::string page = EnteteHtml(e);
    page.reserve(page.size() + par * (2 * static_cast<std::size_t>(longueur) + 64));
    EcritLignes(page, base, c, debut, debut + par, longueur, codePage);
    page += FinHtml();
    return page;
}

std::string FragmentXml(const charg1 &base, const Concordance &c, std::int32_t longueur, std::string_view codePage)
{
    std::string xml = "<documentation>\n<concordance>\n";
    xml.reserve(xml.size() + c.Occurrences().size() * (2 * static_cast<std::size_t>(longueur) + 96));
    for (std::int32_t p : c.Occurrences())
        xml += LigneXml(ContexteOccurrence(base, p, longueur, codePage));
    xml += "</concordance>\n</documentation>\n";
    return xml;
}

} // namespace talmer
