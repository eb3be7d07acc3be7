#include "services/dialogues.h"

#include "services/lanceur.h"
#include "services/translation.h"

#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <utility>
#include <vector>

Dialogues::~Dialogues() = default;

ReponseMessage DialoguesBureau::message(QWidget *parent, const QString &titre, const QString &texte,
                                        BoutonsMessage boutons, IconeMessage icone)
{
    QMessageBox boite(parent);
    boite.setWindowTitle(titre);
    boite.setText(texte);
    // A path or a name in the text can be copied from the box.
    boite.setTextInteractionFlags(Qt::TextSelectableByMouse);
    switch (icone) {
    case IconeMessage::Aucune: boite.setIcon(QMessageBox::NoIcon); break;
    case IconeMessage::Information: boite.setIcon(QMessageBox::Information); break;
    case IconeMessage::Exclamation: boite.setIcon(QMessageBox::Warning); break;
    case IconeMessage::Erreur: boite.setIcon(QMessageBox::Critical); break;
    }
    if (boutons == BoutonsMessage::OuiNonAnnuler) {
        boite.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        boite.setDefaultButton(QMessageBox::Yes);
        boite.setEscapeButton(QMessageBox::Cancel);
    } else if (boutons == BoutonsMessage::OuiNon) {
        boite.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        boite.setDefaultButton(QMessageBox::No);
        boite.setEscapeButton(QMessageBox::No);
    } else {
        boite.setStandardButtons(QMessageBox::Ok);
    }
    if (boutons != BoutonsMessage::Ok) {
        boite.button(QMessageBox::Yes)->setText(Traduit("&Oui"));
        boite.button(QMessageBox::No)->setText(Traduit("&Non"));
    }
    if (boutons == BoutonsMessage::OuiNonAnnuler)
        boite.button(QMessageBox::Cancel)->setText(Traduit("Annuler"));
    switch (boite.exec()) {
    case QMessageBox::Yes: return ReponseMessage::Oui;
    case QMessageBox::No: return ReponseMessage::Non;
    case QMessageBox::Cancel: return ReponseMessage::Annuler;
    default:
        return boutons == BoutonsMessage::OuiNonAnnuler ? ReponseMessage::Annuler
               : boutons == BoutonsMessage::OuiNon      ? ReponseMessage::Non
                                                        : ReponseMessage::Ok;
    }
}

QString DialoguesBureau::choisitFichierBase(QWidget *parent)
{
    return QFileDialog::getOpenFileName(parent, Traduit("Ouverture d'une base Talmer"),
                                        QDir::currentPath(),
                                        Traduit("Fichiers paramètres (*.par)"));
}

QString DialoguesBureau::choisitTexte(QWidget *parent)
{
    return QFileDialog::getOpenFileName(
        parent, Traduit("Nouvelle base (segmentation)"), QDir::currentPath(),
        Traduit("Documents textes et word (*.txt *.doc);;Documents Word (*.doc);;"
                    "Fichiers Texte (*.txt)"));
}

QString DialoguesBureau::choisitDossier(QWidget *parent, const QString &texte)
{
    std::unique_ptr<QFileDialog> dialogue = DialogueDossier(parent, texte);
    if (dialogue->exec() != QDialog::Accepted)
        return QString();
    return dialogue->selectedFiles().value(0);
}

std::unique_ptr<QFileDialog> DialogueDossier(QWidget *parent, const QString &texte)
{
    auto dialogue = std::make_unique<QFileDialog>(parent, texte.section(QLatin1Char('\n'), 0, 0),
                                                  QDir::currentPath());
    // Qt's own dialog, so that the text can stand in it.
    dialogue->setOption(QFileDialog::DontUseNativeDialog, true);
    dialogue->setOption(QFileDialog::ShowDirsOnly, true);
    dialogue->setFileMode(QFileDialog::Directory);
    dialogue->setAcceptMode(QFileDialog::AcceptOpen);
    auto *etiquette = new QLabel(texte, dialogue.get());
    etiquette->setObjectName(QStringLiteral("texteDossier"));
    etiquette->setWordWrap(true);
    if (auto *grille = qobject_cast<QGridLayout *>(dialogue->layout())) {
        // Every item moves one row down, and the text takes the first row.
        struct Place {
            QLayoutItem *item;
            int ligne, colonne, lignes, colonnes;
        };
        std::vector<Place> places;
        while (grille->count() > 0) {
            Place p{};
            grille->getItemPosition(0, &p.ligne, &p.colonne, &p.lignes, &p.colonnes);
            p.item = grille->takeAt(0);
            places.push_back(p);
        }
        grille->addWidget(etiquette, 0, 0, 1, -1);
        for (const Place &p : places)
            grille->addItem(p.item, p.ligne + 1, p.colonne, p.lignes, p.colonnes);
    } else if (dialogue->layout()) {
        dialogue->layout()->addWidget(etiquette);
    }
    return dialogue;
}

void ElargitColonnes(QFileDialog &dialogue)
{
    const QScreen *ecran = dialogue.screen();
    // A very long file name does not stretch its column beyond a third of the screen.
    const int plafond = ecran ? ecran->availableGeometry().width() / 3 : 600;
    for (QTreeView *vue : dialogue.findChildren<QTreeView *>()) {
        QHeaderView *entete = vue->header();
        const QAbstractItemView *liste = vue; // where the rows' width hint is public
        for (int i = 0; i < entete->count(); ++i) {
            const int voulu = std::max(entete->sectionSizeHint(i), std::min(liste->sizeHintForColumn(i), plafond));
            if (entete->sectionSize(i) < voulu)
                entete->resizeSection(i, voulu);
        }
        // The dialog widens so that every column shows whole, within the screen.
        const int manque = entete->length() - vue->viewport()->width();
        if (manque > 0 && vue->isVisible()) {
            int largeur = dialogue.width() + manque + 4;
            if (ecran)
                largeur = qMin(largeur, ecran->availableGeometry().width());
            dialogue.resize(largeur, dialogue.height());
        }
    }
}

namespace {

// The list of a file dialog fills in after it is shown (names first, then sizes and types): its
// columns widen once it has settled.
void SuitContenu(QFileDialog &dialogue)
{
    const char *const suivi = "_talmer_colonnes_suivies";
    if (dialogue.property(suivi).toBool())
        return;
    auto *modele = dialogue.findChild<QFileSystemModel *>();
    if (!modele)
        return;
    dialogue.setProperty(suivi, true);
    auto *attente = new QTimer(&dialogue);
    attente->setSingleShot(true);
    attente->setInterval(100);
    QObject::connect(attente, &QTimer::timeout, &dialogue, [&dialogue] { ElargitColonnes(dialogue); });
    auto relance = [attente] { attente->start(); };
    QObject::connect(modele, &QFileSystemModel::directoryLoaded, attente, relance);
    QObject::connect(modele, &QAbstractItemModel::rowsInserted, attente, relance);
    QObject::connect(modele, &QAbstractItemModel::dataChanged, attente, relance);
}

} // namespace

bool ColonnesDialoguesFichier::eventFilter(QObject *objet, QEvent *event)
{
    if (event->type() == QEvent::Show)
        if (auto *dialogue = qobject_cast<QFileDialog *>(objet)) {
            ElargitColonnes(*dialogue);
            SuitContenu(*dialogue);
        }
    return false;
}

int DialoguesBureau::execute(QDialog &dialogue)
{
    return dialogue.exec();
}

void DialoguesBureau::ouvreDocument(const QString &chemin, std::function<void(bool)> resultat)
{
    LanceDocument(QStringLiteral("xdg-open"), chemin, std::move(resultat));
}

void OuvreDocumentOuDit(QWidget *parent, const QString &chemin, const QString &echec, const QString &absent)
{
    QPointer<QWidget> fenetre(parent);
    const auto dit = [fenetre, chemin](const QString &texte) {
        LesDialogues().message(fenetre.data(), QStringLiteral("Talmer3"), texte.arg(QDir::toNativeSeparators(chemin)),
                               BoutonsMessage::Ok, IconeMessage::Exclamation);
    };
    if (!QFileInfo(chemin).isFile()) {
        dit(absent);
        return;
    }
    LesDialogues().ouvreDocument(chemin, [dit, echec](bool ouvert) {
        if (!ouvert)
            dit(echec);
    });
}

namespace {
DialoguesBureau dialoguesBureau;
Dialogues *dialoguesInstalles = nullptr;
} // namespace

Dialogues &LesDialogues()
{
    return dialoguesInstalles ? *dialoguesInstalles : dialoguesBureau;
}

void FixeDialogues(Dialogues *dialogues)
{
    dialoguesInstalles = dialogues;
}
