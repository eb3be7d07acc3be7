#include "windows/sections/fenchoixdelim.h"

#include "engine/charg1.h"
#include "engine/section.h"
#include "shell/affichage.h"
#include "shell/corpus_registry.h"
#include "shell/dialogues.h"
#include "shell/fennavig.h"
#include "shell/fenprinc.h"
#include "shell/translation.h"
#include "windows/sections/fencarteparag.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QVBoxLayout>

#include <memory>

namespace talmer {

namespace {

constexpr int RoleEntite = Qt::UserRole + 1;

QWidget *DerniereVue(const InfoSection &entree)
{
    for (auto it = entree.vues.rbegin(); it != entree.vues.rend(); ++it)
        if (*it)
            return it->data();
    return nullptr;
}

QWidget *PremiereVue(const InfoSection &entree)
{
    for (const QPointer<QWidget> &v : entree.vues)
        if (v)
            return v.data();
    return nullptr;
}

QDialogButtonBox *Boutons(QWidget *parent, const QString &ok, QDialog *dialogue)
{
    auto *b = new QDialogButtonBox(parent);
    b->addButton(ok, QDialogButtonBox::AcceptRole);
    b->addButton(Traduit("Annuler"), QDialogButtonBox::RejectRole);
    QObject::connect(b, &QDialogButtonBox::rejected, dialogue, &QDialog::reject);
    return b;
}

} // namespace

QString TexteNoeudSection(const charg1 &base, const std::vector<std::int32_t> &delimiteurs)
{
    QString texte = Traduit(" découpées d'après le délimiteur: ");
    for (std::int32_t d : delimiteurs)
        texte += QLatin1Char(' ') + EnUnicode(base.RetourneGraphie(d, false));
    return texte;
}

TFenCarteParag *OuvreVueSection(TFenPrinc &fenPrinc, charg1 &base, InfoSection &entree)
{
    const int k = static_cast<int>(entree.vues.size()) + 1;
    auto *carte = new TFenCarteParag(&fenPrinc, *entree.section, base);
    const QString texteNoeud = TexteNoeudSection(base, entree.delimiteurs);
    carte->setWindowTitle(Traduit("Sections ") + texteNoeud + Traduit(" - vue n°") + QString::number(k));
    carte->FixeVue(k);
    QMdiSubWindow *sous = fenPrinc.AjouteFenetre(carte);
    if (sous) {
        if (sous->isMaximized() || sous->isMinimized())
            sous->showNormal();
        const int largeur = fenPrinc.LargeurLibre() - 5;
        sous->resize(largeur > 200 ? largeur : sous->width(), 390);
        QPoint coin = sous->pos();
        sous->move(std::max(coin.x(), 0), std::max(coin.y(), 0));
        // The area places a new window beside the others: one as wide as the free area would
        // then run off its right edge, caption and buttons out of sight.
        fenPrinc.GardeDansZoneMdi(sous);
    }
    entree.vues.emplace_back(carte);
    if (TFenNavig *navig = fenPrinc.FenNavig()) {
        if (QStandardItem *noeud = navig->Modele()->itemFromIndex(entree.noeud))
            navig->AjouteNoeud(noeud, Traduit("Vue n°") + QString::number(k), 1, carte);
    }
    return carte;
}

TFenChoixDelim::TFenChoixDelim(TFenPrinc &fenPrinc, charg1 &base, QWidget *parent)
    : QDialog(parent), fenPrinc_(fenPrinc), base_(base)
{
    setWindowTitle(Traduit("Sections"));
    resize(331, 168);
    auto *colonne = new QVBoxLayout(this);
    pgC_ = new QTabWidget(this);
    colonne->addWidget(pgC_);

    auto *tsOld = new QWidget(pgC_);
    auto *colOld = new QVBoxLayout(tsOld);
    lBoxSect_ = new QListWidget(tsOld);
    colOld->addWidget(lBoxSect_);
    QDialogButtonBox *boutonsOld = Boutons(tsOld, Traduit("Afficher"), this);
    colOld->addWidget(boutonsOld);
    connect(boutonsOld, &QDialogButtonBox::accepted, this, &TFenChoixDelim::AfficheSectionExistante);
    connect(lBoxSect_, &QListWidget::itemDoubleClicked, this, [this] { AfficheSectionExistante(); });

    auto *tsNew = new QWidget(pgC_);
    auto *colNew = new QVBoxLayout(tsNew);
    auto *lbDelDispo = new QLabel(Traduit("Délimiteurs disponibles :"), tsNew);
    QFont gras = lbDelDispo->font();
    gras.setBold(true);
    lbDelDispo->setFont(gras);
    listDelims_ = new QListWidget(tsNew);
    listDelims_->setFont(gras);
    listDelims_->setSelectionMode(QAbstractItemView::MultiSelection);
    listDelims_->setFlow(QListView::LeftToRight);
    listDelims_->setWrapping(true);
    colNew->addWidget(lbDelDispo);
    colNew->addWidget(listDelims_);
    QDialogButtonBox *boutonsNew = Boutons(tsNew, Traduit("Créer"), this);
    colNew->addWidget(boutonsNew);
    connect(boutonsNew, &QDialogButtonBox::accepted, this, &TFenChoixDelim::BtnValideClick);
    connect(listDelims_, &QListWidget::itemDoubleClicked, this, [this] { BtnValideClick(); });

    for (std::int32_t e = base_.Nbform(); e < base_.Nbform() + base_.Nbartponct(); ++e) {
        auto *item = new QListWidgetItem(EnUnicode(base_.RetourneGraphie(e, false)), listDelims_);
        item->setData(RoleEntite, e);
    }

    const Corpus &registre = fenPrinc_.Registre();
    bool existantes = false;
    for (int k = 0; k < registre.NbSections(); ++k) {
        const InfoSection *entree = registre.EntreeSection(k);
        if (!entree || entree->base != &base_)
            continue;
        auto *item = new QListWidgetItem(entree->noeud.data(Qt::DisplayRole).toString(), lBoxSect_);
        item->setData(RoleEntite, k);
        existantes = true;
    }
    if (existantes) {
        pgC_->addTab(tsOld, Traduit("Sections existantes"));
        pgC_->addTab(tsNew, Traduit("Nouvelle section"));
        pgC_->setCurrentIndex(0);
    } else {
        tsOld->hide();
        pgC_->addTab(tsNew, Traduit("Nouvelle section"));
    }
    existantesVisible_ = existantes;
    TraduitComposants(this);
}

void TFenChoixDelim::BtnValideClick()
{
    std::vector<std::int32_t> delimiteurs;
    for (int r = 0; r < listDelims_->count(); ++r)
        if (listDelims_->item(r)->isSelected())
            delimiteurs.push_back(listDelims_->item(r)->data(RoleEntite).toInt());
    if (delimiteurs.empty())
        return;

    Corpus &registre = fenPrinc_.Registre();
    InfoSection *entree = nullptr;
    const int existant = registre.IndexSection(&base_, delimiteurs);
    if (existant >= 0) {
        entree = registre.EntreeSection(existant);
        const ReponseMessage r =
            LesDialogues().message(this, Traduit("Sections"),
                                   Traduit("La section existe déjà,\nvoulez-vous créer une nouvelle vue ?"),
                                   BoutonsMessage::OuiNonAnnuler, IconeMessage::Aucune);
        if (r != ReponseMessage::Oui) {
            if (QWidget *vue = DerniereVue(*entree)) {
                fenPrinc_.MontreFenetre(vue);
                vueOuverte_ = qobject_cast<TFenCarteParag *>(vue);
            }
            accept();
            return;
        }
    } else {
        auto section = std::make_unique<Section>(&base_, delimiteurs.data(), static_cast<std::int32_t>(delimiteurs.size()));
        if (!registre.AjouteSection(section.get(), &base_, delimiteurs))
            return;
        entree = registre.EntreeSection(registre.IndexSection(&base_, delimiteurs));
        section.release(); // the registry keeps it for the rest of the run
        if (TFenNavig *navig = fenPrinc_.FenNavig()) {
            if (QStandardItem *cartes = fenPrinc_.NoeudCartesSections())
                entree->noeud = navig->AjouteNoeud(cartes, TexteNoeudSection(base_, delimiteurs), 2)->index();
        }
    }
    if (!entree)
        return;
    vueOuverte_ = OuvreVueSection(fenPrinc_, base_, *entree);
    accept();
}

void TFenChoixDelim::AfficheSectionExistante()
{
    QListWidgetItem *item = lBoxSect_->currentItem();
    if (!item || !item->isSelected())
        return;
    const InfoSection *entree = fenPrinc_.Registre().EntreeSection(item->data(RoleEntite).toInt());
    if (!entree)
        return;
    if (QWidget *vue = PremiereVue(*entree)) {
        fenPrinc_.MontreFenetre(vue);
        vueOuverte_ = qobject_cast<TFenCarteParag *>(vue);
    }
    accept();
}

void CarteSections(TFenPrinc &fenPrinc, charg1 &base)
{
    TFenChoixDelim dialogue(fenPrinc, base, &fenPrinc);
    LesDialogues().execute(dialogue);
}

} // namespace talmer
