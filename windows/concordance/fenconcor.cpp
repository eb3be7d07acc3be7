#include "windows/concordance/fenconcor.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/tgen.h"
#include "platform/core/motif.h"
#include "platform/qt/ecriture_sure.h"
#include "services/affichage.h"
#include "services/corpus_registry.h"
#include "services/dialogues.h"
#include "services/jeu_affichage.h"
#include "services/rapport.h"
#include "services/translation.h"
#include "services/utilitaires.h"
#include "shell/dragobjects.h"
#include "shell/occupation.h"
#include "windows/commun/barreparties.h"
#include "windows/commun/nom_element.h"
#include "windows/commun/pagetemporaire.h"
#include "windows/commun/recherche_entites.h"
#include "windows/commun/vuehtml.h"
#include "windows/concordance/inventaire.h"
#include "windows/segments/ordre_segments.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace talmer {

namespace {

// The group drop-down: its list is refilled from the registry each time it opens.
class ComboPartitions : public QComboBox {
public:
    ComboPartitions(std::function<void()> avantOuverture, QWidget *parent)
        : QComboBox(parent), avantOuverture_(std::move(avantOuverture))
    {
    }
    void showPopup() override
    {
        avantOuverture_();
        QComboBox::showPopup();
    }

private:
    std::function<void()> avantOuverture_;
};

QLabel *etiquette(const char *texte, QWidget *pour, QWidget *parent)
{
    auto *l = new QLabel(QString::fromUtf8(texte), parent);
    l->setBuddy(pour);
    return l;
}

// The default delimiters of the inventory: . , : ; ! ? / _ - \ " ' ( ) [ ] { } § $
QString delimiteursParDefaut()
{
    return QStringLiteral(".,:;!?/_-\\\"'()[]{}\u00a7$");
}

} // namespace

TFenConcor::TFenConcor(charg1 *base, Corpus *registre, QWidget *parent)
    : QWidget(parent), base_(base), registre_(registre)
{
    setObjectName(QStringLiteral("FenConcor"));
    setWindowTitle(QStringLiteral("Concordances"));

    auto *panneau = new QWidget(this);
    panneau->setObjectName(QStringLiteral("ToolPanel"));
    BtnPrec = new QToolButton(panneau);
    BtnPrec->setObjectName(QStringLiteral("BtnPrec"));
    BtnPrec->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    BtnPrec->setToolTip(QStringLiteral("Précédent"));
    BtnSuiv = new QToolButton(panneau);
    BtnSuiv->setObjectName(QStringLiteral("BtnSuiv"));
    BtnSuiv->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    BtnSuiv->setToolTip(QStringLiteral("Suivant"));
    EdForme = new QLineEdit(panneau);
    EdForme->setObjectName(QStringLiteral("EdForme"));
    EdForme->setToolTip(QStringLiteral("Entrez une forme"));
    ChkExpRep = new QCheckBox(QStringLiteral("Expression rationnelle"), panneau);
    ChkExpRep->setObjectName(QStringLiteral("ChkExpRep"));
    ComboTri = new QComboBox(panneau);
    ComboTri->setObjectName(QStringLiteral("ComboTri"));
    ComboTri->addItems({QStringLiteral("Aucun"), QStringLiteral("Avant"), QStringLiteral("Après")});
    ComboTri->setToolTip(QStringLiteral("Sens du tri des contextes"));
    CbTypeDocu = new QComboBox(panneau);
    CbTypeDocu->setObjectName(QStringLiteral("CbTypeDocu"));
    CbTypeDocu->addItems({QStringLiteral("Concordance"), QStringLiteral("Inv. distributionnel")});
    ComboGrp = new ComboPartitions([this] { ComboGrpChargePart(); }, panneau);
    ComboGrp->setObjectName(QStringLiteral("ComboGrp"));
    SpinLgCont = new QSpinBox(panneau);
    SpinLgCont->setObjectName(QStringLiteral("SpinLgCont"));
    SpinLgCont->setRange(10, 255);
    SpinLgCont->setSingleStep(5);
    SpinLgCont->setValue(40);
    EdDelims = new QLineEdit(delimiteursParDefaut(), panneau);
    EdDelims->setObjectName(QStringLiteral("EdDelims"));
    BtnRecycle = new QToolButton(panneau);
    BtnRecycle->setObjectName(QStringLiteral("BtnRecycle"));
    BtnRecycle->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    BtnRecycle->setToolTip(QStringLiteral("Rafraîchir"));

    auto *ligne1 = new QHBoxLayout;
    ligne1->addWidget(BtnPrec);
    ligne1->addWidget(BtnSuiv);
    ligne1->addWidget(etiquette("Forme :", EdForme, panneau));
    ligne1->addWidget(EdForme, 2);
    ligne1->addWidget(ChkExpRep);
    ligne1->addWidget(etiquette("Tri :", ComboTri, panneau));
    ligne1->addWidget(ComboTri);
    ligne1->addWidget(etiquette("Type :", CbTypeDocu, panneau));
    ligne1->addWidget(CbTypeDocu);
    auto *ligne2 = new QHBoxLayout;
    ligne2->addWidget(etiquette("Groupe :", ComboGrp, panneau));
    ligne2->addWidget(ComboGrp, 1);
    ligne2->addWidget(etiquette("Contexte :", SpinLgCont, panneau));
    ligne2->addWidget(SpinLgCont);
    ligne2->addWidget(etiquette("Délimiteurs :", EdDelims, panneau));
    ligne2->addWidget(EdDelims, 1);
    ligne2->addWidget(BtnRecycle);
    auto *dispoPanneau = new QVBoxLayout(panneau);
    dispoPanneau->setContentsMargins(4, 2, 4, 2);
    dispoPanneau->setSpacing(2);
    dispoPanneau->addLayout(ligne1);
    dispoPanneau->addLayout(ligne2);

    // Pages of a large concordance.
    BarrePages = new BarreParties(Traduit("Page"), Traduit("Page précédente"), Traduit("Page suivante"), this);
    BarrePages->setObjectName(QStringLiteral("BarrePages"));
    BarrePages->hide();

    ConcorEditHTML = new VueHtml(this);
    ConcorEditHTML->setObjectName(QStringLiteral("ConcorEditHTML"));
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setSizeGripEnabled(false);

    auto *disposition = new QVBoxLayout(this);
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->setSpacing(0);
    disposition->addWidget(panneau);
    disposition->addWidget(BarrePages);
    disposition->addWidget(ConcorEditHTML, 1);
    disposition->addWidget(StatusBar);

    TraduitComposants(this);
    ApplyCharsetToEdit(EdForme);
    ApplyCharsetToEdit(EdDelims);
    BtnPrec->setEnabled(false);
    BtnSuiv->setEnabled(false);
    setAcceptDrops(true);
    ComboGrpChargePart();
    setFocusProxy(EdForme);

    pageFichier_ = std::make_unique<PageTemporaire>(QStringLiteral("t3ch"), QStringLiteral(".html"));
    if (!pageFichier_->Valide())
        Signale(pageFichier_->Erreur());

    connect(EdForme, &QLineEdit::returnPressed, this, &TFenConcor::Recherche);
    connect(BtnPrec, &QToolButton::clicked, this, &TFenConcor::BtnPrecClick);
    connect(BtnSuiv, &QToolButton::clicked, this, &TFenConcor::BtnSuivClick);
    connect(ComboTri, &QComboBox::currentIndexChanged, this, [this](int) { Affiche(); });
    connect(CbTypeDocu, &QComboBox::currentIndexChanged, this, [this](int) { Affiche(); });
    connect(ComboGrp, &QComboBox::activated, this, &TFenConcor::ComboGrpChange);
    connect(BtnRecycle, &QToolButton::clicked, this, &TFenConcor::Affiche);
    connect(BarrePages, &BarreParties::partieDemandee, this, &TFenConcor::MontrePage);
}

TFenConcor::~TFenConcor() = default;

Tgen *TFenConcor::GroupeCourant() const
{
    const EntreeHistorique *e = historique_.EntreeCourante();
    return e ? e->groupe.get() : nullptr;
}

QString TFenConcor::TexteStatut() const
{
    return StatusBar->currentMessage();
}

QString TFenConcor::CheminPage() const
{
    return pageFichier_ ? pageFichier_->Chemin() : QString();
}

void TFenConcor::Signale(const QString &message)
{
    if (message.isEmpty())
        StatusBar->clearMessage();
    else
        StatusBar->showMessage(message);
    StatusBar->repaint();
}

void TFenConcor::Recherche()
{
    const QString texte = EdForme->text();
    bool complet = true;
    const std::string motif = EnCodePage(texte, &complet);
    if (motif.empty())
        return;
    if (!complet) {
        Signale(Traduit("Le texte contient un caractère que le jeu de caractères d'affichage ne connaît pas."));
        return;
    }
    if (!ChkExpRep->isChecked()) {
        const std::int32_t n = motif.find('\0') == std::string::npos ? base_->LocFormDic(motif.c_str(), true) : -1;
        if (n < 0) {
            Signale(Traduit("«\u00A0%1\u00A0» n'est pas dans le dictionnaire.").arg(texte));
            return;
        }
        AjouteHistorique(std::make_shared<Tgen>(base_, &n, 1));
        return;
    }
    Occupation occupation;
    platform::Motif expression(motif, JeuDAffichage().GetCodePage());
    if (!expression.Valide()) {
        Signale(Traduit("Expression rationnelle incorrecte : %1 (position %2).")
                    .arg(QString::fromStdString(expression.MessageErreur()))
                    .arg(expression.PositionErreur()));
        return;
    }
    const Correspondances c = EntitesCorrespondantes(*base_, expression);
    QString avertissement;
    if (c.echecs > 0)
        avertissement = Traduit(c.echecs > 1 ? "%1 textes n'ont pas pu être examinés et ne sont pas retenus : %2."
                                             : "%1 texte n'a pas pu être examiné et n'est pas retenu : %2.")
                            .arg(c.echecs)
                            .arg(QString::fromStdString(c.messageEchec));
    if (c.entites.empty()) {
        Signale(avertissement.isEmpty() ? Traduit("Aucune forme ne correspond à l'expression.") : avertissement);
        return;
    }
    AjouteHistorique(std::make_shared<Tgen>(base_, c.entites.data(), static_cast<std::int32_t>(c.entites.size())));
    if (!avertissement.isEmpty())
        Signale(avertissement);
}

void TFenConcor::AjouteHistorique(std::shared_ptr<Tgen> groupe)
{
    if (!groupe)
        return;
    historique_.Ajoute({std::move(groupe), ComboTri->currentIndex()});
    ActualiseBoutons();
    Affiche();
}

void TFenConcor::ActualiseBoutons()
{
    BtnPrec->setEnabled(historique_.PeutReculer());
    BtnSuiv->setEnabled(historique_.PeutAvancer());
}

void TFenConcor::BtnPrecClick()
{
    if (historique_.Recule())
        AllerHistorique(historique_.Courant());
    ActualiseBoutons();
}

void TFenConcor::BtnSuivClick()
{
    if (historique_.Avance())
        AllerHistorique(historique_.Courant());
    ActualiseBoutons();
}

void TFenConcor::AllerHistorique(int index)
{
    if (index < 0 || index >= historique_.Taille())
        return;
    {
        const QSignalBlocker bloque(ComboTri);
        ComboTri->setCurrentIndex(historique_.Entree(index).tri);
    }
    Affiche();
}

int TFenConcor::SensTri() const
{
    switch (ComboTri->currentIndex()) {
    case 1:
        return -1;
    case 2:
        return 1;
    default:
        return 0;
    }
}

Entete TFenConcor::EnteteCourante(bool avecEntete) const
{
    const ConfigurationDeFonte jeu = JeuDAffichage();
    Entete e;
    e.charset = jeu.GetHtmlCharset();
    e.direction = jeu.GetDirection();
    const Tgen *g = GroupeCourant();
    e.couleur = g ? CouleurHtml(static_cast<std::uint32_t>(g->Couleur())) : "#000000";
    e.avecEntete = avecEntete;
    if (avecEntete) {
        e.titreFenetre = EnCodePageTexteHtml(windowTitle());
        e.nomBase = base_->NomBase();
        e.date = DateDePage(QDateTime::currentDateTime());
        const Partition *p = concordance_ && !inventaireAffiche_ ? concordance_->Groupement() : nullptr;
        if (p && p->NomPartition())
            e.partition = p->NomPartition();
    }
    return e;
}

bool TFenConcor::EcritPage(const std::string &page)
{
    if (!pageFichier_ || !pageFichier_->Valide())
        return false;
    // The file made for this window at its creation, replaced once the new page is whole.
    talmer::EchecEcriture echec;
    if (!talmer::EcritFichierSur(pageFichier_->Chemin(), QByteArray(page.data(), static_cast<qsizetype>(page.size())),
                                 &echec)) {
        Signale(MessageEcriture(echec));
        return false;
    }
    return ConcorEditHTML->Affiche(pageFichier_->Chemin());
}

void TFenConcor::Affiche()
{
    Tgen *g = GroupeCourant();
    if (!g)
        return;
    if (g->NbOcc() == 0) {
        concordance_.reset();
        inventaire_.clear();
        nbPages_ = 0;
        BarrePages->hide();
        EcritPage(EnteteHtml(EnteteCourante(false)) + FinHtml());
        Signale(Traduit("Le groupe n'a aucune occurrence."));
        return;
    }
    if (CbTypeDocu->currentIndex() == 0)
        AfficheConcordance();
    else
        AfficheInventaireDistributionnel();
}

void TFenConcor::AfficheConcordance()
{
    Tgen *g = GroupeCourant();
    Occupation occupation;
    longueurAffichee_ = SpinLgCont->value();
    const int sens = SensTri();
    concordance_ = std::make_unique<Concordance>(*base_, g->PositionsTriees());
    if (sens != 0)
        Signale(Traduit("Tri des contextes"));
    concordance_->Trie(sens);
    // A partition of the registry that has gone since it was chosen groups nothing.
    if (partition_ && (!registre_ || registre_->IndexPartition(partition_) < 0))
        partition_ = nullptr;
    concordance_->Regroupe(partition_);
    inventaire_.clear();
    inventaireAffiche_ = false;
    nbPages_ = NbPagesEcran(*concordance_, LignesParPage);
    Signale(QString());
    MontrePage(0);
}

void TFenConcor::MontrePage(int k)
{
    if (!concordance_ || inventaireAffiche_)
        return;
    page_ = std::clamp(k, 0, std::max(nbPages_ - 1, 0));
    const std::string page = PageEcran(*base_, *concordance_, EnteteCourante(false), page_, LignesParPage,
                                       longueurAffichee_, JeuDAffichage().GetCodePage());
    EcritPage(page);
    BarrePages->setVisible(nbPages_ > 1);
    if (nbPages_ > 1) {
        const std::int64_t n = static_cast<std::int64_t>(concordance_->Lignes().size());
        const std::int64_t premier = std::int64_t{page_} * LignesParPage + 1;
        const std::int64_t dernier = std::min<std::int64_t>(premier + LignesParPage - 1, n);
        BarrePages->Actualise(page_, nbPages_, page_ + 1 < nbPages_,
                              Traduit("sur %1 : contextes %2 à %3 sur %4").arg(nbPages_).arg(premier).arg(dernier).arg(n));
    }
}

void TFenConcor::AfficheInventaireDistributionnel()
{
    Tgen *g = GroupeCourant();
    Occupation occupation;
    const std::set<std::int32_t> delimiteurs = DelimiteursInventaire(*base_, EnCodePage(EdDelims->text()));
    Signale(Traduit("Recherche des segments"));
    inventaire_ = InventaireDistributionnel(*base_, g->PositionsTriees(), delimiteurs);
    Signale(Traduit("Préparation de l'affichage"));
    const std::string page = PageInventaire(*base_, inventaire_, EnteteCourante(false), std::string_view());
    concordance_.reset();
    inventaireAffiche_ = true;
    nbPages_ = 1;
    page_ = 0;
    BarrePages->hide();
    Signale(Traduit("Affichage des contextes"));
    EcritPage(page);
    Signale(inventaire_.empty() ? Traduit("Aucun segment répété ne commence par ce groupe.") : QString());
}

void TFenConcor::ComboGrpChargePart()
{
    const QSignalBlocker bloque(ComboGrp);
    Partition *choisie = partition_;
    ComboGrp->clear();
    partitionsOffertes_.clear();
    ComboGrp->addItem(QStringLiteral("<Aucun>"));
    int index = 0;
    if (registre_) {
        for (int i = 0; i < registre_->NbPartitions(); ++i) {
            InfoPartition *info = registre_->EntreePartition(i);
            if (!info || !info->partition || info->base != base_)
                continue;
            partitionsOffertes_.push_back(info->partition);
            const char *nom = info->partition->NomPartition();
            ComboGrp->addItem(EnUnicode(nom ? nom : ""));
            if (info->partition == choisie)
                index = static_cast<int>(partitionsOffertes_.size());
        }
    }
    ComboGrp->setCurrentIndex(index);
    if (index == 0)
        partition_ = nullptr;
}

void TFenConcor::ComboGrpChange(int index)
{
    partition_ = index > 0 && static_cast<std::size_t>(index) <= partitionsOffertes_.size()
                     ? partitionsOffertes_[static_cast<std::size_t>(index) - 1]
                     : nullptr;
    Affiche();
}

void TFenConcor::DeposeForme(std::string_view graphie)
{
    const std::int32_t n = EntiteDeGraphie(*base_, graphie);
    if (n >= 0)
        AjouteHistorique(std::make_shared<Tgen>(base_, &n, 1));
}

void TFenConcor::dragEnterEvent(QDragEnterEvent *event)
{
    if (GroupeAcceptable(event->mimeData(), base_))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TFenConcor::dragMoveEvent(QDragMoveEvent *event)
{
    if (GroupeAcceptable(event->mimeData(), base_))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TFenConcor::dropEvent(QDropEvent *event)
{
    TTgenDragObject *objet = GroupeAcceptable(event->mimeData(), base_);
    if (!objet) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    if (objet->Count() == 0) {
        Signale(Traduit("Le groupe déposé ne contient aucune forme."));
        return;
    }
    Occupation occupation;
    std::unique_ptr<Tgen> groupe = objet->ConstruitGroupe(base_, false);
    if (groupe)
        AjouteHistorique(std::shared_ptr<Tgen>(std::move(groupe)));
}

void TFenConcor::AjouteAuRapport()
{
    Rapport *rapport = RapportCourant();
    Tgen *g = GroupeCourant();
    if (!rapport || !g || (!concordance_ && !inventaireAffiche_))
        return;
    const QString nom = NomElementLibre(*rapport, QStringLiteral("conc"));
    const char *prefixe = inventaireAffiche_ ? "Inventaire distributionnel de : " : "Concordance de : ";
    const QString legende = EchappeTexte(Traduit(prefixe) + EnUnicode(g->Nom()));
    const std::string titre = EnCodePageTexteHtml(Traduit(prefixe)) + EchappeTexte(g->Nom());
    const std::string codePage = JeuDAffichage().GetCodePage();

    std::vector<std::pair<QString, std::string>> fichiers;
    if (inventaireAffiche_) {
        fichiers.emplace_back(nom + QStringLiteral(".html"),
                              PageInventaire(*base_, inventaire_, EnteteCourante(true), titre));
    } else {
        fichiers.emplace_back(nom + QStringLiteral(".html"),
                              PageConcordance(*base_, *concordance_, EnteteCourante(true), titre,
                                              longueurAffichee_, codePage));
        fichiers.emplace_back(nom + QStringLiteral(".xml"),
                              FragmentXml(*base_, *concordance_, longueurAffichee_, codePage));
    }
    QStringList ecrits;
    for (const auto &[fichierNom, contenu] : fichiers) {
        const QString chemin = rapport->DossierTemporaire() + fichierNom;
        talmer::EchecEcriture echec;
        if (!talmer::EcritFichierSur(chemin, QByteArray(contenu.data(), static_cast<qsizetype>(contenu.size())),
                                     &echec)) {
            // The item is added whole or not at all: the page goes with its failed fragment.
            for (const QString &f : ecrits)
                QFile::remove(f);
            LesDialogues().message(this, QStringLiteral("Talmer3"), MessageEcriture(echec), BoutonsMessage::Ok,
                                   IconeMessage::Erreur);
            return;
        }
        ecrits << chemin;
    }
    rapport->AjouteElement(legende, nom, QStringLiteral(" "), GenreElement::Page);
}

} // namespace talmer
