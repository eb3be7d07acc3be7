#include "shell/conteneur.h"

#include "engine/charg1.h"
#include "engine/segrep.h"
#include "engine/tgen.h"
#include "shell/affichage.h"
#include "shell/dragobjects.h"
#include "shell/translation.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace talmer {

namespace {

QColor CouleurDe(std::int32_t bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// A box; when it holds a group, filled with the group's colour.
QPixmap Image(const Tgen *groupe)
{
    const int c = TConteneur::Cote;
    QPixmap p(c, c);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing, true);
    const QRectF boite(4.5, 10.5, c - 9.0, c - 15.0);
    g.setPen(QPen(QColor(60, 60, 60), 1.5));
    if (groupe) {
        g.setBrush(CouleurDe(groupe->Couleur()));
        g.drawRoundedRect(boite, 3, 3);
    } else {
        g.setBrush(Qt::NoBrush);
        g.drawRoundedRect(boite, 3, 3);
    }
    // The open lid.
    g.drawLine(QPointF(4.5, 10.5), QPointF(10.5, 4.5));
    g.drawLine(QPointF(10.5, 4.5), QPointF(c - 4.5, 4.5));
    g.drawLine(QPointF(c - 4.5, 4.5), QPointF(c - 4.5, 10.5));
    return p;
}

QString TexteMenu(const Tgen &groupe)
{
    QString t = EnUnicode(groupe.Nom());
    t.replace(u'&', QStringLiteral("&&"));
    return t;
}

} // namespace

// ---- HistoriqueGroupes ----

HistoriqueGroupes::HistoriqueGroupes() = default;
HistoriqueGroupes::~HistoriqueGroupes() = default;

void HistoriqueGroupes::Range(std::unique_ptr<Tgen> groupe)
{
    if (!groupe)
        return;
    courant_ = groupe.get();
    entrees_.push_front(std::move(groupe));
    while (static_cast<int>(entrees_.size()) > Capacite)
        entrees_.pop_back();
}

bool HistoriqueGroupes::Choisit(int index)
{
    Tgen *g = Entree(index);
    if (!g)
        return false;
    courant_ = g;
    return true;
}

void HistoriqueGroupes::OublieBase(const charg1 *base)
{
    if (courant_ && courant_->Base() == base)
        courant_ = nullptr;
    entrees_.erase(std::remove_if(entrees_.begin(), entrees_.end(),
                                  [base](const std::unique_ptr<Tgen> &g) { return g->Base() == base; }),
                   entrees_.end());
}

BilanSegmentsRemplaces HistoriqueGroupes::RemplaceSegments(const charg1 &base,
                                                           const std::vector<std::int32_t> &correspondance)
{
    BilanSegmentsRemplaces bilan;
    std::vector<const Tgen *> videes;
    for (const std::unique_ptr<Tgen> &g : entrees_) {
        if (g->Base() != &base)
            continue;
        std::vector<std::int32_t> formes = g->Formes();
        const BilanRenumerotation r = RenumeroteSegments(formes, base.Nbart(), correspondance);
        if (!r.segments)
            continue;
        bilan.renumerotes += r.renumerotes;
        bilan.retires += r.retires;
        if (formes.empty())
            videes.push_back(g.get());
        // Its occurrences are those of the new segments, even where the numbers stay.
        g->RemplaceFormes(std::move(formes));
    }
    // A group that held only segments the new set lacks has nothing left to drag.
    if (std::find(videes.begin(), videes.end(), courant_) != videes.end())
        courant_ = nullptr;
    entrees_.erase(std::remove_if(entrees_.begin(), entrees_.end(),
                                  [&videes](const std::unique_ptr<Tgen> &g) {
                                      return std::find(videes.begin(), videes.end(), g.get()) != videes.end();
                                  }),
                   entrees_.end());
    bilan.groupesVides = static_cast<std::int32_t>(videes.size());
    return bilan;
}

Tgen *HistoriqueGroupes::Entree(int index) const
{
    if (index < 0 || index >= Taille())
        return nullptr;
    return entrees_[static_cast<std::size_t>(index)].get();
}

// ---- TConteneur ----

TConteneur::TConteneur(QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("Container"));
    setFixedSize(Cote, Cote);
    setAttribute(Qt::WA_TranslucentBackground);
    setAcceptDrops(true);
    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("PMnuQueue"));
    MontreCourant();
}

TConteneur::~TConteneur() = default;

void TConteneur::FixeBase(charg1 *base) { base_ = base; }

void TConteneur::OublieBase(const charg1 *base)
{
    historique_.OublieBase(base);
    if (base_ == base)
        base_ = nullptr;
    MontreCourant();
}

QString TConteneur::SegmentsRemplaces(const charg1 *base, const SegRep *anciens, const SegRep &nouveaux)
{
    if (!base)
        return {};
    const std::vector<std::int32_t> correspondance =
        anciens ? CorrespondanceSegments(anciens->Segments(), nouveaux.Segments()) : std::vector<std::int32_t>();
    const BilanSegmentsRemplaces bilan = historique_.RemplaceSegments(*base, correspondance);
    MontreCourant();
    if (bilan.renumerotes == 0 && bilan.retires == 0)
        return {};
    QString texte = Traduit("Segments répétés recalculés : dans l'historique des groupes, %1 segment(s) "
                            "renuméroté(s), %2 segment(s) retiré(s) car absent(s) du nouveau calcul.")
                        .arg(bilan.renumerotes)
                        .arg(bilan.retires);
    if (bilan.groupesVides > 0)
        texte += QLatin1Char(' ')
                 + Traduit("%1 groupe(s) devenu(s) vide(s) retiré(s) de l'historique.").arg(bilan.groupesVides);
    return texte;
}

void TConteneur::MontreCourant()
{
    const Tgen *g = historique_.Courant();
    setToolTip(g ? EnUnicode(g->Nom()) : Traduit("Vide"));
    setPixmap(Image(g));
}

void TConteneur::RangeConteneur(std::unique_ptr<Tgen> groupe)
{
    historique_.Range(std::move(groupe));
    MontreCourant();
}

void TConteneur::DeposeForme(std::string_view graphie)
{
    if (!base_)
        return;
    std::int32_t entite = EntiteDeGraphie(*base_, graphie);
    if (entite < 0)
        return;
    RangeConteneur(std::make_unique<Tgen>(base_, &entite, 1, nullptr));
}

std::unique_ptr<TTgenDragObject> TConteneur::ContainerStartDrag()
{
    const Tgen *g = historique_.Courant();
    if (!g)
        return nullptr;
    auto objet = std::make_unique<TTgenDragObject>(this, g->Base(), std::string(), g->Couleur(), g->NbFormes());
    std::copy(g->Formes().begin(), g->Formes().end(), objet->Entites().begin());
    objet->FixeNom(g->Nom());
    return objet;
}

void TConteneur::PMnuQueuePopup()
{
    menu_->clear();
    for (int i = 0; i < historique_.Taille(); ++i) {
        Tgen *g = historique_.Entree(i);
        QAction *a = menu_->addAction(TexteMenu(*g));
        a->setCheckable(true);
        a->setChecked(g == historique_.Courant());
        connect(a, &QAction::triggered, this, [this, i] { ElemMenuClick(i); });
    }
}

void TConteneur::ElemMenuClick(int index)
{
    historique_.Choisit(index);
    MontreCourant();
}

bool TConteneur::ContainerDragOver(const QMimeData *donnees) const
{
    return GroupeAcceptable(donnees, base_, this) != nullptr;
}

void TConteneur::ContainerDragDrop(TTgenDragObject &objet)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::unique_ptr<Tgen> groupe = objet.ConstruitGroupe(base_, true);
    QApplication::restoreOverrideCursor();
    RangeConteneur(std::move(groupe));
}

void TConteneur::dragEnterEvent(QDragEnterEvent *event)
{
    if (ContainerDragOver(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TConteneur::dragMoveEvent(QDragMoveEvent *event)
{
    if (ContainerDragOver(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TConteneur::dropEvent(QDropEvent *event)
{
    TTgenDragObject *objet = GroupeAcceptable(event->mimeData(), base_, this);
    if (!objet) {
        event->ignore();
        return;
    }
    ContainerDragDrop(*objet);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TConteneur::mousePressEvent(QMouseEvent *event)
{
    glissable_ = event->button() == Qt::LeftButton;
    pressee_ = event->position().toPoint();
    QLabel::mousePressEvent(event);
}

void TConteneur::mouseMoveEvent(QMouseEvent *event)
{
    if (!glissable_ || !(event->buttons() & Qt::LeftButton)
        || (event->position().toPoint() - pressee_).manhattanLength() < QApplication::startDragDistance()) {
        QLabel::mouseMoveEvent(event);
        return;
    }
    glissable_ = false;
    if (std::unique_ptr<TTgenDragObject> objet = ContainerStartDrag())
        LanceGlisser(this, std::move(objet));
}

void TConteneur::contextMenuEvent(QContextMenuEvent *event)
{
    PMnuQueuePopup();
    menu_->exec(event->globalPos());
}

} // namespace talmer
