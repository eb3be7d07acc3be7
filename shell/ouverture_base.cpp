#include "shell/ouverture_base.h"

#include "engine/charg1.h"
#include "engine/fichiers.h"
#include "engine/segmenteur.h"
#include "engine/segrep.h"
#include "engine/trace.h"
#include "engine/verifcles.h"
#include "services/affichage.h"
#include "services/dialogues.h"
#include "services/parametres.h"
#include "services/textesource.h"
#include "services/translation.h"
#include "shell/barre_etat.h"
#include "shell/fenchoixdelimforme.h"
#include "shell/occupation.h"
#include "shell/rendu_memoire.h"

#include "platform/qt/codepage.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace {
QByteArray CheminFichier(const QString &chemin)
{
    return QFile::encodeName(chemin);
}

// Translated text of the program's own.
QString T(const char *texte)
{
    return Traduit(texte);
}

// Where the user reads the trace file: in the text's folder, or where it went when that folder
// refused it.
QString ConsultezTrace()
{
    if (talmer::trace::DansDossierCourant())
        return T("Consultez atrace.txt");
    return T("Consultez %1").arg(QFile::decodeName(talmer::trace::Chemin().c_str()));
}
} // namespace

QString MessageErreurChargement(int code)
{
    return Traduit("Erreur ") + Traduit(TexteErreurChargement(code));
}

OuvertureBase::OuvertureBase(QWidget *fenetre, BarreEtat &etat, std::function<bool()> accepteRemplacement)
    : fenetre_(fenetre), etat_(etat), accepteRemplacement_(std::move(accepteRemplacement)),
      choixTexte_([](QWidget *parent) { return LesDialogues().choisitTexte(parent); })
{
}

OuvertureBase::~OuvertureBase()
{
    // The segment computations refer to the base: they go first.
    if (base_)
        base_->AssigneSR(nullptr);
    segmentsBase_.clear();
}

bool OuvertureBase::ChangeDossierCourant(const QString &dossier)
{
    if (dossier.isEmpty() || QDir::setCurrent(dossier))
        return true;
    LesDialogues().message(fenetre_, QStringLiteral("Talmer3"),
                           T("Impossible de se placer dans le dossier «\u00A0%1\u00A0».").arg(dossier),
                           BoutonsMessage::Ok, IconeMessage::Exclamation);
    return false;
}

void OuvertureBase::ChoisitEtOuvre()
{
    const QString chemin = LesDialogues().choisitFichierBase(fenetre_);
    if (chemin.isEmpty()) {
        etat_.AfficheStatut(QString());
        return;
    }
    OuvreBase(chemin);
}

void OuvertureBase::ChoisitEtSegmente()
{
    const QString chemin = choixTexte_ ? choixTexte_(fenetre_) : QString();
    if (chemin.isEmpty()) {
        etat_.AfficheStatut(QString());
        return;
    }
    SegmenteTexte(chemin);
}

bool OuvertureBase::OuvreBase(const QString &cheminPar)
{
    if (Occupation::EnCours())
        return false;
    if (accepteRemplacement_ && !accepteRemplacement_())
        return false;
    return OuvreBaseSansDemander(cheminPar);
}

bool OuvertureBase::OuvreBaseSansDemander(const QString &cheminPar)
{
    const QFileInfo info(cheminPar);
    const QString chemin = info.absoluteFilePath();
    // The other files of the base are read from the folder of its parameter file.
    if (!ChangeDossierCourant(info.absolutePath()))
        return false;

    // The new base is loaded beside the open one, which stays whole until the load succeeds.
    auto nouvelle = std::make_unique<charg1>();
    nouvelle->AttribGauge(PasProgression);
    int code = ChargeReussie;
    bool fini;
    {
        TravailLong travail(T("Chargement des données"));
        fini = travail.Execute([&] { code = nouvelle->ChargeBase(CheminFichier(chemin).constData()); });
    }
    etat_.FixePas(1);
    // Stopped by the user: the open base, if any, stays as it was.
    if (!fini)
        return false;
    if (code != ChargeReussie) {
        LesDialogues().message(fenetre_, chemin, MessageErreurChargement(code),
                               BoutonsMessage::Ok, IconeMessage::Exclamation);
        return false;
    }

    Occupation occupation;
    FermeBase();
    base_ = std::move(nouvelle);
    emit baseChargee(base_.get(), chemin);
    etat_.AfficheStatut(T("Prêt"));
    emit baseOuverte(base_.get());
    return true;
}

bool OuvertureBase::ProposeConversionUtf8(QString &chemin)
{
    if (!talmer::EstTexteUtf8(chemin))
        return true;
    const talmer::CodePage &codePage = CodePageAffichage();
    const QString nom = QFileInfo(talmer::NomTexteConverti(chemin, codePage.Numero())).fileName();
    const ReponseMessage reponse = LesDialogues().message(
        fenetre_, QStringLiteral("Talmer3"),
        T("Le texte «\u00A0%1\u00A0» est écrit en UTF-8, or les textes sont lus dans le jeu de caractères "
          "d'affichage (page de code %2) : ses caractères accentués seraient mal lus.\n"
          "Voulez-vous le convertir dans un nouveau fichier, «\u00A0%3\u00A0», à côté de l'original ?")
            .arg(QFileInfo(chemin).fileName(), QString::fromStdString(codePage.Numero()), nom),
        BoutonsMessage::OuiNonAnnuler, IconeMessage::Exclamation);
    if (reponse == ReponseMessage::Non)
        return true;
    if (reponse != ReponseMessage::Oui) {
        etat_.AfficheStatut(QString());
        return false;
    }
    talmer::ResultatConversion resultat;
    {
        Occupation occupation;
        etat_.AfficheStatut(T("Conversion du texte"));
        resultat = talmer::ConvertitTexteUtf8(chemin, codePage);
        etat_.AfficheStatut(QString());
    }
    if (resultat.chemin.isEmpty()) {
        LesDialogues().message(fenetre_, QStringLiteral("Talmer3"),
                               T("Le texte n'a pas pu être converti.") + QStringLiteral("\n") + resultat.erreur,
                               BoutonsMessage::Ok, IconeMessage::Erreur);
        return false;
    }
    if (resultat.manquants > 0)
        LesDialogues().message(
            fenetre_, QStringLiteral("Talmer3"),
            T("Le texte converti est dans «\u00A0%1\u00A0».\n%2 caractère(s) que le jeu de caractères d'affichage "
              "ne peut pas représenter y sont remplacés par «\u00A0?\u00A0».")
                .arg(QFileInfo(resultat.chemin).fileName())
                .arg(resultat.manquants),
            BoutonsMessage::Ok, IconeMessage::Information);
    chemin = resultat.chemin;
    return true;
}

bool OuvertureBase::RefuseTexteSansForme(const QString &chemin, const std::string &delimiteurs)
{
    if (talmer::ChercheForme(chemin, delimiteurs) != talmer::FormesDuTexte::Aucune)
        return false;
    etat_.AfficheStatut(QString());
    LesDialogues().message(fenetre_, QStringLiteral("Talmer3"),
                           T("Le texte «\u00A0%1\u00A0» ne contient aucune forme : il n'y a rien à segmenter.")
                               .arg(QFileInfo(chemin).fileName()),
                           BoutonsMessage::Ok, IconeMessage::Exclamation);
    return true;
}

bool OuvertureBase::SegmenteTexte(const QString &cheminTexte)
{
    if (Occupation::EnCours())
        return false;
    const QFileInfo info(cheminTexte);
    QString chemin = info.absoluteFilePath();
    // The segmenter writes the base and the trace file into the text's folder.
    if (!ChangeDossierCourant(info.absolutePath()))
        return false;
    // Refused before anything is written: the key check starts the trace file afresh and the
    // segmentation writes the base, either of which would destroy a text under such a name; a
    // FIFO would block the reading.
    auto refuse = [this](const QString &texte) {
        const EtatTexte etat = ExamineTexte(CheminFichier(texte).constData());
        if (etat == EtatTexte::Accepte)
            return false;
        etat_.AfficheStatut(QString());
        LesDialogues().message(fenetre_, texte, T(MessageTexte(etat)), BoutonsMessage::Ok, IconeMessage::Exclamation);
        return true;
    };
    if (refuse(chemin))
        return false;
    // A UTF-8 text would be read as garbage: the user may have it converted first (the copy
    // lies beside the user's text and is what gets segmented).
    const QString original = chemin;
    if (!ProposeConversionUtf8(chemin))
        return false;
    if (chemin != original && refuse(chemin))
        return false;
    // A text with nothing to segment is refused before anything is written (blanks, control
    // bytes and key markers only); with the delimiters known, again below.
    if (RefuseTexteSansForme(chemin, std::string()))
        return false;
    // Asked before the work starts, so that a cancel costs nothing.
    if (accepteRemplacement_ && !accepteRemplacement_())
        return false;

    std::int32_t fautes;
    {
        Occupation occupation;
        etat_.AfficheStatut(T("Vérification des clés"));
        fautes = VerifCles(CheminFichier(chemin).constData());
    }
    if (fautes < 0) {
        etat_.AfficheStatut(QString());
        LesDialogues().message(fenetre_, QStringLiteral("Talmer3"),
                               T("Le texte «\u00A0%1\u00A0» ne peut pas être lu.").arg(chemin) +
                                   QStringLiteral("\n") + ConsultezTrace(),
                               BoutonsMessage::Ok, IconeMessage::Exclamation);
        return false;
    }
    if (fautes > 0) {
        etat_.AfficheStatut(QString());
        LesDialogues().message(fenetre_, QStringLiteral("Talmer3"),
                               talmer::trace::DansDossierCourant()
                                   ? T("Problème dans les clefs.\nConsultez atrace.txt")
                                   : T("Problème dans les clefs.") + QStringLiteral("\n") + ConsultezTrace());
        return false;
    }

    TFenChoixDelimForme dialogue(fenetre_);
    dialogue.adjustSize();
    const QRect cadre = fenetre_->frameGeometry();
    dialogue.move(cadre.x() + cadre.width() / 2 - dialogue.width() / 2,
                  cadre.y() + cadre.height() / 2 - dialogue.height() / 2);
    if (LesDialogues().execute(dialogue) != QDialog::Accepted) {
        etat_.AfficheStatut(QString());
        return false;
    }
    if (RefuseTexteSansForme(chemin, dialogue.Delimiteurs()))
        return false;

    ResultatSegm resultat = ResultatSegm::Reussie;
    bool fini;
    {
        TravailLong travail(T("Segmentation du texte"));
        ParametresSegm parametres;
        parametres.delimiteurs = dialogue.Delimiteurs();
        parametres.maxArt = MaxArt();
        parametres.progression = PasProgression;
        // Once published, the new base is kept and opened: the segmentation takes a stop only
        // until then.
        fini = travail.Execute([&] { resultat = SegmPrinc(CheminFichier(chemin).constData(), parametres); },
                               TravailLong::Fin::Gardee);
    }
    // Stopped by the user: nothing of the new base is left, and the open base stays.
    if (!fini)
        return false;
    if (resultat != ResultatSegm::Reussie) {
        LesDialogues().message(fenetre_, chemin,
                               T(MessageSegmentation(resultat)) + QStringLiteral("\n") + ConsultezTrace(),
                               BoutonsMessage::Ok, IconeMessage::Exclamation);
        return false;
    }
    // The base lies in the text's folder under the text's name without its last extension, also
    // when that name has no extension or dots in its folders.
    const QString nomBase = QFile::decodeName(NomBaseDeTexte(CheminFichier(chemin).toStdString()).c_str());
    return OuvreBaseSansDemander(QDir(info.absolutePath()).filePath(nomBase + QStringLiteral(".par")));
}

void OuvertureBase::OuvreLigneDeCommande(const QStringList &arguments)
{
    if (arguments.isEmpty() || arguments.first().isEmpty())
        return;
    // The platform has split the command line already: the first argument is the whole path.
    // It is made absolute before the current directory changes.
    const QFileInfo info(arguments.first());
    const QString chemin = info.absoluteFilePath();
    if (!ChangeDossierCourant(info.absolutePath()))
        return;
    // A parameter file that a killed segmentation had not yet put in place is put there first.
    const bool parametres = chemin.endsWith(QStringLiteral(".par"), Qt::CaseSensitive);
    if (parametres)
        talmer::fichiers::ReprendPublications();
    if (!QFileInfo::exists(chemin))
        return;
    if (parametres)
        OuvreBase(chemin);
    else
        SegmenteTexte(chemin);
}

void OuvertureBase::FermeBase()
{
    if (!base_)
        return;
    emit fermetureBase(base_.get());
    base_->AssigneSR(nullptr);
    segmentsBase_.clear();
    base_.reset();
    RendMemoireApresCeTour();
}

SegRep *OuvertureBase::CalculeSegments(const ParametresSegmentsRepetes &parametres)
{
    if (!base_)
        return nullptr;
    // The new computation rewrites the positions file: the lists made before read theirs from
    // memory from now on, so none of them is ever answered with the new file at its old offsets.
    for (const std::unique_ptr<SegRep> &ancien : segmentsBase_)
        ancien->GardePositionsEnMemoire();
    auto segments = std::make_unique<SegRep>(base_.get(), parametres.delimiteurs);
    bool fini;
    {
        TravailLong travail(T("Calcul des segments répétés"));
        segments->AttribGauge(PasProgression2);
        fini = travail.Execute([&] { segments->CalcSegRep(parametres.editForme, parametres.freqMin); });
    }
    etat_.FixePas(2);
    // Stopped by the user: the segments attached before stay, with their files.
    if (!fini)
        return nullptr;
    if (segments->NbSegments() == 0) {
        LesDialogues().message(fenetre_, QStringLiteral("Talmer3"), T("Aucun segment trouvé!"));
        return nullptr;
    }
    // Earlier computations stay alive for the segment lists made from them, until the base goes.
    const SegRep *anciens = base_->SegmentsAttaches();
    base_->AssigneSR(segments.get());
    SegRep *attache = segments.get();
    segmentsBase_.push_back(std::move(segments));
    emit segmentsRemplaces(base_.get(), anciens, *attache);
    return attache;
}
