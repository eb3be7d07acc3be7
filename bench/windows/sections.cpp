// The section map on a generated base of 10 million items cut into about 100,000 sections: the
// sectioning and the layout, the painting of the part in view, and the colouring for a group of
// 100 forms.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_sections [occurrences]

#include "bench/commun/application.h"
#include "bench/commun/corpus_genere.h"

#include "engine/charg1.h"
#include "engine/section.h"
#include "engine/tgen.h"
#include "windows/sections/coloration.h"
#include "windows/sections/dessin_carte.h"
#include "windows/sections/disposition.h"

#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <numeric>

int main(int argc, char **argv)
{
    using bench::Secondes;
    using Horloge = bench::HorlogeMur;
    bench::Application app(argc, argv);

    const bench::Corpus corpus({.occurrences = bench::Argument(argc, argv, 1, 10'000'000)});
    const auto &base = corpus.base;

    // The delimiter: the form whose frequency is nearest to a hundredth of the occurrences, so that
    // the text falls into about 100,000 sections.
    const std::int32_t cible = static_cast<std::int32_t>(base->Nbocc() / 100);
    std::int32_t delimiteur = 0;
    for (std::int32_t e = 0; e < base->Nbform(); ++e)
        if (std::abs(base->RetourneFrq(e) - cible) < std::abs(base->RetourneFrq(delimiteur) - cible))
            delimiteur = e;
    std::printf("base: %d items, %d occurrences, %d forms\n", base->Nbitem(), base->Nbocc(), base->Nbform());

    auto t0 = Horloge::now();
    Section section(base.get(), &delimiteur, 1);
    const double tSection = Secondes(t0);
    t0 = Horloge::now();
    const talmer::DispositionCarte d = talmer::Dispose(section.NbSections(), talmer::TailleBoiteInitiale);
    const double tDisposition = Secondes(t0);
    std::printf("sectioning: %d sections in %.3f s; layout in %.3f s; together %.3f s (surface %d x %d)\n",
                section.NbSections(), tSection, tDisposition, tSection + tDisposition, d.largeur, d.hauteur);

    // A group of 100 forms of middle frequency.
    std::vector<std::int32_t> formes(100);
    std::iota(formes.begin(), formes.end(), 200);
    t0 = Horloge::now();
    Tgen groupe(base.get(), formes.data(), 100);
    const double tGroupe = Secondes(t0);
    t0 = Horloge::now();
    talmer::ColorationSections c = talmer::ColoreSections(section, groupe, base->Nbocc());
    const double tColoration = Secondes(t0);
    t0 = Horloge::now();
    std::vector<char> sup = talmer::MarqueSections(section, groupe);
    const double tMarque = Secondes(t0);
    const long touchees = std::accumulate(c.touche.begin(), c.touche.end(), 0L);
    std::printf("group of 100 forms: %d occurrences collected in %.3f s; colouring (hits and coefficients) of "
                "%ld sections in %.3f s; second-group marks in %.3f s\n",
                groupe.NbOcc(), tGroupe, touchees, tColoration, tMarque);

    talmer::DonneesCarte donnees;
    donnees.Dimensionne(section.NbSections());
    donnees.touche = std::move(c.touche);
    donnees.specif = std::move(c.specif);
    donnees.toucheSup = std::move(sup);
    donnees.groupe = donnees.groupeSup = true;
    donnees.couleurGroupe = 0x0000FF;
    donnees.couleurSup = 0x008000;
    donnees.seuillage = true;
    donnees.teintes = talmer::TeintesDe(0x0000FF);
    QImage image(1400, 700, QImage::Format_RGB32);
    {
        // The first painting loads the fonts; it is reported apart.
        t0 = Horloge::now();
        QPainter peintre(&image);
        talmer::DessineCarte(peintre, d, donnees, nullptr, QRect(0, 0, 1400, 700));
        peintre.end();
        std::printf("first painting (fonts loaded): %.1f ms\n", 1000 * Secondes(t0));
    }
    const int tours = 50;
    double pire = 0, total = 0;
    for (int k = 0; k < tours; ++k) {
        // A view of 700 pixels anywhere in the map.
        const int haut = static_cast<int>(static_cast<long>(d.hauteur - 700) * k / tours);
        t0 = Horloge::now();
        image.fill(Qt::white);
        QPainter peintre(&image);
        peintre.translate(0, -haut);
        talmer::DessineCarte(peintre, d, donnees, nullptr, QRect(0, haut, 1400, 700));
        peintre.end();
        const double t = Secondes(t0);
        total += t;
        pire = std::max(pire, t);
    }
    std::printf("painting a 1400 x 700 view: %.1f ms on average, %.1f ms at worst (%d views)\n", 1000 * total / tours,
                1000 * pire, tours);
    return 0;
}
