// Concordance of the most frequent form of a generated 10-million-item base, sorted by right
// context with 80-byte contexts: the sort, the first screen page written and laid out in the
// view, and, for comparison, the whole page and the XML fragment of a report item.
//
//   build/bench/bench_concordance [occurrences]

#include "bench/commun/application.h"
#include "bench/commun/corpus_genere.h"

#include "engine/tgen.h"
#include "windows/commun/vuehtml.h"
#include "windows/concordance/fenconcor.h"
#include "windows/concordance/pages.h"

#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    bench::Application app(argc, argv);
    using bench::Secondes;
    using Horloge = bench::HorlogeMur;

    const bench::Corpus corpus({.occurrences = bench::Argument(argc, argv, 1, 10'000'000), .formes = 50'000});
    const auto &base = corpus.base;
    const std::int32_t forme = 0; // forms are numbered by decreasing frequency
    std::printf("base: %d items, %d occurrences; most frequent form: %d occurrences (%.1f%%)\n", base->Nbitem(),
                base->Nbocc(), base->RetourneFrq(forme), 100.0 * base->RetourneFrq(forme) / base->Nbocc());

    const std::int32_t longueur = 80;
    talmer::Entete entete;
    const auto t0 = Horloge::now();
    Tgen groupe(base.get(), &forme, 1);
    talmer::Concordance c(*base, groupe.PositionsTriees());
    const double tOcc = Secondes(t0);
    auto t = Horloge::now();
    c.Trie(1);
    const double tTri = Secondes(t);
    t = Horloge::now();
    const std::string page = talmer::PageEcran(*base, c, entete, 0, talmer::TFenConcor::LignesParPage, longueur, "1252");
    {
        QFile f(QStringLiteral("page.html"));
        if (!f.open(QIODevice::WriteOnly) || f.write(page.data(), static_cast<qint64>(page.size())) != static_cast<qint64>(page.size()))
            return 2;
    }
    const double tPage = Secondes(t);
    t = Horloge::now();
    talmer::VueHtml vue;
    vue.resize(1200, 800);
    if (!vue.Affiche(QStringLiteral("page.html")))
        return 2;
    const double tVue = Secondes(t);
    const double total = Secondes(t0);
    std::printf("occurrences %.3f s, right sort %.3f s, first page of %d lines written %.3f s (%zu bytes), "
                "laid out %.3f s: total %.3f s\n",
                tOcc, tTri, talmer::TFenConcor::LignesParPage, tPage, page.size(), tVue, total);

    t = Horloge::now();
    const std::string complete = talmer::PageConcordance(*base, c, entete, "", longueur, "1252");
    const double tComplete = Secondes(t);
    t = Horloge::now();
    const std::string xml = talmer::FragmentXml(*base, c, longueur, "1252");
    std::printf("whole page %.3f s (%zu MB), XML fragment %.3f s (%zu MB), %d screen pages\n", tComplete,
                complete.size() >> 20, Secondes(t), xml.size() >> 20, talmer::NbPagesEcran(c, talmer::TFenConcor::LignesParPage));
    return total < 1.0 ? 0 : 1;
}
