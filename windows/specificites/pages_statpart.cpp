#include "windows/specificites/pages_statpart.h"

#include "windows/specificites/frequencesparties.h"
#include "windows/specificites/textes_coef.h"

#include "engine/calcspectot.h"
#include "engine/charg1.h"
#include "engine/partition.h"

#include "services/affichage.h"
#include "services/rapport.h"
#include "services/translation.h"
#include "services/utilitaires.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace talmer {

namespace {

std::string entete(const std::string &charset, const std::string &titre)
{
    return "<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=" + charset +
           "\" /><title>" + titre + "</title></head>\n<body bgcolor=#ffffff>\n";
}

const char *const Fin = "</font></table>\n</body>\n</html>";

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

DonneesTFG DonneesTFGDe(const Partition &partition, const std::vector<std::int32_t> &lignes,
                        const CalcSpecTot *calcul, const FrequencesParties &frequences, std::string titre,
                        std::string charset)
{
    DonneesTFG d;
    d.cle = partition.NomPartition();
    d.titre = std::move(titre);
    d.charset = std::move(charset);
    const charg1 *base = partition.Base();
    d.segments = base != nullptr && base->SegmentsAttaches() != nullptr;
    const std::int32_t parties = partition.NbParties();
    for (std::int32_t k = 0; k < parties; ++k) {
        d.noms.emplace_back(partition.NomPartie(k));
        d.codes.push_back(partition.CodePartie(k));
    }
    // The column of each part in the last run, -1 for a part it did not compute.
    std::vector<std::int32_t> colonne(static_cast<std::size_t>(parties), -1);
    if (calcul != nullptr) {
        const std::vector<std::int32_t> &indices = calcul->IndicesParties();
        for (std::size_t c = 0; c < indices.size(); ++c)
            if (indices[c] >= 0 && indices[c] < parties)
                colonne[static_cast<std::size_t>(indices[c])] = static_cast<std::int32_t>(c);
    }
    d.lignes.reserve(lignes.size());
    for (std::int32_t e : lignes) {
        LigneTFG l;
        if (base != nullptr)
            l.graphie = base->RetourneGraphie(e, false);
        l.frq = frequences.Ligne(e);
        l.coef.assign(static_cast<std::size_t>(parties), 0);
        for (std::int32_t k = 0; k < parties; ++k)
            if (colonne[static_cast<std::size_t>(k)] >= 0)
                l.coef[static_cast<std::size_t>(k)] = calcul->RetourneSpec(e, colonne[static_cast<std::size_t>(k)]);
        d.lignes.push_back(std::move(l));
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
    const std::string titre = d.titre + " : Tableau des sp&eacute;cificit&eacute;s";
    std::string s = entete(d.charset, titre);
    s += titre;
    s += "<br>\n<table border=1><font size=-2>\n<tr><td>Formes";
    if (d.segments)
        s += "/SR";
    for (const std::string &nom : d.noms)
        s += "<td colspan=2>" + EchappeTexte(nom);
    for (const LigneTFG &l : d.lignes) {
        s += "\n<tr><td>" + EchappeTexte(l.graphie);
        for (std::size_t k = 0; k < d.noms.size(); ++k) {
            const std::int32_t f = k < l.frq.size() ? l.frq[k] : 0;
            const std::int32_t c = k < l.coef.size() ? l.coef[k] : 0;
            s += "<td align=\"right\">" + std::to_string(f) + "<td align=\"right\">";
            s += c == 0 ? std::string("&nbsp;") : TexteCoefTableau(c);
        }
    }
    s += Fin;
    return s;
}

std::string PageTFGXml(const DonneesTFG &d)
{
    std::string s = "<tfg nomPartition=\"" + EchappeAttribut(d.cle) + "\">\n";
    std::vector<std::string> debuts;
    for (std::size_t k = 0; k < d.noms.size(); ++k)
        debuts.push_back("<partie nom=\"" + EchappeAttribut(d.noms[k]) + "\" codePartie=\"" +
                         std::to_string(k < d.codes.size() ? d.codes[k] : -1) + "\" frq=\"");
    for (const LigneTFG &l : d.lignes) {
        s += "<ligneTfg><forme>" + EchappeTexte(l.graphie) + "</forme>";
        for (std::size_t k = 0; k < d.noms.size(); ++k) {
            const std::int32_t f = k < l.frq.size() ? l.frq[k] : 0;
            const std::int32_t c = k < l.coef.size() ? l.coef[k] : 0;
            s += debuts[k] + std::to_string(f) + "\"";
            if (c != 0)
                s += " spf=\"" + TexteCoefTableau(c) + "\"";
            s += "/>";
        }
        s += "</ligneTfg>\n";
    }
    s += "</tfg>\n";
    return s;
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
    QSaveFile f(chemin);
    bool ok = f.open(QIODevice::WriteOnly);
    if (ok)
        ok = f.write(octets.data(), static_cast<qint64>(octets.size())) == static_cast<qint64>(octets.size());
    if (ok)
        ok = f.commit();
    if (!ok) {
        if (erreur)
            *erreur = Traduit("Impossible d'écrire «\u00A0%1\u00A0» : %2").arg(chemin, f.errorString());
        f.cancelWriting();
    }
    return ok;
}

bool AjoutePagesAuRapport(Rapport &rapport, const char *prefixe, const std::string &cle, const QString &titre,
                          const std::string &html, const std::string &xml, QString *erreur)
{
    if (!rapport.DossierTemporaireValide()) {
        if (erreur)
            *erreur = Traduit("Le dossier temporaire du rapport n'existe pas.");
        return false;
    }
    const QString nom = NomElementLibre(rapport, std::string(prefixe) + NomDeFichierSur(cle));
    const QString dossier = rapport.DossierTemporaire();
    if (!EcritFichierRapport(dossier + nom + QStringLiteral(".html"), html, erreur))
        return false;
    if (!EcritFichierRapport(dossier + nom + QStringLiteral(".xml"), xml, erreur)) {
        QFile::remove(dossier + nom + QStringLiteral(".html"));
        return false;
    }
    rapport.AjouteElement(EchappeTexte(titre), nom, QStringLiteral(" "), GenreElement::Page);
    return true;
}

} // namespace talmer

namespace talmer {

bool ExportePCLC(Rapport &rapport, const Partition &partition, const QString &titre, QString *erreur)
{
    const DonneesPCLC d = DonneesPCLCDe(partition, EnCodePageTexteHtml(titre), rapport.Charset());
    return AjoutePagesAuRapport(rapport, "pclc", d.cle, titre, PagePCLCHtml(d), PagePCLCXml(d), erreur);
}

} // namespace talmer
