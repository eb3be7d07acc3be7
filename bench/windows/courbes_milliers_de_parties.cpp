// The curve windows of a partition of thousands of parts, whose curves are titled with every
// part's name: the Pareto (Zipf) window and the growth window opened and drawn, with their time
// and the resident memory they take. Then the session's windows (these two and the partition
// statistics window with its "Sp. Tot" table) closed: the resident memory once they are deleted,
// and after the next turn of the event loop, when the freed memory has gone back to the system.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_courbes_milliers_de_parties [occurrences] [parts]
//
// The generated corpus: 5 million word occurrences, 27,000 forms, 5,000 parts by default.

#include "bench/commun/application.h"
#include "bench/commun/corpus_genere.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "services/dialogues.h"
#include "shell/rendu_memoire.h"
#include "shell/zone_fenetres.h"
#include "windows/courbes/fengrapheac.h"
#include "windows/courbes/fenzipf.h"
#include "windows/partitions/fenstatpart.h"
#include "windows/specificites/installation_specificites.h"

#include <QDialog>

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// Runs the step once (a window opened and drawn) and prints its wall-clock and processor time
// and the peak of resident memory during it above what was in use before.
void Etape(const char *nom, const std::function<void()> &pas)
{
    const double avant = bench::MemoireMo("VmRSS");
    bench::RemetPicMemoire();
    const bench::Chronometre chrono;
    pas();
    const bench::Temps t = chrono.Ecoule();
    std::printf("%-40s %7.3f s (processor %7.3f s)   peak +%7.1f MB (resident %7.1f MB after)\n", nom, t.mur,
                t.processeur, bench::MemoireMo("VmHWM") - avant, bench::MemoireMo("VmRSS"));
}

// Lets the windows draw (and the deferred deletions and tasks run).
void Tours()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// Confirms every dialog as it stands (the "Sp. Tot" parameters), answers every box with OK.
class DialoguesConfirmes : public Dialogues {
public:
    DialoguesConfirmes() { FixeDialogues(this); }
    ~DialoguesConfirmes() override { FixeDialogues(nullptr); }
    ReponseMessage message(QWidget *, const QString &, const QString &, BoutonsMessage, IconeMessage) override
    {
        return ReponseMessage::Ok;
    }
    QString choisitFichierBase(QWidget *) override { return {}; }
    QString choisitTexte(QWidget *) override { return {}; }
    QString choisitDossier(QWidget *, const QString &) override { return {}; }
    int execute(QDialog &) override { return QDialog::Accepted; }
    void ouvreDocument(const QString &, std::function<void(bool)> resultat) override { resultat(false); }
};

} // namespace

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    bench::Application app(argc, argv);
    const int parties = static_cast<int>(bench::Argument(argc, argv, 2, 5'000));
    const bench::Corpus corpus({.occurrences = bench::Argument(argc, argv, 1, 5'000'000),
                                .formes = 27'000,
                                .cles = {{"page", parties}}});
    const auto &base = corpus.base;
    Partition partition(base.get(), bench::TypeDeCle(*base, "page"));
    std::printf("base: %d occurrences, %d forms, %d parts; resident %.1f MB\n", base->Nbocc(), base->Nbform(),
                partition.NbParties(), bench::MemoireMo("VmRSS"));

    ZoneFenetres zone;
    zone.resize(1600, 1000);
    zone.show();
    Tours();
    const double auDepart = bench::MemoireMo("VmRSS");

    // No part selected: the Pareto curve covers every part and is titled with all their names.
    Etape("Pareto window, every part", [&] {
        QMdiSubWindow *sous = zone.AjouteFenetre(new TFenZipf(partition));
        sous->setGeometry(0, 0, 1584, 496);
        Tours();
    });
    // Every part selected: the growth curve too.
    for (std::int32_t k = 0; k < partition.NbParties(); ++k) {
        partition.Coche(k, true);
        partition.Selectionne(k, true);
    }
    Etape("growth window, every part selected", [&] {
        QMdiSubWindow *sous = zone.AjouteFenetre(new TFenGrapheAC(partition, *base));
        sous->setGeometry(0, 496, 1584, 496);
        Tours();
    });
    Etape("both windows resized", [&] {
        for (QMdiSubWindow *sous : zone.Mdi()->subWindowList())
            sous->resize(800, 400);
        Tours();
    });

    talmer::InstalleSpecificites();
    DialoguesConfirmes dialogues;
    Etape("statistics window and \"Sp. Tot\"", [&] {
        auto *statistiques = new TFenStatPart(nullptr, partition);
        zone.AjouteFenetre(statistiques)->setGeometry(0, 0, 1584, 992);
        statistiques->BtnSpTotClick();
        Tours();
    });

    // Closed: the windows are deleted on the next turn; the freed memory goes back to the system
    // on the turn after.
    const int rendus = NombreRendusMemoire();
    for (QMdiSubWindow *sous : zone.Mdi()->subWindowList())
        sous->close();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const double ferme = bench::MemoireMo("VmRSS");
    Tours();
    const double rendu = bench::MemoireMo("VmRSS");
    std::printf("resident before the windows: %.1f MB; once closed: %.1f MB; after the next turn: %.1f MB (%d return "
                "to the system)\n",
                auDepart, ferme, rendu, NombreRendusMemoire() - rendus);
    return 0;
}
