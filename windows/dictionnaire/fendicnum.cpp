#include "windows/dictionnaire/fendicnum.h"

#include "engine/charg1.h"
#include "shell/affichage.h"
#include "shell/dragobjects.h"
#include "shell/mesures.h"
#include "shell/occupation.h"
#include "shell/translation.h"
#include "windows/commun/pastille.h"
#include "windows/dictionnaire/modeledico.h"

#include <QApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace talmer {

void ListeDictionnaire::startDrag(Qt::DropActions)
{
    if (!fabrique_)
        return;
    if (std::unique_ptr<TTgenDragObject> objet = fabrique_())
        LanceGlisser(this, std::move(objet));
}

TFenDicNum::TFenDicNum(charg1 &base, QWidget *parent) : QWidget(parent), base_(base)
{
    setObjectName(QStringLiteral("FenDicNum"));
    setWindowTitle(Traduit("Dictionnaire"));
    setMinimumWidth(LargeurDessinee);
    setFont(PoliceAffichage(font()));

    // Top panel: the colour chip, then the search edit.
    auto *haut = new QWidget(this);
    auto *grille = new QGridLayout(haut);
    grille->setContentsMargins(4, 4, 4, 4);
    auto *lbCouleur = new QLabel(Traduit("Sélectionnez une couleur :"), haut);
    pastille_ = new PastilleCouleur(QColor(0, 0, 255), haut);
    pastille_->setObjectName(QStringLiteral("ShPastille"));
    pastille_->setToolTip(Traduit("Couleur d'affichage des éléments de la liste\r\naprès projection."));
    auto *lbRech = new QLabel(Traduit("Recherche :"), haut);
    edRech_ = new QLineEdit(haut);
    edRech_->setObjectName(QStringLiteral("EdRech"));
    lbRech->setBuddy(edRech_);
    grille->addWidget(lbCouleur, 0, 0);
    grille->addWidget(pastille_, 0, 1, Qt::AlignLeft);
    grille->addWidget(lbRech, 1, 0);
    grille->addWidget(edRech_, 1, 1);
    grille->setColumnStretch(1, 1);

    modele_ = new ModeleDictionnaire(base_, this);
    liste_ = new ListeDictionnaire(this);
    liste_->setObjectName(QStringLiteral("ListeFormes"));
    liste_->setModel(modele_);
    liste_->setSelectionBehavior(QAbstractItemView::SelectRows);
    liste_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    liste_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    liste_->setShowGrid(true);
    liste_->setWordWrap(false);
    liste_->setDragEnabled(true);
    liste_->setDragDropMode(QAbstractItemView::DragOnly);
    liste_->verticalHeader()->hide();
    liste_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    liste_->horizontalHeader()->setSectionsClickable(true);
    liste_->horizontalHeader()->setHighlightSections(false);
    DimensionneGrille(liste_, {175, 65});
    // The selection stays as visible when the list loses the focus.
    QPalette palette = liste_->palette();
    palette.setBrush(QPalette::Inactive, QPalette::Highlight, palette.brush(QPalette::Active, QPalette::Highlight));
    palette.setBrush(QPalette::Inactive, QPalette::HighlightedText,
                     palette.brush(QPalette::Active, QPalette::HighlightedText));
    liste_->setPalette(palette);
    ApplyCharsetToListView(liste_, 0);
    ApplyCharsetToEdit(edRech_);
    liste_->FixeFabriqueObjet([this] { return ObjetAGlisser(); });

    statut_ = new QStatusBar(this);
    statut_->setObjectName(QStringLiteral("StatusBar1"));
    statut_->setSizeGripEnabled(false);
    statut_->showMessage(QString::number(modele_->rowCount()) + Traduit(" formes"));

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("TimerRech"));
    timer_->setInterval(DelaiRecherche);

    auto *l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    l->addWidget(haut);
    l->addWidget(liste_, 1);
    l->addWidget(statut_);

    connect(liste_->horizontalHeader(), &QHeaderView::sectionClicked, this, &TFenDicNum::ColonneCliquee);
    connect(edRech_, &QLineEdit::textChanged, this, &TFenDicNum::TexteRechercheChange);
    connect(timer_, &QTimer::timeout, this, &TFenDicNum::TimerRechTimer);
    connect(this, &TFenDicNum::rechercheVaine, this, [] { QApplication::beep(); });
    edRech_->installEventFilter(this);
    resize(sizeHint());
}

TFenDicNum::~TFenDicNum() = default;

QSize TFenDicNum::sizeHint() const
{
    // The designed size, as wide as the list's columns need.
    return {std::max(LargeurDessinee, LargeurGrille(*liste_)), HauteurDessinee};
}

std::unique_ptr<TTgenDragObject> TFenDicNum::ObjetAGlisser() const
{
    std::vector<int> lignes;
    for (const QModelIndex &i : liste_->selectionModel()->selectedRows())
        lignes.push_back(i.row());
    if (lignes.empty())
        return nullptr;
    std::sort(lignes.begin(), lignes.end());
    auto objet = std::make_unique<TTgenDragObject>(liste_, &base_, std::string(), pastille_->CouleurBgr(),
                                                   static_cast<std::int32_t>(lignes.size()));
    for (std::size_t k = 0; k < lignes.size(); ++k)
        objet->Entites()[k] = modele_->Ordre().Entite(lignes[k]);
    return objet;
}

void TFenDicNum::ColonneCliquee(int colonne)
{
    derniere_ = -1;
    std::int32_t retenue = -1;
    const QModelIndexList choisies = liste_->selectionModel()->selectedRows();
    if (!choisies.isEmpty()) {
        int premiere = choisies.front().row();
        for (const QModelIndex &i : choisies)
            premiere = std::min(premiere, i.row());
        retenue = modele_->Ordre().Entite(premiere);
    }
    if (colonne == 0) {
        liste_->clearSelection();
        modele_->FixeAlphabetique(!modele_->Ordre().Alphabetique());
    }
    if (retenue >= 0)
        SelectionneLigne(modele_->Ordre().Ligne(retenue));
}

void TFenDicNum::SelectionneLigne(std::int32_t ligne)
{
    const QModelIndex index = modele_->index(ligne, 0);
    if (!index.isValid())
        return;
    liste_->clearSelection();
    liste_->scrollTo(index);
    liste_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TFenDicNum::TexteRechercheChange()
{
    timer_->stop();
    derniere_ = -1;
    timer_->start();
}

void TFenDicNum::TimerRechTimer()
{
    timer_->stop();
    Recherche();
}

bool TFenDicNum::Recherche()
{
    if (edRech_->text().isEmpty())
        return false;
    Occupation occupation;
    const std::int32_t ligne = modele_->Ordre().Cherche(EnCodePage(edRech_->text()), derniere_);
    if (ligne < 0)
        return false;
    derniere_ = ligne;
    SelectionneLigne(ligne);
    return true;
}

bool TFenDicNum::eventFilter(QObject *objet, QEvent *event)
{
    if (objet == edRech_ && event->type() == QEvent::KeyPress) {
        const int touche = static_cast<QKeyEvent *>(event)->key();
        const bool entree = touche == Qt::Key_Return || touche == Qt::Key_Enter;
        if (entree || touche == Qt::Key_F3) {
            timer_->stop();
            if (entree)
                derniere_ = -1;
            if (!Recherche())
                emit rechercheVaine();
            return true;
        }
    }
    return QWidget::eventFilter(objet, event);
}

} // namespace talmer
