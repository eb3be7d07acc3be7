#include "windows/graphe/series_graphe.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/specificite.h"
#include "engine/tgen.h"
#include "services/utilitaires.h"

namespace talmer {

std::vector<std::int32_t> OccurrencesParPartie(const Partition &partition, const Tgen &groupe)
{
    std::vector<std::int32_t> f(static_cast<std::size_t>(std::max(partition.NbParties(), 0)));
    for (std::int32_t j = 0; j < partition.NbParties(); ++j)
        f[static_cast<std::size_t>(j)] = partition.NbPositionsDansPartie(&groupe, j);
    return f;
}

std::vector<std::int64_t> SerieFrequences(const Partition &partition, const Tgen &groupe, bool relative)
{
    const std::vector<std::int32_t> f = OccurrencesParPartie(partition, groupe);
    std::vector<std::int64_t> valeurs(f.size());
    for (std::size_t j = 0; j < f.size(); ++j) {
        std::int64_t t = partition.NbOccPartie(static_cast<std::int32_t>(j));
        if (t == 0)
            t = 1;
        valeurs[j] = relative ? std::int64_t{f[j]} * 10000 / t : f[j];
    }
    return valeurs;
}

std::vector<std::int32_t> SerieSpecificites(const Partition &partition, const Tgen &groupe,
                                            std::int32_t *plusBas, std::int32_t *plusHaut)
{
    const std::vector<std::int32_t> f = OccurrencesParPartie(partition, groupe);
    const double T = partition.Base()->Nbocc();
    const double F = groupe.NbOcc();
    std::vector<std::int32_t> c(f.size());
    for (std::size_t j = 0; j < f.size(); ++j) {
        std::int32_t t = partition.NbOccPartie(static_cast<std::int32_t>(j));
        if (t == 0)
            t = 1;
        c[j] = CalcSpecifEntier(T, t, F, f[j], SeuilGraphe);
        if (plusHaut && c[j] > *plusHaut)
            *plusHaut = c[j];
        else if (plusBas && c[j] < *plusBas)
            *plusBas = c[j];
    }
    return c;
}

QString NomImageGraphe(const std::string &cle, int n)
{
    return QStringLiteral("img-graphe-") + QString::fromLatin1(NomDeFichierSur(cle)) + QString::number(n)
           + QStringLiteral(".jpg");
}

QString LegendeImageGraphe(const QString &titreFenetre, int n)
{
    return EchappeTexte(titreFenetre) + QStringLiteral(" (") + QString::number(n) + QLatin1Char(')');
}

int ProchainNumeroImageGraphe()
{
    static int compteur = 0;
    return compteur++;
}

} // namespace talmer
