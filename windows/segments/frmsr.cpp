#include "windows/segments/frmsr.h"

#include "engine/charg1.h"
#include "engine/segrep.h"
#include "platform/qt/ecriture_sure.h"
#include "services/affichage.h"
#include "services/dialogues.h"
#include "services/jeu_affichage.h"
#include "services/mesures.h"
#include "services/rapport.h"
#include "services/translation.h"
#include "services/utilitaires.h"
#include "shell/dragobjects.h"
#include "windows/commun/choixcouleur.h"
#include "windows/commun/liste_groupe.h"
#include "windows/segments/modele_segments.h"
#include "windows/segments/ordre_segments.h"

#include <QDateTime>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

int compteurPages = 0;

void PeintPastille(QToolButton *pastille, std::int32_t couleur)
{
    pastille->setStyleSheet(QStringLiteral("QToolButton { background-color: %1; border: 1px solid black; }")
                                .arg(talmer::CouleurDeValeur(couleur).name()));
}

} // namespace

TfrmSR::TfrmSR(SegRep &segments, QWidget *parent) : QWidget(parent), segments_(segments)
{
    setObjectName(QStringLiteral("TfrmSR"));
    setWindowTitle(Titre());

    auto *disposition = new QVBoxLayout(this);
    disposition->setContentsMargins(0, 0, 0, 0);
    auto *panel1 = new QWidget(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFixedHeight(41);
    auto *haut = new QHBoxLayout(panel1);
    auto *label1 = new QLabel(QStringLiteral("Sélectionnez une couleur :"), panel1);
    shPastille_ = new QToolButton(panel1);
    shPastille_->setObjectName(QStringLiteral("ShPastille"));
    shPastille_->setFixedSize(33, 15);
    shPastille_->setToolTip(QStringLiteral("Couleur d'affichage des éléments de la liste\naprès projection."));
    PeintPastille(shPastille_, couleur_);
    spdBtnRap_ = new QToolButton(panel1);
    spdBtnRap_->setObjectName(QStringLiteral("SpdBtnRap"));
    spdBtnRap_->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    spdBtnRap_->setToolTip(QStringLiteral("Ajouter au rapport"));
    haut->addWidget(label1);
    haut->addWidget(shPastille_);
    haut->addStretch();
    haut->addWidget(spdBtnRap_);
    disposition->addWidget(panel1);

    // The list: a drag carries its selected segments, in the swatch's colour.
    listSR_ = new talmer::ListeGroupe(this);
    listSR_->setObjectName(QStringLiteral("ListSR"));
    listSR_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listSR_->setWordWrap(false);
    listSR_->horizontalHeader()->setSectionsClickable(true);
    listSR_->horizontalHeader()->setSortIndicatorShown(false);
    listSR_->FixeFabriqueGroupe([this] { return ObjetAGlisser(); });
    modele_ = new talmer::ModeleSegments(&segments_, this);
    listSR_->setModel(modele_);
    talmer::DimensionneGrille(listSR_, {30, 175, 30});
    disposition->addWidget(listSR_);

    connect(listSR_->horizontalHeader(), &QHeaderView::sectionClicked, this, &TfrmSR::ListSRColumnClick);
    connect(shPastille_, &QToolButton::clicked, this, &TfrmSR::ShPastilleClick);
    connect(spdBtnRap_, &QToolButton::clicked, this, &TfrmSR::AjouteAuRapport);

    TraduitComposants(this);
    ApplyCharsetToListView(listSR_, -1);
    resize(sizeHint());
}

QSize TfrmSR::sizeHint() const
{
    // The designed size, as wide as the list's columns need.
    return {std::max(LargeurDessinee, talmer::LargeurGrille(*listSR_)), HauteurDessinee};
}

TfrmSR::~TfrmSR() = default;

QString TfrmSR::Titre() { return Traduit("Segments répétés"); }

void TfrmSR::ListSRColumnClick(int colonne) { modele_->TrieColonne(colonne); }

std::unique_ptr<talmer::TTgenDragObject> TfrmSR::ObjetAGlisser() const
{
    const std::vector<std::int32_t> entites = EntitesSelectionnees();
    charg1 *base = segments_.Base();
    if (entites.empty() || !base)
        return nullptr;
    auto objet = std::make_unique<talmer::TTgenDragObject>(listSR_, base, std::string(), CouleurPastille(),
                                                           static_cast<std::int32_t>(entites.size()));
    std::copy(entites.begin(), entites.end(), objet->Entites().begin());
    return objet;
}

std::vector<std::int32_t> TfrmSR::EntitesSelectionnees() const
{
    std::vector<int> lignes;
    for (const QModelIndex &i : listSR_->selectionModel()->selectedRows())
        lignes.push_back(i.row());
    std::sort(lignes.begin(), lignes.end());
    std::vector<std::int32_t> entites;
    entites.reserve(lignes.size());
    for (int r : lignes) {
        const std::int32_t s = modele_->SegmentDeLigne(r);
        if (s >= 0)
            entites.push_back(modele_->EntiteDeSegment(s));
    }
    return entites;
}

void TfrmSR::ShPastilleClick()
{
    if (const std::optional<QColor> c = talmer::ChoisitCouleur(this, talmer::CouleurDeValeur(couleur_))) {
        couleur_ = talmer::ValeurCouleur(*c);
        PeintPastille(shPastille_, couleur_);
    }
}

QString TfrmSR::NomPageSuivante()
{
    ++compteurPages;
    return QStringLiteral("sr%1").arg(compteurPages);
}

void TfrmSR::AjouteAuRapport()
{
    Rapport *rapport = RapportCourant();
    const charg1 *base = segments_.Base();
    if (!rapport || !base)
        return;
    const std::string page =
        talmer::PageSegments(segments_.Segments(), *base, EnCodePageTexteHtml(windowTitle()),
                             JeuDAffichage().GetHtmlCharset(), talmer::DateDePage(QDateTime::currentDateTime()));
    // Each page keeps a name of its own, so an earlier page of the report is never overwritten.
    const QString nom = NomPageSuivante();
    talmer::EchecEcriture echec;
    if (!talmer::EcritFichierSur(rapport->DossierTemporaire() + nom + QStringLiteral(".html"),
                                 QByteArray(page.data(), static_cast<qsizetype>(page.size())), &echec)) {
        LesDialogues().message(this, QStringLiteral("Talmer3"), MessageEcriture(echec), BoutonsMessage::Ok,
                               IconeMessage::Erreur);
        return;
    }
    rapport->AjouteElement(EchappeTexte(windowTitle()), nom, QStringLiteral(" "), GenreElement::Page);
}
