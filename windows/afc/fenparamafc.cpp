#include "windows/afc/fenparamafc.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "platform/qt/ecriture_sure.h"
#include "services/affichage.h"
#include "services/dialogues.h"
#include "services/translation.h"
#include "services/utilitaires.h"
#include "shell/barre_etat.h"
#include "shell/fenprinc.h"
#include "shell/occupation.h"
#include "shell/zone_fenetres.h"
#include "windows/afc/donnees_afc.h"
#include "windows/afc/fengrapheafc.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cstdio>
#include <optional>
#include <string>

#include <unistd.h>

namespace {

QString &ProgrammeFixe()
{
    static QString chemin;
    return chemin;
}

const char *const ErreurFacteurs = "Erreur de lecture du fichier des facteurs";
const char *const Facteurs = "facteurs.txt";
const char *const ValeursPropres = "vp.txt";

// The analysis program writes its own words in UTF-8 and the spellings of the table as they are,
// in the display code page: each piece is decoded as what it is.
QString TexteDuProgramme(const QByteArray &octets)
{
    QString texte;
    std::string brut;
    auto ajouteBrut = [&] {
        texte += EnUnicode(brut);
        brut.clear();
    };
    for (qsizetype i = 0; i < octets.size();) {
        const auto c = static_cast<unsigned char>(octets[i]);
        const qsizetype n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        bool utf8 = n > 0 && i + n <= octets.size();
        for (qsizetype k = 1; utf8 && k < n; ++k)
            utf8 = (static_cast<unsigned char>(octets[i + k]) & 0xC0) == 0x80;
        if (!utf8) {
            brut += static_cast<char>(c);
            ++i;
            continue;
        }
        ajouteBrut();
        texte += QString::fromUtf8(octets.constData() + i, n);
        i += n;
    }
    ajouteBrut();
    return texte;
}

// The result files of the last analysis, out of the way while the program runs, so that a
// missing file tells that this run failed: given back when the user stops the run, removed
// otherwise.
class ResultatsPrecedents {
public:
    ResultatsPrecedents()
    {
        for (int i = 0; i < 2; ++i)
            ecartes_[i] = MetDeCote(Noms[i]);
    }
    ~ResultatsPrecedents()
    {
        for (const std::string &ecarte : ecartes_)
            if (!ecarte.empty())
                std::remove(ecarte.c_str());
    }
    ResultatsPrecedents(const ResultatsPrecedents &) = delete;
    ResultatsPrecedents &operator=(const ResultatsPrecedents &) = delete;

    // The files as they were before the run: what the stopped program may have written goes.
    void Rends()
    {
        for (int i = 0; i < 2; ++i) {
            if (ecartes_[i].empty())
                std::remove(Noms[i]);
            else if (std::rename(ecartes_[i].c_str(), Noms[i]) == 0)
                ecartes_[i].clear();
        }
    }

private:
    static constexpr const char *Noms[2] = {Facteurs, ValeursPropres};

    // Moves the file under a new hidden name of the same folder; "" when there was none (or it
    // could not be moved, and is then removed, as a failed run must not find it).
    static std::string MetDeCote(const char *nom)
    {
        if (!QFileInfo::exists(QString::fromLatin1(nom)))
            return {};
        std::string modele = std::string(".") + nom + ".anc.XXXXXX";
        const int fd = mkstemp(modele.data());
        if (fd >= 0) {
            close(fd);
            if (std::rename(nom, modele.c_str()) == 0)
                return modele;
            std::remove(modele.c_str());
        }
        std::remove(nom);
        return {};
    }

    std::string ecartes_[2];
};

} // namespace

void TFenParamAFC::FixeProgramme(const QString &chemin) { ProgrammeFixe() = chemin; }

QString TFenParamAFC::Programme()
{
    if (!ProgrammeFixe().isEmpty())
        return ProgrammeFixe();
    return QCoreApplication::applicationDirPath() + QStringLiteral("/ta3afc");
}

TFenParamAFC::TFenParamAFC(Partition &partition, TFenPrinc *fenPrinc, QWidget *parent)
    : QDialog(parent), partition_(partition), fenPrinc_(fenPrinc)
{
    setObjectName(QStringLiteral("FenParamAFC"));
    setWindowTitle(QStringLiteral("Paramètrage de l'AFC"));
    resize(381, 185);

    auto *grille = new QGridLayout;
    auto edition = [this](const char *nom) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(nom));
        return e;
    };
    edTitre_ = edition("EdTitre");
    edNI_ = edition("EdNI");
    edNJ_ = edition("EdNJ");
    edNF_ = edition("EdNF");
    edNI2_ = edition("EdNI2");
    edNJ2_ = edition("EdNJ2");
    edNI2_->setReadOnly(true);
    edNJ2_->setReadOnly(true);
    ApplyCharsetToEdit(edTitre_);
    cSpinEdit1_ = new QSpinBox(this);
    cSpinEdit1_->setObjectName(QStringLiteral("CSpinEdit1"));
    // Stepped only, never typed.
    if (auto *saisie = cSpinEdit1_->findChild<QLineEdit *>())
        saisie->setReadOnly(true);

    grille->addWidget(new QLabel(QStringLiteral("Titre de l'analyse :"), this), 0, 0);
    grille->addWidget(edTitre_, 0, 1, 1, 5);
    const std::pair<const char *, QLineEdit *> champs[] = {
        {"NI", edNI_}, {"NJ", edNJ_}, {"NF", edNF_}, {"NI2", edNI2_}, {"NJ2", edNJ2_}};
    int colonne = 0;
    int ligne = 1;
    for (const auto &[libelle, e] : champs) {
        grille->addWidget(new QLabel(QString::fromLatin1(libelle), this), ligne, colonne);
        grille->addWidget(e, ligne, colonne + 1);
        colonne += 2;
        if (colonne >= 6) {
            colonne = 0;
            ++ligne;
        }
    }
    grille->addWidget(new QLabel(QStringLiteral("FreqMin :"), this), 3, 0);
    grille->addWidget(cSpinEdit1_, 3, 1);

    bitBtn1_ = new QPushButton(QStringLiteral("OK"), this);
    bitBtn1_->setObjectName(QStringLiteral("BitBtn1"));
    bitBtn1_->setDefault(true);
    bitBtn2_ = new QPushButton(QStringLiteral("Annuler"), this);
    bitBtn2_->setObjectName(QStringLiteral("BitBtn2"));
    auto *boutons = new QHBoxLayout;
    boutons->addStretch();
    boutons->addWidget(bitBtn1_);
    boutons->addWidget(bitBtn2_);
    auto *disposition = new QVBoxLayout(this);
    disposition->addLayout(grille);
    disposition->addStretch();
    disposition->addLayout(boutons);

    connect(bitBtn1_, &QPushButton::clicked, this, &TFenParamAFC::BitBtn1Click);
    connect(bitBtn2_, &QPushButton::clicked, this, &QDialog::reject);
    FormCreate();
    connect(cSpinEdit1_, &QSpinBox::valueChanged, this, &TFenParamAFC::CSpinEdit1Change);
}

void TFenParamAFC::FormCreate()
{
    TraduitComposants(this);
    if (const QScreen *ecran = QGuiApplication::primaryScreen()) {
        const QRect r = ecran->geometry();
        move(r.width() / 2 - width() / 2, r.height() / 2 - height() / 2);
    }
    const charg1 *base = partition_.Base();
    const std::int32_t nbParties = partition_.NbParties();
    edTitre_->setText(EnUnicode(std::string(base ? base->NomBase() : "") + " : " + partition_.NomPartition()));
    edNI_->setText(QString::number(base ? base->Nbform() : 0));
    edNJ_->setText(QString::number(nbParties));
    edNF_->setText(QString::number(nbParties - 1));
    edNI2_->setText(QStringLiteral("0"));
    std::int32_t decochees = 0;
    for (std::int32_t k = 0; k < nbParties; ++k)
        if (!partition_.EstCochee(k))
            ++decochees;
    edNJ2_->setText(QString::number(decochees));
    // The partition's own minimum frequency changes only when the analysis is confirmed.
    cSpinEdit1_->setRange(1, std::max(1, base ? base->Fmax() : 1));
    cSpinEdit1_->setValue(10);
    CSpinEdit1Change();
}

void TFenParamAFC::CSpinEdit1Change()
{
    edNI_->setText(QString::number(talmer::FormesRetenues(partition_, cSpinEdit1_->value())));
}

std::optional<talmer::DimensionsAFC> TFenParamAFC::Dimensions() const
{
    return talmer::ValideDimensions(edNI_->text().toStdString(), edNJ_->text().toStdString(),
                                    edNF_->text().toStdString(),
                                    talmer::FormesRetenues(partition_, cSpinEdit1_->value()), partition_.NbParties());
}

bool TFenParamAFC::EcritDonnees(FnProgression pas)
{
    erreurEcriture_.clear();
    const std::int32_t freqMin = cSpinEdit1_->value();
    const std::optional<talmer::DimensionsAFC> dimensions = Dimensions();
    if (!dimensions)
        return false;
    talmer::EchecEcriture echec;
    if (!talmer::EcritCoranDon("coran.don", partition_, EnCodePage(edTitre_->text()), *dimensions, freqMin, tag_ == 1,
                               pas, &echec)) {
        erreurEcriture_ = MessageEcriture(echec);
        return false;
    }
    partition_.FixeFreqMin(freqMin);
    return true;
}

QString TFenParamAFC::ExecuteAnalyse(TravailLong &travail, bool &interrompue)
{
    QProcess processus;
    processus.setProgram(Programme());
    processus.setWorkingDirectory(QDir::currentPath());
    processus.setStandardInputFile(QProcess::nullDevice());
    processus.start();
    // The bar follows the reading of the table, then shows that the factors are being computed,
    // with the time gone by: a large table takes minutes there.
    BarreEtat *barre = BarreEtatProgramme();
    bool lecture = false;
    QElapsedTimer calcul;
    qint64 secondes = -1;
    auto suit = [&] {
        while (processus.canReadLine()) {
            const QByteArray ligne = processus.readLine();
            const std::optional<talmer::AvancementAFC> avancement =
                talmer::LitAvancementAFC(std::string_view(ligne.constData(), static_cast<std::size_t>(ligne.size())));
            if (!avancement || calcul.isValid())
                continue;
            if (avancement->calcul) {
                calcul.start();
                travail.FixeIndetermine();
            } else if (barre) {
                if (!lecture) {
                    lecture = true;
                    barre->FixeEtendue(0, 100);
                    AfficheStatut(Traduit("Analyse des correspondances : lecture du tableau…"));
                }
                barre->FixeProgression(avancement->pourcent);
            }
        }
        if (calcul.isValid() && calcul.elapsed() / 1000 != secondes) {
            secondes = calcul.elapsed() / 1000;
            AfficheStatut(Traduit("Analyse des correspondances : calcul des facteurs… %1 s").arg(secondes));
        }
    };
    // The windows keep painting while the program runs, and the user's input is dropped but
    // for the stop gesture, so that the partition cannot go away under it.
    while (processus.state() != QProcess::NotRunning) {
        processus.waitForFinished(50);
        suit();
        RafraichitEcran();
        if (travail.InterruptionDemandee()) {
            processus.kill();
            processus.waitForFinished(-1);
            interrompue = true;
            return {};
        }
    }
    if (processus.error() == QProcess::FailedToStart)
        return Traduit("Le programme d'analyse n'a pas pu être lancé :") + QLatin1Char(' ') +
               QDir::toNativeSeparators(Programme());
    if (processus.exitStatus() == QProcess::CrashExit)
        return Traduit("Le programme d'analyse s'est arrêté anormalement.");
    if (processus.exitCode() != 0) {
        const QString raison = TexteDuProgramme(processus.readAllStandardError()).trimmed();
        return raison.isEmpty() ? Traduit("Le programme d'analyse a signalé une erreur.") : raison;
    }
    return {};
}

void TFenParamAFC::BitBtn1Click()
{
    // The dimensions are checked while the dialog can still take another value.
    if (!Dimensions()) {
        LesDialogues().message(this, QStringLiteral("Talmer3"), Traduit("Vérifiez vos paramètres"),
                               BoutonsMessage::Ok, IconeMessage::Exclamation);
        return;
    }
    // Out of the way of the main window's cancel button while the work runs.
    hide();
    bool ecrit = false;
    bool interrompue = false;
    QString raison;
    TFenGrapheAFC *plan = nullptr;
    {
        TravailLong travail(Traduit("Écriture du tableau de l'AFC…"));
        if (BarreEtat *f = BarreEtatProgramme())
            f->FixeEtendue(0, 400);  // the form rows, then the segment rows
        interrompue = !travail.Execute([&] { ecrit = EcritDonnees(PasProgression); });
        if (ecrit) {
            AfficheStatut(Traduit("Analyse des correspondances…"));
            travail.FixeIndetermine();
            ResultatsPrecedents precedents;
            raison = ExecuteAnalyse(travail, interrompue);
            if (interrompue) {
                precedents.Rends();
                travail.Interrompu();
            } else if (raison.isEmpty()) {
                plan = TFenGrapheAFC::Ouvre(partition_, &raison);
            }
        }
    }
    if (interrompue)
        return reject();
    if (!ecrit) {
        const bool fichier = !erreurEcriture_.isEmpty();
        LesDialogues().message(parentWidget(), QStringLiteral("Talmer3"),
                               fichier ? erreurEcriture_ : Traduit("Vérifiez vos paramètres"), BoutonsMessage::Ok,
                               fichier ? IconeMessage::Erreur : IconeMessage::Exclamation);
        return reject();
    }
    if (!plan) {
        QString texte = Traduit(ErreurFacteurs);
        if (!raison.isEmpty())
            texte += QStringLiteral("\n") + raison;
        LesDialogues().message(parentWidget(), QStringLiteral("Talmer3"), texte, BoutonsMessage::Ok,
                               IconeMessage::Erreur);
    } else if (fenPrinc_) {
        plan_ = plan;
        QMdiSubWindow *sous = fenPrinc_->Zone().AjouteFenetre(plan);
        if (sous)
            sous->showMaximized();
    } else {
        plan_ = plan;
        plan->setAttribute(Qt::WA_DeleteOnClose);
        plan->show();
    }
    accept();
}

void TFenParamAFC::AmenePlanDevant() const
{
    if (fenPrinc_ && plan_)
        fenPrinc_->MontreFenetre(plan_);
}
