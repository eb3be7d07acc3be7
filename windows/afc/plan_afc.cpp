#include "windows/afc/plan_afc.h"

#include "platform/core/champs.h"

#include "engine/fichiers.h"
#include "engine/partition.h"
#include "services/affichage.h"
#include "services/utilitaires.h"

#include <QDateTime>
#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace talmer {

namespace {

// The next line of `texte` from `pos` (without its CR LF or LF); false at the end.
bool LigneSuivante(std::string_view texte, std::size_t &pos, std::string_view &ligne)
{
    if (pos >= texte.size())
        return false;
    std::size_t fin = texte.find('\n', pos);
    if (fin == std::string_view::npos)
        fin = texte.size();
    ligne = texte.substr(pos, fin - pos);
    if (!ligne.empty() && ligne.back() == '\r')
        ligne.remove_suffix(1);
    pos = fin + 1;
    return true;
}

std::vector<std::string_view> Champs(std::string_view ligne)
{
    return ChampsSepares(ligne);
}

// A decimal number with '.' whatever the locale the workbench runs in.
std::optional<double> Nombre(std::string_view champ)
{
    if (champ.size() > 1 && champ.front() == '+' && champ[1] != '-')
        champ.remove_prefix(1);
    double v = 0;
    const auto [fin, erreur] = std::from_chars(champ.data(), champ.data() + champ.size(), v);
    if (erreur != std::errc() || fin != champ.data() + champ.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<std::int64_t> Entier(std::string_view champ)
{
    const std::optional<double> v = Nombre(champ);
    if (!v || *v != std::floor(*v) || std::fabs(*v) > 1e9)
        return std::nullopt;
    return static_cast<std::int64_t>(*v);
}

// Blank lines are skipped between rows.
bool LigneNonVide(std::string_view texte, std::size_t &pos, std::vector<std::string_view> &champs)
{
    std::string_view ligne;
    while (LigneSuivante(texte, pos, ligne)) {
        champs = Champs(ligne);
        if (!champs.empty())
            return true;
    }
    return false;
}

int VersPixel(double v)
{
    // Far points stay far without leaving the range of an int.
    if (!(v > -1e8))
        v = -1e8;
    if (v > 1e8)
        v = 1e8;
    return static_cast<int>(v);
}

std::pair<double, double> Plage(const std::vector<double> &v)
{
    if (v.empty())
        return {-1, 1};
    const auto [mini, maxi] = std::minmax_element(v.begin(), v.end());
    return {*mini, *maxi};
}

bool Contient(const QRect &r, const QPoint &p)
{
    return Rencontre(r, QRect(p, p));
}

} // namespace

std::optional<ListePoints> LitFacteurs(std::string_view texte, std::int32_t nbParties)
{
    std::size_t pos = 0;
    std::vector<std::string_view> champs;
    if (!LigneNonVide(texte, pos, champs) || champs.size() < 2)
        return std::nullopt;
    const std::optional<std::int64_t> n = Entier(champs[0]), f = Entier(champs[1]);
    if (!n || !f || *n != nbParties || *n < 1 || *f < 2 || *f > 1000)
        return std::nullopt;
    ListePoints points;
    points.nbPoints = static_cast<std::int32_t>(*n);
    points.nbFacteurs = static_cast<std::int32_t>(*f);
    const std::size_t nb = static_cast<std::size_t>(*n);
    points.colonnes.assign(static_cast<std::size_t>(3 * *f), std::vector<double>(nb, 0.0));
    points.masse.assign(nb, 0.0);
    points.distance.assign(nb, 0.0);
    points.type.assign(nb, ' ');
    std::vector<char> vue(nb, 0);
    const std::size_t attendus = 4 + static_cast<std::size_t>(3 * *f);
    for (std::size_t ligne = 0; ligne < nb; ++ligne) {
        if (!LigneNonVide(texte, pos, champs) || champs.size() < attendus || champs[0].size() != 1)
            return std::nullopt;
        // The row index is given by the identifier's leading digits.
        std::string_view id = champs[1];
        std::size_t chiffres = 0;
        while (chiffres < id.size() && chiffres < 9 && id[chiffres] >= '0' && id[chiffres] <= '9')
            ++chiffres;
        if (chiffres == 0)
            return std::nullopt;
        std::size_t k = 0;
        std::from_chars(id.data(), id.data() + chiffres, k);
        if (k >= nb || vue[k])
            return std::nullopt;
        vue[k] = 1;
        points.type[k] = champs[0][0];
        std::vector<double> valeurs;
        for (std::size_t c = 2; c < attendus; ++c) {
            const std::optional<double> v = Nombre(champs[c]);
            if (!v)
                return std::nullopt;
            valeurs.push_back(*v);
        }
        points.masse[k] = valeurs[0];
        points.distance[k] = valeurs[1];
        for (std::size_t c = 0; c < points.colonnes.size(); ++c)
            points.colonnes[c][k] = valeurs[2 + c];
    }
    return points;
}

std::optional<std::vector<double>> LitValeursPropres(std::string_view texte)
{
    std::size_t pos = 0;
    std::vector<std::string_view> tous, champs;
    while (LigneNonVide(texte, pos, champs))
        tous.insert(tous.end(), champs.begin(), champs.end());
    if (tous.empty())
        return std::nullopt;
    const std::optional<std::int64_t> n = Entier(tous[0]);
    if (!n || *n < 1 || static_cast<std::size_t>(*n) > tous.size() - 1)
        return std::nullopt;
    std::vector<double> valeurs;
    for (std::int64_t i = 1; i <= *n; ++i) {
        const std::optional<double> v = Nombre(tous[static_cast<std::size_t>(i)]);
        if (!v)
            return std::nullopt;
        valeurs.push_back(*v);
    }
    return valeurs;
}

std::optional<std::string> LitFichier(const std::string &chemin)
{
    std::string texte;
    if (!fichiers::LitTout(chemin.c_str(), texte))
        return std::nullopt;
    return texte;
}

CadrePlan CadrePlan::DesColonnes(const std::vector<double> &x, const std::vector<double> &y, double margeX)
{
    CadrePlan cadre;
    cadre.FixeX(x);
    cadre.FixeY(y);
    const auto [mini, maxi] = Plage(x);
    if (maxi > mini)
        cadre.xmax = maxi + margeX;
    return cadre;
}

void CadrePlan::FixeX(const std::vector<double> &x)
{
    std::tie(xmin, xmax) = Plage(x);
    if (!(xmax > xmin)) {
        xmin -= 1;
        xmax += 1;
    }
}

void CadrePlan::FixeY(const std::vector<double> &y)
{
    std::tie(ymin, ymax) = Plage(y);
    if (!(ymax > ymin)) {
        ymin -= 1;
        ymax += 1;
    }
}

int CadrePlan::EcranX(double x, int largeur) const
{
    return VersPixel(static_cast<double>(largeur - 30) * (x - xmin) / (xmax - xmin));
}

int CadrePlan::EcranY(double y, int hauteur) const
{
    return VersPixel(static_cast<double>(hauteur - 30) * (ymax - y) / (ymax - ymin));
}

std::vector<Graduation> Graduations(double mini, double maxi)
{
    std::vector<Graduation> g;
    bool longue = false;
    for (double v = 50; v < maxi && g.size() < 100000; v += 50) {
        g.push_back({v, longue});
        longue = !longue;
    }
    longue = false;
    const std::size_t positifs = g.size();
    for (double v = -50; v > mini && g.size() - positifs < 100000; v -= 50) {
        g.push_back({v, longue});
        longue = !longue;
    }
    return g;
}

int BarresVisibles(double hauteurZone, int n, int hauteurBarre, double largeurBarre)
{
    if (n <= 0)
        return 0;
    if (!(hauteurZone > 0) || hauteurBarre <= 0 || !(largeurBarre > 0))
        return n;
    // Each of k rows is hauteurZone / k tall, its bar largeurBarre of that.
    const double tient = std::floor(hauteurZone * std::min(largeurBarre, 1.0) / hauteurBarre);
    return tient >= n ? n : std::max(1, static_cast<int>(tient));
}

FenetreValeurs FenetreHistogramme(int n, int visibles, int decalage)
{
    if (n <= 0)
        return {};
    visibles = std::clamp(visibles, 1, n);
    return {std::clamp(decalage, 0, n - visibles), visibles};
}

QRect BoiteEtiquette(const QPoint &coin, const QSize &taille, const QSize &surface)
{
    const int x = std::max(0, std::min(coin.x(), surface.width() - taille.width()));
    const int y = std::max(0, std::min(coin.y(), surface.height() - taille.height()));
    return {QPoint(x, y), taille};
}

bool Rencontre(const QRect &boite, const QRect &r)
{
    const int gauche = boite.x(), haut = boite.y();
    return gauche <= r.x() + r.width() - 1 && gauche + boite.width() >= r.x() && haut <= r.y() + r.height() - 1 &&
           haut + boite.height() >= r.y();
}

QRect RectangleOrdonne(const QPoint &a, const QPoint &b)
{
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

std::string TexteEtiquette(const Partition &partition, std::int32_t k, bool noms)
{
    if (noms)
        return partition.NomPartie(k);
    return std::to_string(partition.CodePartie(k));
}

void SelectionneRect(Partition &partition, const std::vector<QRect> &boites, const QRect &rectangle, bool ajoute)
{
    const std::int32_t n = static_cast<std::int32_t>(boites.size());
    if (!ajoute)
        for (std::int32_t k = 0; k < n; ++k)
            partition.Selectionne(k, false);
    for (std::int32_t k = 0; k < n; ++k)
        if (Rencontre(boites[static_cast<std::size_t>(k)], rectangle)) {
            partition.Coche(k, true);
            partition.Selectionne(k, true);
        }
}

void BasculeActifsRect(Partition &partition, const std::vector<QRect> &boites, const QRect &rectangle)
{
    for (std::size_t k = 0; k < boites.size(); ++k)
        if (Rencontre(boites[k], rectangle)) {
            const auto i = static_cast<std::int32_t>(k);
            partition.Coche(i, !partition.EstCochee(i));
        }
}

void ColorieRect(Partition &partition, const std::vector<QRect> &boites, const QRect &rectangle,
                 std::int32_t couleur)
{
    for (std::size_t k = 0; k < boites.size(); ++k)
        if (Rencontre(boites[k], rectangle))
            partition.FixeCouleur(static_cast<std::int32_t>(k), couleur);
}

void SelectionneCouleur(Partition &partition, std::int32_t nbPoints, std::int32_t couleur)
{
    for (std::int32_t k = 0; k < nbPoints; ++k)
        partition.Selectionne(k, false);
    for (std::int32_t k = 0; k < nbPoints; ++k)
        if (partition.Couleur(k) == couleur) {
            partition.Coche(k, true);
            partition.Selectionne(k, true);
        }
}

QString NombreGeneral(double valeur)
{
    return QString::number(valeur, 'g', 15);
}

QString NombreFixe(double valeur, int decimales)
{
    return QString::number(valeur, 'f', decimales);
}

QString TexteStatut(const std::vector<QRect> &boites, const std::vector<QString> &etiquettes,
                    const std::vector<double> &x, const std::vector<double> &y, int facteurX, int facteurY,
                    const QPoint &p)
{
    QString texte;
    const std::size_t n = std::min({boites.size(), etiquettes.size(), x.size(), y.size()});
    for (std::size_t k = 0; k < n; ++k) {
        if (!Contient(boites[k], p))
            continue;
        texte += etiquettes[k] + QStringLiteral(", F") + QString::number(facteurX + 1) + QLatin1Char('=') +
                 NombreGeneral(x[k]) + QStringLiteral(", F") + QString::number(facteurY + 1) + QLatin1Char('=') +
                 NombreGeneral(y[k]) + QStringLiteral("; ");
    }
    if (!texte.isEmpty())
        texte.chop(1);
    return texte;
}

QStringList EntetesFacteurs(std::int32_t nbFacteurs)
{
    QStringList entetes{QStringLiteral("Ident."), QStringLiteral("Masse"), QStringLiteral("Distance")};
    for (std::int32_t c = 0; c < 3 * nbFacteurs; ++c)
        entetes << QStringLiteral("f") + QString::number(c % nbFacteurs + 1);
    return entetes;
}

QString CelluleFacteurs(const ListePoints &points, std::int32_t ligne, std::int32_t colonne, const QString &etiquette)
{
    if (ligne < 0 || ligne >= points.nbPoints || colonne < 0 || colonne >= 3 + 3 * points.nbFacteurs)
        return {};
    const auto k = static_cast<std::size_t>(ligne);
    if (colonne == 0)
        return etiquette;
    if (colonne == 1)
        return NombreFixe(points.masse[k], 3);
    if (colonne == 2)
        return NombreFixe(points.distance[k], 3);
    const std::int32_t c = colonne - 3;
    // Coordinates and squared cosines with 2 decimals, contributions with 1.
    const int decimales = c / points.nbFacteurs == 1 ? 1 : 2;
    return NombreFixe(points.colonnes[static_cast<std::size_t>(c)][k], decimales);
}

int &CompteurImagesAFC()
{
    static int compteur = 0;
    return compteur;
}

int ProchainNumeroImageAFC() { return ++CompteurImagesAFC(); }

QString BlocRapportAFC(const QString &titre, const std::string &base, const QDateTime &moment, const std::string &cle,
                       std::int32_t nbPoints)
{
    const QLocale francais(QLocale::French, QLocale::France);
    const QString date = francais.toString(moment.date(), QStringLiteral("dddd d MMMM yyyy")) + QStringLiteral(" - ") +
                         moment.time().toString(QStringLiteral("hh:mm"));
    return QStringLiteral("<CENTER><H3>") + EchappeTexte(titre) +
           QStringLiteral("</H3></CENTER><br><TABLE WIDTH=100% ALIGN=CENTER BORDER=1><TD>Corpus : ") +
           EnUnicode(EchappeTexte(base)) + QStringLiteral("</TD>\n<TD>Date : ") + date +
           QStringLiteral("</TD>\n<TD>Partition = ") + EnUnicode(EchappeTexte(cle)) +
           QStringLiteral("</TD>\n</TABLE>Nombre de parties : ") + QString::number(nbPoints) +
           QStringLiteral("<br>\n<br>\n");
}

} // namespace talmer
