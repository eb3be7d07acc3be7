#include "shell/fencreercorpus.h"

#include "platform/qt/codepage.h"
#include "platform/qt/documentword.h"
#include "services/affichage.h"
#include "services/dialogues.h"
#include "services/mesures.h"
#include "services/translation.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

namespace talmer {

namespace {

const char *const FiltreSources = "Documents textes et word (*.txt *.doc);;Documents Word (*.doc);;"
                                  "Fichiers Texte (*.txt)";
const char *const FiltreCorpus = "Fichiers texte (*.txt)";

bool LitWord(const QString &chemin, std::vector<std::string> &paragraphes, QString &erreur)
{
    platform::LectureWord8 r =
        platform::LitParagraphesWord(chemin, [](const QString &s) { return EnCodePage(s); });
    if (!r.ok) {
        erreur = r.erreur;
        return false;
    }
    paragraphes = std::move(r.paragraphes);
    return true;
}

// While the corpus is written: the hourglass, and the window kept painted.
class Sablier {
public:
    Sablier() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Sablier() { QApplication::restoreOverrideCursor(); }
    Sablier(const Sablier &) = delete;
    Sablier &operator=(const Sablier &) = delete;
};

} // namespace

ModeleFichiers::ModeleFichiers(const CreationCorpus &creation, QObject *parent)
    : QAbstractTableModel(parent), creation_(creation)
{
}

int ModeleFichiers::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(creation_.Fichiers().size());
}

int ModeleFichiers::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : 4; }

QString ModeleFichiers::TexteType(std::int32_t type)
{
    switch (type) {
    case FicTexte:
        return Traduit("Texte");
    case FicWord:
        return Traduit("Doc. Word");
    default:
        return Traduit("Inconnu");
    }
}

QVariant ModeleFichiers::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount())
        return {};
    const Fic &f = creation_.Fichiers()[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case 0:
            return EnUnicode(f.nom);
        case 1:
            return f.chemin;
        case 2:
            return TexteType(f.type);
        case 3:
            return QString::number(f.taille);
        default:
            return {};
        }
    }
    if (role == Qt::DecorationRole && index.column() == 0) {
        const QStyle *style = QApplication::style();
        switch (f.type) {
        case FicTexte:
            return style->standardIcon(QStyle::SP_FileIcon);
        case FicWord:
            return style->standardIcon(QStyle::SP_FileDialogContentsView);
        default:
            return style->standardIcon(QStyle::SP_MessageBoxQuestion);
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() == 3)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant ModeleFichiers::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == talmer::RoleTexteLibre)
        return section == 0 || section == 1; // names and paths
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case 0:
        return Traduit("Nom");
    case 1:
        return Traduit("Chemin");
    case 2:
        return Traduit("Type");
    case 3:
        return Traduit("Taille");
    default:
        return {};
    }
}

void ModeleFichiers::Actualise()
{
    beginResetModel();
    endResetModel();
}

TFenCreerCorpus::TFenCreerCorpus(QWidget *parent)
    : QDialog(parent),
      creation_(std::make_unique<CreationCorpus>([](const QString &s) { return EnCodePage(s); }, LitWord))
{
    setObjectName(QStringLiteral("FenCreerCorpus"));
    setWindowTitle(QStringLiteral("Création de Corpus"));
    setSizeGripEnabled(true);
    resize(622, 394);

    modele_ = new ModeleFichiers(*creation_, this);
    LVFiles = new QTreeView(this);
    LVFiles->setObjectName(QStringLiteral("LVFiles"));
    LVFiles->setModel(modele_);
    LVFiles->setRootIsDecorated(false);
    LVFiles->setUniformRowHeights(true);
    LVFiles->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LVFiles->setSelectionBehavior(QAbstractItemView::SelectRows);
    LVFiles->setAlternatingRowColors(false);
    LVFiles->setStyleSheet(QStringLiteral("QTreeView::item { border: 1px solid #d0d0d0; }"));
    LVFiles->header()->setStretchLastSection(false);
    DimensionneGrille(LVFiles, {100, 200, 75, 75});
    ApplyCharsetToListView(LVFiles, 0);

    BtnAdd = new QPushButton(QStringLiteral("&Ajouter"), this);
    BtnDel = new QPushButton(QStringLiteral("&Effacer"), this);
    BtnSave = new QPushButton(QStringLiteral("&Sauvegarder"), this);
    BtnAnnuler = new QPushButton(QStringLiteral("&Annuler"), this);
    BtnAdd->setObjectName(QStringLiteral("BtnAdd"));
    BtnDel->setObjectName(QStringLiteral("BtnDel"));
    BtnSave->setObjectName(QStringLiteral("BtnSave"));
    BtnAnnuler->setObjectName(QStringLiteral("BtnAnnuler"));
    BtnSave->setDefault(true);

    auto *lbCle = new QLabel(QStringLiteral("Nom de la clé :"), this);
    EdNomCle = new QLineEdit(QStringLiteral("titre"), this);
    EdNomCle->setObjectName(QStringLiteral("EdNomCle"));
    lbCle->setBuddy(EdNomCle);
    ApplyCharsetToEdit(EdNomCle);

    auto *groupe = new QGroupBox(QStringLiteral(" Options Word "), this);
    ChkTrait = new QCheckBox(QStringLiteral("Traitement des paragraphes :"), groupe);
    ChkTrait->setObjectName(QStringLiteral("ChkTrait"));
    RBCar = new QRadioButton(QStringLiteral("Caractère spécial :"), groupe);
    RBCar->setObjectName(QStringLiteral("RBCar"));
    RBCar->setChecked(true);
    EdCar = new QLineEdit(QStringLiteral("¶"), groupe);
    EdCar->setObjectName(QStringLiteral("EdCar"));
    RBCle = new QRadioButton(QStringLiteral("Clé :"), groupe);
    RBCle->setObjectName(QStringLiteral("RBCle"));
    EdCle = new QLineEdit(QStringLiteral("parag"), groupe);
    EdCle->setObjectName(QStringLiteral("EdCle"));
    ApplyCharsetToEdit(EdCar);
    ApplyCharsetToEdit(EdCle);

    auto *grille = new QGridLayout(groupe);
    grille->addWidget(ChkTrait, 0, 0, 1, 2);
    grille->addWidget(RBCar, 1, 0);
    grille->addWidget(EdCar, 1, 1);
    grille->addWidget(RBCle, 2, 0);
    grille->addWidget(EdCle, 2, 1);

    auto *boutons = new QVBoxLayout;
    boutons->addWidget(BtnAdd);
    boutons->addWidget(BtnDel);
    boutons->addStretch(1);
    boutons->addWidget(BtnSave);
    boutons->addWidget(BtnAnnuler);

    auto *haut = new QHBoxLayout;
    haut->addWidget(LVFiles, 1);
    haut->addLayout(boutons);

    auto *cle = new QHBoxLayout;
    cle->addWidget(lbCle);
    cle->addWidget(EdNomCle);
    cle->addStretch(1);

    auto *principal = new QVBoxLayout(this);
    principal->addLayout(haut, 1);
    principal->addLayout(cle);
    principal->addWidget(groupe);

    connect(BtnAdd, &QPushButton::clicked, this, &TFenCreerCorpus::BtnAddClick);
    connect(BtnDel, &QPushButton::clicked, this, &TFenCreerCorpus::BtnDelClick);
    connect(BtnSave, &QPushButton::clicked, this, &TFenCreerCorpus::BtnSaveClick);
    connect(BtnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
    connect(ChkTrait, &QCheckBox::toggled, this, &TFenCreerCorpus::ChkTraitClick);
    ChkTraitClick();

    TraduitComposants(this);
}

TFenCreerCorpus::~TFenCreerCorpus()
{
    // The list reads the files of creation_ while it is hidden; it must not outlive them.
    LVFiles->setModel(nullptr);
}

QStringList TFenCreerCorpus::ChoisitSources()
{
    return QFileDialog::getOpenFileNames(this, Traduit("Ajouter un ou des fichiers"), QString(),
                                         Traduit(FiltreSources));
}

QString TFenCreerCorpus::ChoisitDestination()
{
    return QFileDialog::getSaveFileName(this, Traduit("Sauvegarder le corpus sous..."), QString(),
                                        Traduit(FiltreCorpus));
}

void TFenCreerCorpus::Signale(const QString &message)
{
    QMessageBox::warning(this, windowTitle(), message);
}

void TFenCreerCorpus::AjouteFichiers(const QStringList &chemins)
{
    for (const QString &c : chemins)
        creation_->Ajoute(c);
    modele_->Actualise();
}

void TFenCreerCorpus::BtnAddClick() { AjouteFichiers(ChoisitSources()); }

void TFenCreerCorpus::BtnDelClick()
{
    const QModelIndexList lignes = LVFiles->selectionModel()->selectedRows();
    std::vector<int> indices;
    for (const QModelIndex &i : lignes)
        indices.push_back(i.row());
    std::sort(indices.rbegin(), indices.rend());
    for (int i : indices)
        creation_->Retire(i);
    modele_->Actualise();
}

void TFenCreerCorpus::ChkTraitClick()
{
    const bool actif = ChkTrait->isChecked();
    RBCar->setEnabled(actif);
    EdCar->setEnabled(actif);
    RBCle->setEnabled(actif);
    EdCle->setEnabled(actif);
}

void TFenCreerCorpus::BtnSaveClick()
{
    if (creation_->Fichiers().empty())
        return;
    const QString unique = creation_->FichierUnique();
    if (!unique.isEmpty()) {
        nomSauve_ = unique;
        accept();
        return;
    }

    bool complet = true;
    const std::string typeCle = EnCodePage(EdNomCle->text().trimmed(), &complet);
    OptionsWord options;
    options.traitement = ChkTrait->isChecked();
    options.parCle = RBCle->isChecked();
    bool completCar = true;
    bool completCle = true;
    options.caractere = EnCodePage(EdCar->text(), &completCar);
    options.cle = EnCodePage(EdCle->text().trimmed(), &completCle);
    const std::string marqueur = MarqueurDeParagraphe(options);

    // Mistakes in the fields are told before a file name is asked for.
    QString raison = CreationCorpus::VerifieTypeCle(typeCle);
    if (raison.isEmpty() && !complet)
        raison = Traduit("Le nom de la clé contient des caractères que le jeu d'affichage ne connaît pas.");
    if (raison.isEmpty() && options.traitement && options.parCle) {
        raison = CreationCorpus::VerifieTypeCle(options.cle);
        if (!raison.isEmpty())
            raison = Traduit("Clé des paragraphes : ") + raison;
    }
    if (raison.isEmpty())
        raison = CreationCorpus::VerifieMarqueur(marqueur);
    if (raison.isEmpty() && options.traitement && !(options.parCle ? completCle : completCar))
        raison = Traduit("Le marqueur de paragraphe contient des caractères que le jeu d'affichage ne "
                         "connaît pas.");
    if (!raison.isEmpty()) {
        Signale(raison);
        return;
    }

    // Sources written in UTF-8 would be read as garbage: the user may have them converted as
    // they are gathered (the sources themselves do not change).
    creation_->FixeConversionUtf8(nullptr);
    const QStringList utf8 = creation_->SourcesUtf8();
    if (!utf8.isEmpty()) {
        QStringList noms;
        for (const QString &chemin : utf8)
            noms << QFileInfo(chemin).fileName();
        const ReponseMessage reponse = LesDialogues().message(
            this, windowTitle(),
            Traduit("Ces fichiers sont écrits en UTF-8, or les textes sont lus dans le jeu de caractères "
                    "d'affichage (page de code %1) : leurs caractères accentués seraient mal lus.\n%2\n"
                    "Voulez-vous les convertir en les réunissant ? Les fichiers eux-mêmes ne changent pas.")
                .arg(QString::fromStdString(CodePageAffichage().Numero()), noms.join(QLatin1Char('\n'))),
            BoutonsMessage::OuiNonAnnuler, IconeMessage::Exclamation);
        if (reponse == ReponseMessage::Oui)
            creation_->FixeConversionUtf8(&CodePageAffichage());
        else if (reponse != ReponseMessage::Non)
            return;
    }

    const QString destination = ChoisitDestination();
    if (destination.isEmpty())
        return;

    QString erreur;
    {
        Sablier sablier;
        creation_->FixeAvancement([this](int, int) {
            // Paint only: no user input reaches the window while the corpus is written.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
        erreur = creation_->Ecrit(destination, typeCle, marqueur);
        creation_->FixeAvancement({});
    }
    creation_->FixeConversionUtf8(nullptr);
    if (!erreur.isEmpty()) {
        Signale(erreur);
        return;
    }
    if (creation_->CaracteresManquants() > 0)
        LesDialogues().message(this, windowTitle(),
                               Traduit("%1 caractère(s) que le jeu de caractères d'affichage ne peut pas "
                                       "représenter ont été remplacés par «\u00A0?\u00A0» dans le corpus.")
                                   .arg(creation_->CaracteresManquants()),
                               BoutonsMessage::Ok, IconeMessage::Information);
    nomSauve_ = destination;
    accept();
}

} // namespace talmer
