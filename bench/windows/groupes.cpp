// Group-of-forms search over a large base: a broad pattern (".*e.*") over about 100,000 forms and
// 50,000 attached repeated segments, then the same search again (every number already in the
// result), the literal "contains" request, and a form list saved and loaded back.
//
//   build/bench/bench_groupes [forms]

#include "bench/commun/application.h"
#include "bench/commun/corpus_genere.h"

#include "engine/segrep.h"
#include "windows/groupes/resultatgroupe.h"

#include <cstdio>
#include <random>
#include <set>

int main(int argc, char **argv)
{
    bench::ApplicationSansFenetre app(argc, argv);
    using bench::Secondes;
    using Horloge = bench::HorlogeMur;

    const bench::Corpus corpus({.occurrences = 4'000'000,
                                .formes = static_cast<int>(bench::Argument(argc, argv, 1, 115'000)),
                                .cles = {{"partie", 10}}});
    const auto &base = corpus.base;

    // 50,000 segments of 2 to 4 forms drawn among the forms, attached without positions.
    SegRep segments(base.get(), std::set<std::int32_t>{});
    std::mt19937 alea(7);
    std::uniform_int_distribution<std::int32_t> forme(0, base->Nbform() - 1);
    std::uniform_int_distribution<int> longueur(2, 4);
    for (int k = 0; k < 50'000; ++k) {
        std::vector<std::int32_t> formes(static_cast<std::size_t>(longueur(alea)));
        for (auto &f : formes)
            f = forme(alea);
        segments.AjouteSegment(formes, {});
    }
    base->AssigneSR(&segments);
    std::printf("base: %d forms, %d segments attached\n", base->Nbform(), base->NbFormSup());

    talmer::ResultatGroupe resultat(base.get());
    auto t0 = Horloge::now();
    const talmer::BilanRecherche b = resultat.Recherche(".*e.*", talmer::TypeRequete::Expression, "1252");
    const double premiere = Secondes(t0);
    std::printf("\".*e.*\": %d found, %d added in %.4f s (failures %d)\n", b.trouves, b.ajoutes, premiere, b.echecs);

    t0 = Horloge::now();
    const talmer::BilanRecherche encore = resultat.Recherche(".*e.*", talmer::TypeRequete::Expression, "1252");
    std::printf("again: %d found, %d added in %.4f s\n", encore.trouves, encore.ajoutes, Secondes(t0));

    talmer::ResultatGroupe litteral(base.get());
    t0 = Horloge::now();
    const talmer::BilanRecherche c = litteral.Recherche("e", talmer::TypeRequete::Contenu, "1252");
    std::printf("contains \"e\": %d added in %.4f s\n", c.ajoutes, Secondes(t0));

    t0 = Horloge::now();
    const talmer::BilanSauvegarde s = resultat.SauveListe(QStringLiteral("groupe.lst"));
    const double ecriture = Secondes(t0);
    talmer::ResultatGroupe relu(base.get());
    t0 = Horloge::now();
    const talmer::BilanChargement l = relu.ChargeListe(QStringLiteral("groupe.lst"));
    std::printf("list: %d lines written in %.4f s, %d read back in %.4f s (%d unknown)\n", s.lignes, ecriture,
                l.ajoutes, Secondes(t0), l.inconnues);

    base->AssigneSR(nullptr);
    return premiere < 0.1 ? 0 : 1;
}
