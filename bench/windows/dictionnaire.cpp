// Opening the dictionary window on generated bases of about 10,000 and 100,000 forms: the list
// is virtual, so building and first showing the window must not grow with the number of forms.
// The alphabetical order, built on the first click, is timed apart.
#include "bench/commun/application.h"
#include "bench/commun/corpus_genere.h"

#include "windows/dictionnaire/fendicnum.h"
#include "windows/dictionnaire/modeledico.h"

#include <algorithm>
#include <cstdio>

namespace {

void Mesure(QApplication &app, int formes, std::int64_t occurrences)
{
    const bench::Corpus corpus({.occurrences = occurrences, .formes = formes});
    const auto &base = corpus.base;
    std::vector<double> ouvertures;
    double alphabetique = 0;
    for (int essai = 0; essai < 15; ++essai) {
        auto debut = bench::HorlogeMur::now();
        auto fen = std::make_unique<talmer::TFenDicNum>(*base);
        fen->show();
        app.processEvents();
        ouvertures.push_back(bench::Secondes(debut));
        debut = bench::HorlogeMur::now();
        fen->Modele()->FixeAlphabetique(true);
        app.processEvents();
        alphabetique = std::max(alphabetique, bench::Secondes(debut));
    }
    std::sort(ouvertures.begin(), ouvertures.end());
    std::printf("%7d forms, %6d rows: opening (built, shown, painted) median %.2f ms, max %.2f ms; "
                "first alphabetical order at most %.2f ms\n",
                base->Nbform(), base->Nbform() + base->Nbartponct(), ouvertures[ouvertures.size() / 2] * 1e3,
                ouvertures.back() * 1e3, alphabetique * 1e3);
}

} // namespace

int main(int argc, char **argv)
{
    bench::Application app(argc, argv);
    Mesure(app, 10'000, 2'000'000);
    Mesure(app, 100'000, 20'000'000);
    return 0;
}
