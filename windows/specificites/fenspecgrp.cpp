#include "windows/specificites/fenspecgrp.h"

#include "windows/commun/choixcouleur.h"
#include "windows/specificites/pages_statpart.h"
#include "windows/specificites/textes_coef.h"

#include "engine/charg1.h"
#include "engine/partition.h"

#include "services/affichage.h"
#include "services/dialogues.h"
#include "services/jeu_affichage.h"
#include "services/mesures.h"
#include "services/rapport.h"
#include "services/translation.h"
#include "services/utilitaires.h"
#include "shell/dragobjects.h"
#include "shell/fenprinc.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace talmer {

namespace {

int compteurPages = 0;

constexpr std::int32_t Bleu = 0x00FF0000;
constexpr std::int32_t Noir = 0x00000000;

} // namespace

// --- Model --------------------------------------------------------------------------------------

ModeleSpecGrp::ModeleSpecGrp(const charg1 *base, std::vector<StructSpec> lignes, QObject *parent)
    : QAbstractTableModel(parent), base_(base), lignes_(std::move(lignes))
{
}

void ModeleSpecGrp::FixeOrdre(bool positifsDAbord)
{
    if (positifsDAbord == positifs_)
        return;
    emit layoutAboutToBeChanged();
    positifs_ = positifsDAbord;
    emit layoutChanged();
}

const StructSpec &ModeleSpecGrp::LigneAffichee(int i) const
{
    const int n = static_cast<int>(lignes_.size());
    return lignes_[static_cast<std::size_t>(positifs_ ? i : n - 1 - i)];
}

int ModeleSpecGrp::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(lignes_.size());
}

int ModeleSpecGrp::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant ModeleSpecGrp::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(lignes_.size()))
        return {};
    const StructSpec &l = LigneAffichee(index.row());
    if (role == RoleEntite)
        return l.Entite;
    if (role == Qt::TextAlignmentRole && index.column() > 0)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0:
        return base_ ? EnUnicode(base_->RetourneGraphie(l.Entite, false)) : QString();
    case 1:
        return QString::number(l.F);
    case 2:
        return QString::number(l.f);
    case 3:
        return QString::fromLatin1(TexteCoefListe(l.Coef).c_str());
    default:
        return {};
    }
}

QVariant ModeleSpecGrp::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == RoleTexteLibre)
        return section == 0; // the terms: forms and repeated segments
    if (role == RoleValeursLarges && section > 0) {
        // The highest frequencies, and the coefficients at both ends of the list (it is sorted).
        if (lignes_.empty())
            return QVariantList{};
        if (section == 3) {
            const std::int32_t haut = lignes_.front().Coef, bas = lignes_.back().Coef;
            QVariantList textes;
            for (std::int32_t c : {haut, bas, std::min(haut, 49), std::max(bas, -49)})
                textes.push_back(QString::fromLatin1(TexteCoefListe(c).c_str()));
            return textes;
        }
        std::int32_t plusHaute = 0;
        for (const StructSpec &l : lignes_)
            plusHaute = std::max(plusHaute, section == 1 ? l.F : l.f);
        return QVariantList{QString::number(plusHaute)};
    }
    if (role == Qt::TextAlignmentRole && section > 0)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    static const char *const entetes[4] = {"Terme", "Frq Tot.", "Frq Partie", "Spécif"};
    return section >= 0 && section < 4 ? Traduit(entetes[section]) : QVariant();
}

Qt::ItemFlags ModeleSpecGrp::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

// --- Page ---------------------------------------------------------------------------------------

std::string PageSpecGrp(const DonneesPageSpecGrp &d)
{
    const std::string &titre = d.titre;
    std::string s = "<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=" + d.charset +
                    "\" /><title>" + titre + "</title></head>\n<body bgcolor=#ffffff>\n";
    s += "<table width=100% align=\"center\" border=\"1\"><td>Corpus : " + EchappeTexte(d.nomBase) + "</TD>\n";
    s += "<td>Date : " + d.date + "</td>\n";
    if (d.partition)
        s += "<td>Partition = " + EchappeTexte(d.cle) + "</TD>\n";
    s += "</table>";
    s += titre + "<br>\n" + d.parties + "<br>\n<table border=1><font size=-2>\n";
    s += "<tr><td>Forme<td>Frq. Tot.<td>" + EnCodePageHtml(QStringLiteral("Fréquence")) + "<td>Coeff.";
    for (const DonneesPageSpecGrp::Ligne &l : d.lignes) {
        s += "<tr><td>" + EchappeTexte(l.graphie) + "<td align=right>" + std::to_string(l.F) +
             "<td align=right>" + std::to_string(l.f) + "<td align=right>" + TexteCoefPageListe(l.coef) + "\n";
    }
    s += "</font></table>\n</body>\n</html>";
    return s;
}

std::int32_t CouleurPastille(const Partition *partition)
{
    if (partition == nullptr)
        return Noir;
    bool premiere = true;
    std::int32_t couleur = Bleu;
    for (std::int32_t k = 0; k < partition->NbParties(); ++k) {
        if (!partition->EstSelectionnee(k))
            continue;
        if (premiere) {
            couleur = partition->Couleur(k);
            premiere = false;
        } else if (partition->Couleur(k) != couleur) {
            return Bleu;
        }
    }
    return couleur;
}

// --- View ---------------------------------------------------------------------------------------

VueListeSpecifs::VueListeSpecifs(QWidget *parent) : ListeGroupe(parent)
{
    setWordWrap(false);
    FixeFabriqueGroupe([this] { return ObjetGlisse(base, couleur); });
}

std::vector<std::int32_t> VueListeSpecifs::EntitesSelectionnees() const
{
    std::vector<int> rangs;
    if (selectionModel() != nullptr)
        for (const QModelIndex &i : selectionModel()->selectedRows())
            rangs.push_back(i.row());
    std::sort(rangs.begin(), rangs.end());
    std::vector<std::int32_t> entites;
    for (int r : rangs)
        entites.push_back(model()->index(r, 0).data(ModeleSpecGrp::RoleEntite).toInt());
    return entites;
}

std::unique_ptr<TTgenDragObject> VueListeSpecifs::ObjetGlisse(charg1 *b, std::int32_t c)
{
    const std::vector<std::int32_t> entites = EntitesSelectionnees();
    if (entites.empty() || b == nullptr)
        return nullptr;
    auto objet = std::make_unique<TTgenDragObject>(this, b, std::string(), c, static_cast<std::int32_t>(entites.size()));
    objet->Entites() = entites;
    return objet;
}

// --- Window -------------------------------------------------------------------------------------

TFenSpecGrp::TFenSpecGrp(QWidget *owner, std::unique_ptr<PrimSpec> calcul)
    : QWidget(owner), calcul_(std::move(calcul))
{
    partition_ = calcul_ ? calcul_->PartitionSource() : nullptr;
    base_ = partition_ ? partition_->Base() : nullptr;
    pastille_ = CouleurDeValeur(CouleurPastille(partition_));
    Construit(calcul_ ? calcul_->Liste() : std::vector<StructSpec>());
    setWindowTitle(Traduit("Spécifs - Part : ") + EnUnicode(partition_ ? partition_->NomPartition() : ""));
}

TFenSpecGrp::TFenSpecGrp(QWidget *owner, charg1 *base, std::vector<StructSpec> lignes)
    : QWidget(owner), base_(base)
{
    pastille_ = CouleurDeValeur(CouleurPastille(nullptr));
    Construit(lignes);
    setWindowTitle(Traduit("Spécifs - Sections"));
}

TFenSpecGrp::~TFenSpecGrp() = default;

int TFenSpecGrp::CompteurPages()
{
    return compteurPages;
}

void TFenSpecGrp::Construit(const std::vector<StructSpec> &lignes)
{
    setObjectName(QStringLiteral("FenSpecGrp"));
    setWindowFlags(windowFlags() | Qt::Tool | Qt::WindowStaysOnTopHint);
    setMinimumWidth(150);

    auto *haut = new QWidget(this);
    haut->setFixedHeight(53);
    lbCorpRef_ = new LibelleElude(haut);
    lbCorpRef_->setObjectName(QStringLiteral("LbCorpRef"));
    lbParties_ = new LibelleElude(haut);
    lbParties_->setObjectName(QStringLiteral("LbParties"));
    auto *lbSigne = new QLabel(QStringLiteral("Spécificités"), haut);
    radio1_ = new QRadioButton(QStringLiteral("positives"), haut);
    radio1_->setObjectName(QStringLiteral("RadioButton1"));
    radio1_->setToolTip(QStringLiteral("Afficher les spécificités positives en premier"));
    radio1_->setChecked(true);
    radio2_ = new QRadioButton(QStringLiteral("négatives"), haut);
    radio2_->setObjectName(QStringLiteral("RadioButton2"));
    radio2_->setToolTip(QStringLiteral("Afficher les spécificités négatives en premier"));
    btnAddRap_ = new QToolButton(haut);
    btnAddRap_->setObjectName(QStringLiteral("BtnSpfAddRap"));
    btnAddRap_->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    btnAddRap_->setToolTip(QStringLiteral("Ajouter au rapport"));
    shPastille_ = new QWidget(haut);
    shPastille_->setObjectName(QStringLiteral("ShPastille"));
    shPastille_->setFixedSize(24, 25);
    shPastille_->setAutoFillBackground(true);
    shPastille_->setToolTip(QStringLiteral("Couleur du groupe de formes que l'on fait glisser de la liste ; "
                                           "cliquer pour la changer"));
    shPastille_->installEventFilter(this);

    // The button and the chip beside the two labels, which give way to them (elided), so that
    // the row of "Spécificités" and its two choices holds in the side panel's width.
    const int espace = std::max(6, style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, this));
    auto *libelles = new QVBoxLayout;
    libelles->setContentsMargins(0, 0, 0, 0);
    libelles->setSpacing(0);
    libelles->addWidget(lbCorpRef_);
    libelles->addWidget(lbParties_);
    auto *dessus = new QHBoxLayout;
    dessus->setContentsMargins(0, 0, 0, 0);
    dessus->setSpacing(espace);
    dessus->addLayout(libelles, 1);
    dessus->addWidget(btnAddRap_, 0, Qt::AlignTop);
    dessus->addWidget(shPastille_, 0, Qt::AlignTop);
    auto *signes = new QHBoxLayout;
    signes->setContentsMargins(0, 0, 0, 0);
    signes->setSpacing(espace);
    signes->addWidget(lbSigne);
    signes->addWidget(radio1_);
    signes->addWidget(radio2_);
    signes->addStretch(1);
    auto *colonne = new QVBoxLayout(haut);
    colonne->setContentsMargins(4, 2, 4, 2);
    colonne->setSpacing(0);
    colonne->addLayout(dessus);
    colonne->addLayout(signes);

    modele_ = new ModeleSpecGrp(base_, lignes, this);
    liste_ = new VueListeSpecifs(this);
    liste_->setObjectName(QStringLiteral("ListeSpecifs"));
    liste_->setModel(modele_);
    liste_->base = base_;
    DimensionneGrille(liste_, {100, 58, 58, 58}, 18);
    liste_->setStyleSheet(QStringLiteral("QTableView { background: white; }"));
    ApplyCharsetToListView(liste_, -1);
    liste_->couleur = ValeurCouleur(pastille_);

    auto *tout = new QVBoxLayout(this);
    tout->setContentsMargins(0, 0, 0, 0);
    tout->setSpacing(0);
    tout->addWidget(haut);
    tout->addWidget(liste_, 1);

    FixePastille(pastille_);
    connect(radio1_, &QRadioButton::toggled, this, [this] { RadioButtonsClick(); });
    connect(btnAddRap_, &QToolButton::clicked, this, [this] { AjouteAuRapport(); });
    TraduitComposants(this);
    resize(sizeHint());
}

QSize TFenSpecGrp::sizeHint() const
{
    // The designed size, as wide as the list's columns need.
    return {std::max(LargeurDessinee, LargeurGrille(*liste_)), HauteurDessinee};
}

void TFenSpecGrp::FixeLibelles(const QString &corpRef, const QString &parties)
{
    corpRef_ = corpRef;
    parties_ = parties;
    lbCorpRef_->setText(corpRef);
    lbParties_->setText(parties);
}

void TFenSpecGrp::FixeBulleLibelles(const QString &bulle)
{
    lbCorpRef_->setToolTip(bulle);
    lbParties_->setToolTip(bulle);
}

void TFenSpecGrp::Affiche()
{
    if (TFenPrinc *principale = FenetrePrincipale()) {
        setWindowFlags(Qt::Widget);
        principale->AjoutePageLaterale(this, windowTitle(), GenrePage::Fermable);
        show();
        return;
    }
    show();
}

void TFenSpecGrp::RadioButtonsClick()
{
    modele_->FixeOrdre(radio1_->isChecked());
}

void TFenSpecGrp::FixePastille(const QColor &couleur)
{
    pastille_ = couleur;
    QPalette p = shPastille_->palette();
    p.setColor(QPalette::Window, couleur);
    shPastille_->setPalette(p);
    liste_->couleur = ValeurCouleur(couleur);
}

void TFenSpecGrp::ShPastilleClick()
{
    if (const std::optional<QColor> c = ChoisitCouleur(this, pastille_))
        FixePastille(*c);
}

bool TFenSpecGrp::eventFilter(QObject *objet, QEvent *event)
{
    if (objet == shPastille_) {
        if (event->type() == QEvent::MouseButtonPress) {
            pastillePressee_ = true;
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            if (pastillePressee_) {
                pastillePressee_ = false;
                ShPastilleClick();
            }
            return true;
        }
    }
    return QWidget::eventFilter(objet, event);
}

std::string TFenSpecGrp::Page() const
{
    DonneesPageSpecGrp d;
    d.charset = JeuDAffichage().GetHtmlCharset();
    d.titre = EnCodePageTexteHtml(windowTitle());
    d.parties = EnCodePageTexteHtml(parties_);
    d.nomBase = base_ ? base_->NomBase() : "";
    const QLocale locale;
    const QDateTime maintenant = QDateTime::currentDateTime();
    d.date = EnCodePageTexteHtml(locale.toString(maintenant.date(), QLocale::LongFormat) + QStringLiteral(" - ") +
                                 maintenant.time().toString(QStringLiteral("hh:mm")));
    d.partition = partition_ != nullptr;
    if (partition_)
        d.cle = partition_->NomPartition();
    for (const StructSpec &l : modele_->Lignes())
        d.lignes.push_back({base_ ? base_->RetourneGraphie(l.Entite, false) : "", l.F, l.f, l.Coef});
    return PageSpecGrp(d);
}

void TFenSpecGrp::AjouteAuRapport()
{
    Rapport *rapport = RapportCourant();
    if (rapport == nullptr)
        return;
    const int n = compteurPages;
    const QString nom = QStringLiteral("spf") + QString::number(n);
    QString erreur;
    if (!rapport->DossierTemporaireValide())
        erreur = Traduit("Le dossier temporaire du rapport n'existe pas.");
    else
        EcritFichierRapport(rapport->DossierTemporaire() + nom + QStringLiteral(".html"), Page(), &erreur);
    if (!erreur.isEmpty()) {
        LesDialogues().message(this, QStringLiteral("Talmer3"), erreur, BoutonsMessage::Ok, IconeMessage::Erreur);
        return;
    }
    rapport->AjouteElement(EchappeTexte(windowTitle() + QStringLiteral(" ") + parties_) + QStringLiteral("(") +
                               QString::number(n + 1) + QStringLiteral(")"),
                           nom, QStringLiteral(" "), GenreElement::Page);
    compteurPages = n + 1;
}

} // namespace talmer
