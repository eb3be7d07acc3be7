// The reading page of a generated base of about 10 million items: writing the page file (one
// pass, buffered) with and without a group, then showing it in the HTML view (read, cut into
// the parts it needs, first part laid out), moving to a part in the middle, and a refresh.
#include "bench/commun/application.h"
#include "bench/commun/corpus_genere.h"

#include "engine/tgen.h"
#include "windows/commun/decoupagehtml.h"
#include "windows/commun/vuehtml.h"
#include "windows/liseuse/pagelecture.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char **argv)
{
    bench::Application app(argc, argv);
    const bench::Corpus corpus({.occurrences = bench::Argument(argc, argv, 1, 10'000'000)});
    const auto &base = corpus.base;
    std::printf("base: %d items, %d forms (%.2f s to generate)\n", base->Nbitem(), base->Nbform(),
                corpus.preparation.mur);

    const QString chemin = QStringLiteral("page");
    auto debut = bench::HorlogeMur::now();
    if (!talmer::EcritPageLecture(*base, nullptr, talmer::ParametresPage{}, chemin))
        return 1;
    std::printf("page without a group: %.3f s, %lld bytes\n", bench::Secondes(debut),
                static_cast<long long>(QFileInfo(chemin).size()));

    std::vector<std::int32_t> formes(10);
    for (int i = 0; i < 10; ++i)
        formes[static_cast<std::size_t>(i)] = i;
    Tgen groupe(base.get(), formes.data(), 10);
    debut = bench::HorlogeMur::now();
    if (!talmer::EcritPageLecture(*base, &groupe, talmer::ParametresPage{}, chemin))
        return 1;
    std::printf("page with a group of the 10 most frequent forms (%d occurrences): %.3f s, %lld bytes\n",
                groupe.NbOcc(), bench::Secondes(debut), static_cast<long long>(QFileInfo(chemin).size()));

    {
        QFile f(chemin);
        f.open(QIODevice::ReadOnly);
        debut = bench::HorlogeMur::now();
        const QByteArray octets = f.readAll();
        std::printf("for comparison, reading the whole page file (the view does not): %.3f s\n", bench::Secondes(debut));
        debut = bench::HorlogeMur::now();
        const talmer::DecoupageHtml d =
            talmer::DecoupeHtml(std::string_view(octets.constData(), static_cast<std::size_t>(octets.size())),
                                talmer::VueHtml::TaillePartieParDefaut);
        std::printf("for comparison, cutting the whole page at once into %zu parts: %.3f s\n", d.NbParties(), bench::Secondes(debut));
    }
    talmer::VueHtml vue;
    vue.resize(1000, 700);
    vue.show();
    debut = bench::HorlogeMur::now();
    vue.Affiche(chemin);
    app.processEvents();
    std::printf("view: first part shown (head, end and first part read, laid out): %.3f s\n",
                bench::Secondes(debut));
    debut = bench::HorlogeMur::now();
    vue.MontrePartie(250);
    app.processEvents();
    std::printf("view: part 251 shown, the 250 before it found on the way: %.3f s\n", bench::Secondes(debut));
    debut = bench::HorlogeMur::now();
    vue.MontrePartie(251);
    app.processEvents();
    std::printf("view: next part shown: %.3f s\n", bench::Secondes(debut));
    debut = bench::HorlogeMur::now();
    vue.Rafraichit();
    app.processEvents();
    std::printf("view: refresh at part 252 (page rewritten): %.3f s\n", bench::Secondes(debut));
    debut = bench::HorlogeMur::now();
    const int n = vue.NbParties();
    std::printf("view: all %d parts counted: %.3f s\n", n, bench::Secondes(debut));
    return 0;
}
