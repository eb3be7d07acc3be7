#include "windows/specificites/pages_statpart.h"

#include "windows/specificites/textes_coef.h"

#include "engine/calcspectot.h"
#include "engine/charg1.h"
#include "engine/partition.h"

#include "services/affichage.h"
#include "services/rapport.h"
#include "services/translation.h"
#include "services/utilitaires.h"

#include "platform/qt/ecriture_sure.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <algorithm>
#include <charconv>
#include <cstring>

namespace talmer {

namespace {

std::string entete(const std::string &charset, const std::string &titre)
{
    return "<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=" + charset +
           "\" /><title>" + titre + "</title></head>\n<body bgcolor=#ffffff>\n";
}

const char *const Fin = "</font></table>\n</body>\n</html>";
const char *const CelluleDroite = "<td align=\"right\">";

void AjouteEntier(std::string &s, std::int32_t n)
{
    char chiffres[12];
    const std::to_chars_result r = std::to_chars(chiffres, chiffres + sizeof chiffres, n);
    s.append(chiffres, r.ptr);
}

// The table's pages call the progress step after this many rows: about a thousand times in all.
std::size_t IntervallePas(std::size_t nbLignes)
{
    return std::max<std::size_t>(1, nbLignes / 1000);
}

// A text that goes to its file whenever a megabyte of it is ready.
struct Sortie {
    static constexpr std::size_t Morceau = std::size_t{1} << 20;

    explicit Sortie(QIODevice &f) : fichier(f) { texte.reserve(2 * Morceau); }
    // Writes the text out when it has reached a megabyte, or whatever it holds with `tout`.
    bool Vide(bool tout)
    {
        if (texte.empty() || (!tout && texte.size() < Morceau))
            return true;
        const bool ecrit = fichier.write(texte.data(), static_cast<qint64>(texte.size())) == static_cast<qint64>(texte.size());
        texte.clear();
        return ecrit;
    }

    QIODevice &fichier;
    std::string texte;
};

} // namespace

DonneesPCLC DonneesPCLCDe(const Partition &partition, std::string titre, std::string charset)
{
    DonneesPCLC d;
    d.cle = partition.NomPartition();
    d.titre = std::move(titre);
    d.charset = std::move(charset);
    const charg1 *base = partition.Base();
    for (std::int32_t k = 0; k < partition.NbParties(); ++k) {
        PartiePCLC p;
        p.nom = partition.NomPartie(k);
        p.code = partition.CodePartie(k);
        p.occ = partition.NbOccPartie(k);
        p.formes = partition.NbFormesPartie(k);
        p.hapax = partition.NbHapaxPartie(k);
        p.fmax = partition.FmaxPartie(k);
        // A part without forms has no form of highest frequency (its record says form 0).
        if (p.formes > 0 && base != nullptr)
            p.forme = base->RetourneGraphie(partition.FormeFmaxPartie(k), true);
        d.parties.push_back(std::move(p));
    }
    return d;
}

DonneesTFG EnteteTFG(const Partition &partition, std::string titre, std::string charset)
{
    DonneesTFG d;
    d.cle = partition.NomPartition();
    d.titre = std::move(titre);
    d.charset = std::move(charset);
    const charg1 *base = partition.Base();
    d.segments = base != nullptr && base->SegmentsAttaches() != nullptr;
    for (std::int32_t k = 0; k < partition.NbParties(); ++k) {
        d.noms.emplace_back(partition.NomPartie(k));
        d.codes.push_back(partition.CodePartie(k));
    }
    return d;
}

std::string PagePCLCHtml(const DonneesPCLC &d)
{
    const std::string &titre = d.titre;
    std::string s = entete(d.charset, titre);
    s += titre;
    s += "<br>\n<table border=1><font size=-2>\n<tr><td>Partie<td>Nb occurrences<td>Nb formes<td>Nb hapax<td>";
    s += EnCodePageHtml(QStringLiteral("Fréq. Max"));
    s += "<td>Forme";
    for (const PartiePCLC &p : d.parties) {
        s += "\n<tr><td>" + EchappeTexte(p.nom);
        for (std::int32_t n : {p.occ, p.formes, p.hapax, p.fmax})
            s += "<td align=\"right\">" + std::to_string(n);
        s += "<td>" + EchappeTexte(p.forme);
    }
    s += Fin;
    return s;
}

std::string PagePCLCXml(const DonneesPCLC &d)
{
    std::string s = "<pclc nomPartition=\"" + EchappeAttribut(d.cle) + "\">\n";
    for (const PartiePCLC &p : d.parties) {
        s += "<partie nom=\"" + EchappeAttribut(p.nom) + "\" codepartie=\"" + std::to_string(p.code) +
             "\" nbocc=\"" + std::to_string(p.occ) + "\" nbform=\"" + std::to_string(p.formes) +
             "\" nbhapax=\"" + std::to_string(p.hapax) + "\" frqmax=\"" + std::to_string(p.fmax) +
             "\" formemax=\"" + EchappeAttribut(p.forme) + "\"/>\n";
    }
    s += "</pclc>\n";
    return s;
}

std::string PageTFGHtml(const DonneesTFG &d)
{
    const TexteTFG texte(d);
    std::string s;
    texte.TeteHtml(s);
    for (const LigneTFG &l : d.lignes)
        texte.LigneHtml(s, l.graphie, l.frq, l.coef);
    texte.QueueHtml(s);
    return s;
}

std::string PageTFGXml(const DonneesTFG &d)
{
    const TexteTFG texte(d);
    std::string s;
    texte.TeteXml(s);
    for (const LigneTFG &l : d.lignes)
        texte.LigneXml(s, l.graphie, l.frq, l.coef);
    texte.QueueXml(s);
    return s;
}

TexteTFG::TexteTFG(const DonneesTFG &d) : entete_{d.cle, d.titre, d.charset, d.segments, d.noms, d.codes, {}}
{
    // The opening of a part's element is the same on every row.
    for (std::size_t k = 0; k < d.noms.size(); ++k)
        debutsXml_.push_back("<partie nom=\"" + EchappeAttribut(d.noms[k]) + "\" codePartie=\"" +
                             std::to_string(k < d.codes.size() ? d.codes[k] : -1) + "\" frq=\"");
}

void TexteTFG::TeteHtml(std::string &s) const
{
    const std::string titre = entete_.titre + " : Tableau des sp&eacute;cificit&eacute;s";
    s += entete(entete_.charset, titre);
    s += titre;
    s += "<br>\n<table border=1><font size=-2>\n<tr><td>Formes";
    if (entete_.segments)
        s += "/SR";
    for (const std::string &nom : entete_.noms)
        s += "<td colspan=2>" + EchappeTexte(nom);
}

void TexteTFG::TeteXml(std::string &s) const
{
    s += "<tfg nomPartition=\"" + EchappeAttribut(entete_.cle) + "\">\n";
}

void TexteTFG::LigneHtml(std::string &s, const std::string &graphie, std::span<const std::int32_t> frq,
                         std::span<const std::int32_t> coef) const
{
    s += "\n<tr><td>";
    s += EchappeTexte(graphie);
    for (std::size_t k = 0; k < entete_.noms.size(); ++k) {
        const std::int32_t c = k < coef.size() ? coef[k] : 0;
        s += CelluleDroite;
        AjouteEntier(s, k < frq.size() ? frq[k] : 0);
        s += CelluleDroite;
        s += c == 0 ? std::string("&nbsp;") : TexteCoefTableau(c);
    }
}

void TexteTFG::LigneXml(std::string &s, const std::string &graphie, std::span<const std::int32_t> frq,
                        std::span<const std::int32_t> coef) const
{
    s += "<ligneTfg><forme>";
    s += EchappeTexte(graphie);
    s += "</forme>";
    for (std::size_t k = 0; k < debutsXml_.size(); ++k) {
        const std::int32_t c = k < coef.size() ? coef[k] : 0;
        s += debutsXml_[k];
        AjouteEntier(s, k < frq.size() ? frq[k] : 0);
        s += '"';
        if (c != 0) {
            s += " spf=\"";
            s += TexteCoefTableau(c);
            s += '"';
        }
        s += "/>";
    }
    s += "</ligneTfg>\n";
}

void TexteTFG::QueueHtml(std::string &s) const
{
    s += Fin;
}

void TexteTFG::QueueXml(std::string &s) const
{
    s += "</tfg>\n";
}

LignesTFG::LignesTFG(const Partition &partition, const CalcSpecTot *calcul) : partition_(partition)
{
    const std::int32_t parties = partition.NbParties();
    colonnes_.assign(static_cast<std::size_t>(parties), -1);
    if (calcul != nullptr) {
        coefs_.emplace(*calcul);
        const std::vector<std::int32_t> &indices = calcul->IndicesParties();
        for (std::size_t c = 0; c < indices.size(); ++c)
            if (indices[c] >= 0 && indices[c] < parties)
                colonnes_[static_cast<std::size_t>(indices[c])] = static_cast<std::int32_t>(c);
    }
    ligne_.frq.assign(colonnes_.size(), 0);
    ligne_.coef.assign(colonnes_.size(), 0);
}

const LigneTFG &LignesTFG::Ligne(std::int32_t entite)
{
    // Only the parts where the last row occurred are cleared.
    for (std::int32_t k : remplies_)
        ligne_.frq[static_cast<std::size_t>(k)] = 0;
    remplies_.clear();
    const std::int32_t parties = static_cast<std::int32_t>(colonnes_.size());
    const charg1 *base = partition_.Base();
    ligne_.graphie = base != nullptr ? base->RetourneGraphie(entite, false) : "";
    if (base != nullptr && entite >= 0 && entite < base->Nbform()) {
        for (const TableCreuse::Cellule &c : partition_.Table().Ligne(entite)) {
            if (c.colonne < 0 || c.colonne >= parties)
                continue;
            ligne_.frq[static_cast<std::size_t>(c.colonne)] = c.valeur;
            remplies_.push_back(c.colonne);
        }
    } else if (base != nullptr && partition_.NbZones() > 0) {
        // The text before the first key marker counts in no part for a list of positions.
        const std::int32_t debut = partition_.ZoneNo(0).Debut;
        for (std::int32_t p : base->LocOccFor(entite)) {
            const std::int32_t k = p < debut ? -1 : partition_.PartieDePosition(p);
            if (k < 0 || k >= parties)
                continue;
            if (ligne_.frq[static_cast<std::size_t>(k)]++ == 0)
                remplies_.push_back(k);
        }
    }
    if (coefs_)
        for (std::size_t k = 0; k < colonnes_.size(); ++k)
            if (colonnes_[k] >= 0)
                ligne_.coef[k] = coefs_->Coef(entite, colonnes_[k]);
    return ligne_;
}

TailleTFG TailleEstimeeTFG(const DonneesTFG &entete, std::int64_t nbLignes)
{
    // A row of the page: its opening and a short spelling, then per part two right-aligned cells,
    // a one-digit frequency and "&nbsp;". A row of the fragment: its elements and the spelling,
    // then per part its opening with the name and the code, a one-digit frequency, its closing.
    const std::int64_t parties = static_cast<std::int64_t>(entete.noms.size());
    const std::int64_t celluleHtml = 2 * static_cast<std::int64_t>(std::strlen(CelluleDroite)) + 1 + 6;
    std::int64_t teteHtml = 300 + 2 * static_cast<std::int64_t>(entete.titre.size());
    std::int64_t ligneXml = 50;
    for (std::size_t k = 0; k < entete.noms.size(); ++k) {
        const std::int64_t nom = static_cast<std::int64_t>(entete.noms[k].size());
        teteHtml += 15 + nom;
        ligneXml += 38 + nom + static_cast<std::int64_t>(std::to_string(k < entete.codes.size() ? entete.codes[k] : -1).size());
    }
    TailleTFG t;
    t.html = teteHtml + nbLignes * (20 + parties * celluleHtml);
    t.xml = 50 + nbLignes * ligneXml;
    return t;
}

bool DemandeAvantEcriture(const TailleTFG &taille)
{
    return taille.html >= SeuilQuestionTFG;
}

QString QuestionTailleTFG(const TailleTFG &taille)
{
    const auto mo = [](std::int64_t octets) { return QString::number((octets + 512 * 1024) / (1024 * 1024)); };
    return Traduit("La page du tableau fera environ %1 Mo (et %2 Mo de plus pour le fichier XML du rapport).\n"
                   "Voulez-vous continuer ?")
        .arg(mo(taille.html), mo(taille.xml));
}

std::int32_t NbPasEcritureTFG(std::size_t nbLignes)
{
    return static_cast<std::int32_t>(nbLignes / IntervallePas(nbLignes));
}

bool EcritPagesTFG(const QString &cheminHtml, const QString &cheminXml, const DonneesTFG &entete,
                   const Partition &partition, const std::vector<std::int32_t> &lignes,
                   const CalcSpecTot *calcul, FnProgression pas, QString *erreur)
{
    const TexteTFG texte(entete);
    LignesTFG source(partition, calcul);
    const std::size_t intervalle = IntervallePas(lignes.size());
    // Both files are written in one walk of the rows, each row made once; the fragment is
    // complete before the page is.
    bool xmlEcrit = false;
    EchecEcriture echecHtml, echecXml;
    const bool ecrit = EcritFichierSur(
        cheminHtml,
        [&](QIODevice &fichierHtml) {
            Sortie html(fichierHtml);
            xmlEcrit = EcritFichierSur(
                cheminXml,
                [&](QIODevice &fichierXml) {
                    Sortie xml(fichierXml);
                    texte.TeteHtml(html.texte);
                    texte.TeteXml(xml.texte);
                    for (std::size_t i = 0; i < lignes.size(); ++i) {
                        const LigneTFG &l = source.Ligne(lignes[i]);
                        texte.LigneHtml(html.texte, l.graphie, l.frq, l.coef);
                        texte.LigneXml(xml.texte, l.graphie, l.frq, l.coef);
                        if (!html.Vide(false) || !xml.Vide(false))
                            return false;
                        if (pas != nullptr && (i + 1) % intervalle == 0)
                            pas(0);
                    }
                    texte.QueueHtml(html.texte);
                    texte.QueueXml(xml.texte);
                    return html.Vide(true) && xml.Vide(true);
                },
                &echecXml);
            return xmlEcrit;
        },
        &echecHtml);
    if (ecrit)
        return true;
    // The page could not be completed after its fragment was.
    if (xmlEcrit)
        QFile::remove(cheminXml);
    if (erreur != nullptr)
        *erreur = MessageEcriture(echecXml.Survenu() ? echecXml : echecHtml);
    return false;
}

QString NomElementLibre(const Rapport &rapport, const std::string &racine)
{
    const QString dossier = rapport.DossierTemporaire();
    const QString base = QString::fromLatin1(racine.c_str());
    QString nom = base;
    for (int n = 2;; ++n) {
        bool pris = false;
        for (const char *ext : {".html", ".xml"})
            if (QFileInfo::exists(dossier + nom + QLatin1String(ext)))
                pris = true;
        if (!pris)
            return nom;
        nom = base + QLatin1Char('_') + QString::number(n);
    }
}

bool EcritFichierRapport(const QString &chemin, const std::string &octets, QString *erreur)
{
    EchecEcriture echec;
    if (EcritFichierSur(chemin, QByteArray::fromRawData(octets.data(), static_cast<qsizetype>(octets.size())), &echec))
        return true;
    if (erreur != nullptr)
        *erreur = MessageEcriture(echec);
    return false;
}

bool AjouteElementPages(Rapport &rapport, const char *prefixe, const std::string &cle, const QString &titre,
                        const EcritPages &ecrit, QString *erreur)
{
    if (!rapport.DossierTemporaireValide()) {
        if (erreur)
            *erreur = Traduit("Le dossier temporaire du rapport n'existe pas.");
        return false;
    }
    const QString nom = NomElementLibre(rapport, std::string(prefixe) + NomDeFichierSur(cle));
    const QString dossier = rapport.DossierTemporaire();
    if (!ecrit(dossier + nom + QStringLiteral(".html"), dossier + nom + QStringLiteral(".xml"), erreur))
        return false;
    rapport.AjouteElement(EchappeTexte(titre), nom, QStringLiteral(" "), GenreElement::Page);
    return true;
}

bool AjoutePagesAuRapport(Rapport &rapport, const char *prefixe, const std::string &cle, const QString &titre,
                          const std::string &html, const std::string &xml, QString *erreur)
{
    const auto ecrit = [&](const QString &cheminHtml, const QString &cheminXml, QString *raison) {
        if (!EcritFichierRapport(cheminHtml, html, raison))
            return false;
        if (EcritFichierRapport(cheminXml, xml, raison))
            return true;
        QFile::remove(cheminHtml);
        return false;
    };
    return AjouteElementPages(rapport, prefixe, cle, titre, ecrit, erreur);
}

} // namespace talmer

namespace talmer {

bool ExportePCLC(Rapport &rapport, const Partition &partition, const QString &titre, QString *erreur)
{
    const DonneesPCLC d = DonneesPCLCDe(partition, EnCodePageTexteHtml(titre), rapport.Charset());
    return AjoutePagesAuRapport(rapport, "pclc", d.cle, titre, PagePCLCHtml(d), PagePCLCXml(d), erreur);
}

} // namespace talmer
