// The repeated-segment list on 100,000 segments: opening the window (model, view, first paint)
// and re-sorting it by frequency, by length and alphabetically.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_segments_liste [segments]

#include "bench/commun/application.h"
#include "bench/commun/corpus_genere.h"

#include "engine/charg1.h"
#include "engine/segrep.h"
#include "windows/segments/frmsr.h"

#include <cstdio>
#include <random>

int main(int argc, char **argv)
{
    using bench::Secondes;
    using Horloge = bench::HorlogeMur;
    bench::Application app(argc, argv);

    const auto nombre = static_cast<int>(bench::Argument(argc, argv, 1, 100'000));
    const bench::Corpus corpus({.occurrences = 1'000'000, .formes = 20'000});
    const auto &base = corpus.base;

    // Segments of 2 to 11 forms drawn among the frequent ones, frequencies 2 to 500.
    SegRep segments(base.get(), {});
    std::mt19937 alea(42);
    for (int i = 0; i < nombre; ++i) {
        Segment s;
        s.Formes.resize(2 + alea() % 10);
        for (auto &f : s.Formes)
            f = static_cast<std::int32_t>(alea() % 2000);
        s.Frq = 2 + static_cast<std::int32_t>(alea() % 499);
        segments.Segments().push_back(std::move(s));
    }

    auto t0 = Horloge::now();
    TfrmSR liste(segments);
    liste.resize(270, 612);
    liste.show();
    QApplication::processEvents();
    const double ouverture = Secondes(t0);

    auto trie = [&](int colonne) {
        const auto t = Horloge::now();
        liste.ListSRColumnClick(colonne);
        liste.repaint();
        QApplication::processEvents();
        return Secondes(t);
    };
    const double frequence = trie(2);
    const double longueur = trie(0);
    const double alphabetique = trie(1);
    std::printf("%d segments: list opened in %.3f s; sorted by frequency %.3f s, by length %.3f s, "
                "alphabetically %.3f s; open + frequency %.3f s\n",
                nombre, ouverture, frequence, longueur, alphabetique, ouverture + frequence);
    return 0;
}
