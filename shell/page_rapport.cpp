#include "shell/page_rapport.h"

#include "services/dialogues.h"
#include "services/mesures.h"
#include "services/rapport.h"
#include "services/translation.h"
#include "shell/fenmemo.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <functional>

namespace {
// The question asked before unsaved work is replaced or left.
ReponseMessage DemandeSauvegarde(QWidget *fenetre)
{
    return LesDialogues().message(fenetre, QStringLiteral("Talmer3"),
                                  Traduit("Le rapport a été modifié.\nVoulez-vous le sauvegarder ?"),
                                  BoutonsMessage::OuiNonAnnuler, IconeMessage::Aucune);
}

QString EchecEnregistrement(const QString &erreur)
{
    return Traduit("Le rapport n'a pas pu être enregistré.") + QStringLiteral("\n") + erreur;
}
} // namespace

PageRapport::PageRapport(QWidget *fenetre, QWidget *parent) : QWidget(parent), fenetre_(fenetre)
{
    setObjectName(QStringLiteral("PageRapport"));
    auto *disposition = new QVBoxLayout(this);
    disposition->setContentsMargins(2, 2, 2, 2);
    modele_ = new QStandardItemModel(this);
    arbre_ = new QTreeView(this);
    arbre_->setObjectName(QStringLiteral("TreeViewRapport"));
    arbre_->setModel(modele_);
    arbre_->setHeaderHidden(true);
    talmer::DimensionneArbre(arbre_);
    arbre_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    arbre_->installEventFilter(this);
    arbre_->viewport()->installEventFilter(this);
    disposition->addWidget(arbre_);
    connect(modele_, &QStandardItemModel::rowsInserted, this, [this] { MetAJourEtats(); });
    connect(modele_, &QStandardItemModel::dataChanged, this, [this] { MetAJourEtats(); });
}

PageRapport::~PageRapport()
{
    if (rapport_)
        FixeRapportCourant(nullptr);
}

void PageRapport::AjouteBoutons(QAction *nouveau, QAction *enregistre)
{
    auto *boutons = new QHBoxLayout;
    for (QAction *action : {nouveau, enregistre}) {
        auto *bouton = new QToolButton(this);
        bouton->setDefaultAction(action);
        bouton->setObjectName(action->objectName());
        boutons->addWidget(bouton);
    }
    boutons->addStretch();
    static_cast<QVBoxLayout *>(layout())->addLayout(boutons);
}

void PageRapport::Nouveau(charg1 *base)
{
    if (rapport_) {
        FixeRapportCourant(nullptr);
        rapport_.reset();
    }
    base_ = base;
    Rapport::InitArbreRapport(modele_);
    rapport_ = std::make_unique<Rapport>(modele_, base_);
    FixeRapportCourant(rapport_.get());
    arbre_->expandAll();
    emit rapportChange();
}

void PageRapport::Abandonne()
{
    base_ = nullptr;
    if (!rapport_)
        return;
    FixeRapportCourant(nullptr);
    rapport_->Abandonne();
    rapport_.reset();
}

bool PageRapport::GenereParDefaut(QString *erreur)
{
    if (!rapport_)
        return true;
    bool repli = false;
    const QString dossier = Rapport::DossierParDefaut(&repli);
    if (!rapport_->Genere(dossier, erreur))
        return false;
    if (repli)
        LesDialogues().message(fenetre_, QStringLiteral("Talmer3"),
                               Traduit("Le dossier du programme n'est pas accessible en écriture : le rapport "
                                       "a été enregistré dans «\u00A0%1\u00A0».")
                                   .arg(rapport_->Destination()),
                               BoutonsMessage::Ok, IconeMessage::Information);
    return true;
}

bool PageRapport::SauveParDefaut()
{
    QString erreur;
    if (GenereParDefaut(&erreur))
        return true;
    LesDialogues().message(fenetre_, QStringLiteral("Talmer3"), EchecEnregistrement(erreur), BoutonsMessage::Ok,
                           IconeMessage::Erreur);
    return false;
}

bool PageRapport::AccepteRemplacement()
{
    if (!rapport_ || rapport_->EstSauve())
        return true;
    switch (DemandeSauvegarde(fenetre_)) {
    case ReponseMessage::Oui: return SauveParDefaut();
    case ReponseMessage::Non: return true;
    default: return false;
    }
}

bool PageRapport::AccepteFermeture()
{
    if (!rapport_ || rapport_->EstSauve())
        return true;
    switch (DemandeSauvegarde(fenetre_)) {
    case ReponseMessage::Oui: {
        QString erreur;
        if (GenereParDefaut(&erreur))
            return true;
        // The user is told what failed and chooses: quit without the report, or stay.
        if (LesDialogues().message(fenetre_, QStringLiteral("Talmer3"),
                                   EchecEnregistrement(erreur) + QStringLiteral("\n\n") +
                                       Traduit("Quitter sans enregistrer le rapport ?"),
                                   BoutonsMessage::OuiNon, IconeMessage::Exclamation) != ReponseMessage::Oui)
            return false;
        rapport_->Abandonne();
        return true;
    }
    case ReponseMessage::Non:
        rapport_->Abandonne();
        return true;
    default:
        return false;
    }
}

bool PageRapport::Enregistre()
{
    if (!rapport_ || rapport_->NbElements() == 0)
        return false;
    const QString dossier = LesDialogues().choisitDossier(
        fenetre_, Traduit("Répertoire de destination du rapport.\nUn Sous répertoire sera créé."));
    // A cancelled folder choice writes nothing.
    if (dossier.isEmpty())
        return false;
    QString erreur;
    if (!rapport_->Genere(dossier, &erreur)) {
        LesDialogues().message(fenetre_, QStringLiteral("Talmer3"), EchecEnregistrement(erreur), BoutonsMessage::Ok,
                               IconeMessage::Erreur);
        return false;
    }
    return true;
}

void PageRapport::NouveauRapport()
{
    if (!base_)
        return;
    if (rapport_ && !rapport_->EstSauve()) {
        switch (LesDialogues().message(fenetre_, Traduit("Confirmation"),
                                       Traduit("Voulez-vous enregistrer\nle rapport en cours?"),
                                       BoutonsMessage::OuiNonAnnuler, IconeMessage::Aucune)) {
        case ReponseMessage::Oui:
            // A report that was not written is kept.
            if (rapport_->NbElements() > 0 && !Enregistre())
                return;
            break;
        case ReponseMessage::Non:
            rapport_->Abandonne();
            break;
        default:
            return;
        }
    }
    Nouveau(base_);
}

void PageRapport::OuvreEditeur()
{
    if (rapport_ && !rapport_->Destination().isEmpty()) {
        OuvreDocumentOuDit(fenetre_, rapport_->Destination() + QStringLiteral("index.htm"),
                           Traduit("Impossible d'ouvrir le rapport : aucun navigateur n'a pu être lancé.\n"
                                   "Ouvrez vous-même le fichier :\n%1"),
                           Traduit("Impossible d'ouvrir le rapport : ce fichier est introuvable :\n%1"));
        return;
    }
    LesDialogues().message(fenetre_, QStringLiteral("Talmer3"), Traduit("Aucun rapport sauvé pour le moment!"));
}

void PageRapport::NoteSurNoeud(QStandardItem *noeud)
{
    if (!noeud || !rapport_)
        return;
    TFenMemo dialogue(fenetre_);
    if (LesDialogues().execute(dialogue) != QDialog::Accepted)
        return;
    rapport_->FixeMemo(MemoRapport(dialogue.TexteNote()), noeud);
    MetAJourEtats();
}

void PageRapport::SupprimeNoeud(QStandardItem *noeud)
{
    // The root stays; an item node goes with its children.
    if (!noeud || (!noeud->parent() && noeud->row() == 0))
        return;
    if (QStandardItem *parent = noeud->parent())
        parent->removeRow(noeud->row());
    else
        modele_->removeRow(noeud->row());
}

void PageRapport::MetAJourEtats()
{
    // The state picture of each node: 1, or 2 once a note is attached.
    static const QIcon etat1 = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    static const QIcon etat2 = QApplication::style()->standardIcon(QStyle::SP_FileDialogInfoView);
    std::function<void(QStandardItem *)> parcours = [&](QStandardItem *item) {
        const int etat = item->data(Rapport::RoleEtat).toInt();
        const qint64 cle = etat == 2 ? 2 : 1;
        if (item->data(Qt::UserRole + 50).toLongLong() != cle) {
            item->setData(cle, Qt::UserRole + 50);
            item->setIcon(cle == 2 ? etat2 : etat1);
        }
        for (int i = 0; i < item->rowCount(); ++i)
            parcours(item->child(i));
    };
    for (int i = 0; i < modele_->rowCount(); ++i)
        parcours(modele_->item(i));
}

bool PageRapport::eventFilter(QObject *objet, QEvent *event)
{
    // A right click released over a node: its note.
    if (objet == arbre_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto *souris = static_cast<QMouseEvent *>(event);
        if (souris->button() == Qt::RightButton) {
            const QModelIndex index = arbre_->indexAt(souris->position().toPoint());
            if (index.isValid())
                NoteSurNoeud(modele_->itemFromIndex(index));
            return true;
        }
    }
    if (objet == arbre_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        SupprimeNoeud(modele_->itemFromIndex(arbre_->currentIndex()));
        return true;
    }
    return QWidget::eventFilter(objet, event);
}
