#include "windows/specificites/pagetfg.h"

#include "windows/specificites/pages_statpart.h"
#include "windows/specificites/paramspec.h"

#include "engine/calcspectot.h"
#include "engine/charg1.h"
#include "engine/partition.h"

#include "services/affichage.h"
#include "services/dialogues.h"
#include "services/mesures.h"
#include "services/rapport.h"
#include "services/translation.h"
#include "shell/barre_etat.h"
#include "shell/dragobjects.h"
#include "shell/occupation.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyleOptionHeader>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace talmer {

// --- Drawing ------------------------------------------------------------------------------------

void DelegueTFG::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    painter->save();
    const QVariant fond = index.data(Qt::BackgroundRole);
    if (option.state & QStyle::State_Selected)
        painter->fillRect(option.rect, option.palette.highlight());
    else if (fond.isValid())
        painter->fillRect(option.rect, fond.value<QBrush>());
    painter->setFont(option.font);
    const QRect texte = option.rect.adjusted(2, 1, -1, 0);
    painter->setPen(option.state & QStyle::State_Selected ? option.palette.highlightedText().color()
                                                          : option.palette.text().color());
    painter->drawText(texte, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, index.data().toString());
    const QString coef = index.data(ModeleTFG::RoleCoef).toString();
    if (!coef.isEmpty()) {
        painter->setPen(index.data(ModeleTFG::RoleCouleurCoef).value<QColor>());
        painter->drawText(texte, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, coef);
    }
    painter->restore();
}

// --- Grid ---------------------------------------------------------------------------------------

GrilleTFG::GrilleTFG(Partition *partition, QWidget *parent) : QTableView(parent), partition_(partition)
{
    setObjectName(QStringLiteral("GridTFG"));
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    // A header click sorts; it must not leave a column highlighted over the coefficients.
    setSelectionMode(QAbstractItemView::NoSelection);
    setWordWrap(false);
    horizontalHeader()->setDefaultSectionSize(90);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setMinimumWidth(90);
    ApplyCharsetToGrid(this);
    // The corner over the spellings carries their title and sorts them.
    coin_ = findChild<QAbstractButton *>();
    if (coin_ != nullptr) {
        disconnect(coin_, nullptr, this, nullptr);
        coin_->installEventFilter(this);
        connect(coin_, &QAbstractButton::clicked, this, &GrilleTFG::coinClique);
    }
}

bool GrilleTFG::eventFilter(QObject *objet, QEvent *event)
{
    if (objet == coin_ && event->type() == QEvent::Paint) {
        QStyleOptionHeader option;
        option.initFrom(coin_);
        option.rect = coin_->rect();
        option.text = QString::fromLatin1(ModeleTFG::TitreLignes);
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.position = QStyleOptionHeader::OnlyOneSection;
        option.state |= QStyle::State_Raised | QStyle::State_Horizontal;
        if (coin_->isDown())
            option.state |= QStyle::State_Sunken;
        QPainter peintre(coin_);
        coin_->style()->drawControl(QStyle::CE_Header, &option, &peintre, coin_);
        return true;
    }
    return QTableView::eventFilter(objet, event);
}

void GrilleTFG::dragEnterEvent(QDragEnterEvent *event)
{
    if (partition_ && GroupeAcceptable(event->mimeData(), partition_->Base()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void GrilleTFG::dragMoveEvent(QDragMoveEvent *event)
{
    if (partition_ && GroupeAcceptable(event->mimeData(), partition_->Base()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void GrilleTFG::dropEvent(QDropEvent *event)
{
    TTgenDragObject *groupe = partition_ ? GroupeAcceptable(event->mimeData(), partition_->Base()) : nullptr;
    if (groupe == nullptr) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit groupeDepose(groupe->Entites());
}

// --- Page ---------------------------------------------------------------------------------------

PageTFG::PageTFG(Partition *partition, QWidget *parent) : QWidget(parent), partition_(partition)
{
    setObjectName(QStringLiteral("PageTFG"));
    modele_ = new ModeleTFG(partition, this);
    grille_ = new GrilleTFG(partition, this);
    grille_->setModel(modele_);
    grille_->setItemDelegate(new DelegueTFG(grille_));
    DimensionneGrille(grille_, {}, 16);
    auto *tri = new QHBoxLayout;
    tri->addWidget(new QLabel(QStringLiteral("Tri par :"), this));
    radFrq_ = new QRadioButton(QStringLiteral("&fréquence"), this);
    radFrq_->setObjectName(QStringLiteral("RadFrq"));
    radFrq_->setChecked(true);
    radSpec_ = new QRadioButton(QStringLiteral("&spécificité"), this);
    radSpec_->setObjectName(QStringLiteral("RadSpec"));
    tri->addWidget(radFrq_);
    tri->addWidget(radSpec_);
    tri->addStretch(1);
    auto *tout = new QVBoxLayout(this);
    tout->setContentsMargins(0, 0, 0, 0);
    tout->addWidget(grille_, 1);
    tout->addLayout(tri);

    // Grid column 0 is the spellings' corner, column c the computed part c - 1.
    connect(grille_, &GrilleTFG::coinClique, this, [this] { ClicEntete(0); });
    connect(grille_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) { ClicEntete(section + 1); });
    connect(radFrq_, &QRadioButton::clicked, this, &PageTFG::RadFrqClick);
    connect(radSpec_, &QRadioButton::clicked, this, &PageTFG::RadSpecClick);
    connect(grille_, &GrilleTFG::groupeDepose, this, &PageTFG::DeposeGroupe);
}

PageTFG::~PageTFG()
{
    // The model refers to the computation: let it go first.
    modele_->FixeCalcul(nullptr);
}

bool PageTFG::LanceSpTot(QWidget *parent)
{
    if (partition_ == nullptr)
        return false;
    TFenParamSpecTot dialogue(parent);
    dialogue.CSSeuil()->setValue(partition_->Seuil());
    dialogue.CSFreqMin()->setValue(partition_->FreqMin());
    bool unDecoche = false;
    for (std::int32_t k = 0; k < partition_->NbParties(); ++k)
        if (!partition_->EstCochee(k))
            unDecoche = true;
    dialogue.ChkCorpRef()->setChecked(unDecoche);
    dialogue.ChkCorpRef()->setEnabled(unDecoche);
    if (LesDialogues().execute(dialogue) != QDialog::Accepted)
        return false;
    return Calcule(dialogue.ChkCorpRef()->isChecked(), dialogue.CSSeuil()->value(), dialogue.CSFreqMin()->value());
}

bool PageTFG::Calcule(bool restreindre, std::int32_t seuil, std::int32_t freqMin)
{
    if (partition_ == nullptr || partition_->Base() == nullptr)
        return false;
    partition_->FixeSeuil(seuil);
    partition_->FixeFreqMin(freqMin);
    const std::int32_t aCalculer = NbPartiesACalculer(*partition_, restreindre);
    if (aCalculer == 0) {
        LesDialogues().message(this, Traduit("Paramètres"), Traduit("Aucune partie n'est cochée : il n'y a rien à calculer."),
                               BoutonsMessage::Ok, IconeMessage::Exclamation);
        return false;
    }
    BarreEtat *barreEtat = BarreEtatProgramme();
    QProgressBar *barre = barreEtat ? barreEtat->Progression() : nullptr;
    const int maximum = barre ? barre->maximum() : 0;
    // Each computed part advances the bar by about its whole range: 100 steps of 2 for the forms,
    // or 100 steps of 1 for the forms and 100 for the segments.
    const bool segments = partition_->Base()->SegmentsAttaches() != nullptr;
    const int pasAvant = barreEtat ? barreEtat->Pas() : 1;
    if (barreEtat)
        barreEtat->FixePas(1);
    FnProgression pas = segments ? PasProgression : PasProgression2;

    std::unique_ptr<CalcSpecTot> nouveau;
    QString echec;
    bool interrompu = false;
    {
        // The bar's range goes back as it was when the work ends.
        TravailLong travail(Traduit("Calcul des spécificités..."));
        if (barre)
            barreEtat->FixeEtendue(0, aCalculer * maximum);
        try {
            interrompu = !travail.Execute([&] { nouveau = CalculeSpecTot(*partition_, restreindre, pas); });
        } catch (const std::exception &e) {
            echec = QString::fromLocal8Bit(e.what());
        }
    }
    if (barreEtat)
        barreEtat->FixePas(pasAvant);
    // Stopped by the user: the table shows the last complete run.
    if (interrompu)
        return false;
    if (!nouveau) {
        LesDialogues().message(this, QStringLiteral("Talmer3"), Traduit("Le calcul des spécificités a échoué : %1").arg(echec),
                               BoutonsMessage::Ok, IconeMessage::Erreur);
        return false;
    }
    // The new computation is complete before the previous one goes.
    modele_->FixeCalcul(nouveau.get());
    calcul_ = std::move(nouveau);
    etat_.NouveauCalcul(calcul_->NbPartiesCalculees());
    modele_->RemplitLignes();
    emit calcule();
    return true;
}

void PageTFG::ClicEntete(int colonne)
{
    Occupation occupation;
    const OrdreTFG ordre = etat_.ClicEntete(colonne, radFrq_->isChecked());
    modele_->Trie(ordre, etat_.Colonne());
}

void PageTFG::RadFrqClick()
{
    Occupation occupation;
    modele_->Trie(etat_.ChoisitFrequence(), etat_.Colonne());
}

void PageTFG::RadSpecClick()
{
    Occupation occupation;
    modele_->Trie(etat_.ChoisitSpecificite(), etat_.Colonne());
}

void PageTFG::DeposeGroupe(std::vector<std::int32_t> entites)
{
    Occupation occupation;
    modele_->FixeLignes(std::move(entites));
}

bool PageTFG::ExporteAuRapport(Rapport &rapport, const QString &titre, QString *erreur) const
{
    if (partition_ == nullptr)
        return false;
    const std::vector<std::int32_t> &lignes = modele_->Lignes();
    const DonneesTFG entete = EnteteTFG(*partition_, EnCodePageTexteHtml(titre), rapport.Charset());
    const TailleTFG taille = TailleEstimeeTFG(entete, static_cast<std::int64_t>(lignes.size()));
    if (DemandeAvantEcriture(taille) &&
        LesDialogues().message(window(), QStringLiteral("Talmer3"), QuestionTailleTFG(taille), BoutonsMessage::OuiNon,
                               IconeMessage::Exclamation) != ReponseMessage::Oui)
        return false;

    BarreEtat *barreEtat = BarreEtatProgramme();
    const int pasAvant = barreEtat ? barreEtat->Pas() : 1;
    bool ajoute = false;
    {
        TravailLong travail(Traduit("Écriture de la page du tableau…"));
        if (barreEtat) {
            barreEtat->FixePas(1);
            barreEtat->FixeEtendue(0, std::max(1, NbPasEcritureTFG(lignes.size())));
        }
        const auto ecrit = [&](const QString &html, const QString &xml, QString *raison) {
            if (!EcritPagesTFG(html, xml, entete, *partition_, lignes, calcul_.get(), PasProgression, raison))
                return false;
            // A stop asked while the last rows were written still keeps the page out.
            try {
                InterromptSiDemandeMaintenant();
            } catch (const CalculInterrompu &) {
                QFile::remove(html);
                QFile::remove(xml);
                throw;
            }
            return true;
        };
        // Stopped by the user: neither file is left and nothing is added. Once added, the page
        // stays.
        travail.Execute([&] { ajoute = AjouteElementPages(rapport, "tfg", entete.cle, titre, ecrit, erreur); },
                        TravailLong::Fin::Gardee);
    }
    if (barreEtat)
        barreEtat->FixePas(pasAvant);
    return ajoute;
}

} // namespace talmer
