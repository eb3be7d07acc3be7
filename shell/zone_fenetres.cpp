#include "shell/zone_fenetres.h"

#include "services/dialogues.h"
#include "services/translation.h"
#include "shell/disposition_mdi.h"
#include "shell/rendu_memoire.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// Where a child window keeps its designed size.
constexpr const char *ProprieteTailleConcue = "tailleConcue";

QSize TailleMinimale(const QWidget *fenetre)
{
    return fenetre->minimumSize().expandedTo(fenetre->minimumSizeHint());
}

QSize TailleConcue(const QMdiSubWindow *fenetre)
{
    return fenetre->property(ProprieteTailleConcue).toSize();
}

// The room a child window's title bar needs to stay usable: its height with the frame above the
// content, and the width of its three buttons with the start of its caption.
QSize BarreTitre(const QMdiSubWindow *fenetre)
{
    QStyleOptionTitleBar option;
    option.initFrom(fenetre);
    option.titleBarFlags = fenetre->windowFlags();
    const QStyle *style = fenetre->style();
    const int hauteur = style->pixelMetric(QStyle::PM_TitleBarHeight, &option, fenetre) +
                        style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, fenetre);
    return {3 * hauteur + 12 * fenetre->fontMetrics().averageCharWidth(), hauteur};
}
} // namespace

ZoneFenetres::ZoneFenetres(QWidget *parent) : QWidget(parent)
{
    auto *disposition = new QHBoxLayout(this);
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->setSpacing(0);

    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("ZoneMdi"));
    // A sunken edge sets the area apart from the side panel's strip and the sheets: the first
    // control of a maximised window never reads as part of the strip's button beside it.
    mdi_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    // The sheets along the right edge.
    colonne_ = new QWidget(this);
    colonne_->setFixedWidth(25);
    auto *dispoFeuilles = new QVBoxLayout(colonne_);
    dispoFeuilles->setContentsMargins(0, 0, 0, 0);
    onglets_ = new QTabBar(colonne_);
    onglets_->setObjectName(QStringLiteral("OngletsFeuilles"));
    onglets_->setShape(QTabBar::RoundedEast);
    onglets_->setExpanding(false);
    onglets_->setUsesScrollButtons(true);
    onglets_->installEventFilter(this);
    connect(onglets_, &QTabBar::currentChanged, this, &ZoneFenetres::OngletChange);
    dispoFeuilles->addWidget(onglets_);
    dispoFeuilles->addStretch();

    disposition->addWidget(mdi_, 1);
    disposition->addWidget(colonne_);
}

// ---------------------------------------------------------------------------------------------
// Child windows

QMdiSubWindow *ZoneFenetres::AjouteFenetre(QWidget *fenetre)
{
    QMdiSubWindow *sous = qobject_cast<QMdiSubWindow *>(fenetre);
    // The size the window gave itself is its designed size. The area ignores it: it frames the
    // least the window's controls allow, which is the size the window came back at from
    // maximised.
    const QSize concue = !sous && fenetre->testAttribute(Qt::WA_Resized) ? fenetre->size() : QSize();
    if (!sous)
        sous = mdi_->addSubWindow(fenetre);
    else
        mdi_->addSubWindow(sous);
    if (concue.isValid()) {
        sous->resize(concue.grownBy(sous->contentsMargins()));
        FixeTailleConcue(sous, sous->size());
    }
    sous->setAttribute(Qt::WA_DeleteOnClose);
    // What the window computed is freed with it: that memory goes back to the system.
    connect(sous, &QObject::destroyed, [] { RendMemoireApresCeTour(); });
    // The program's icon, not the toolkit's, in the window's corner (and in the menu bar when
    // the window is maximised).
    sous->setWindowIcon(window()->windowIcon());
    sous->show();
    // The area puts a new window beside the others, where it may not fit.
    GardeDansZoneMdi(sous);
    // Restored from maximised (as when another window opens in its normal state), a window gets
    // back the frame it had, which the area may have left since, and which may be smaller than
    // its designed size; once the area has restored them all, it is brought inside again.
    connect(sous, &QMdiSubWindow::windowStateChanged, this,
            [this, sous](Qt::WindowStates avant, Qt::WindowStates apres) {
                if (!disposition_ && (avant & Qt::WindowMaximized) &&
                    !(apres & (Qt::WindowMaximized | Qt::WindowMinimized)))
                    QTimer::singleShot(0, sous, [this, sous] { Recadre(sous, TailleConcue(sous)); });
            });
    mdi_->setActiveSubWindow(sous);
    return sous;
}

bool ZoneFenetres::Montre(QWidget *fenetre)
{
    QMdiSubWindow *sous = qobject_cast<QMdiSubWindow *>(fenetre);
    for (QWidget *w = fenetre; !sous && w; w = w->parentWidget())
        sous = qobject_cast<QMdiSubWindow *>(w);
    if (!sous || sous->mdiArea() != mdi_)
        return false;
    if (sous->isMinimized())
        sous->showNormal();
    mdi_->setActiveSubWindow(sous);
    sous->raise();
    // Brought forward, it is seen whole, its buttons clear of the scroll bars.
    GardeDansZoneMdi(sous);
    return true;
}

std::vector<QMdiSubWindow *> ZoneFenetres::EnfantsMdi() const
{
    std::vector<QMdiSubWindow *> enfants;
    const QList<QMdiSubWindow *> pile = mdi_->subWindowList(QMdiArea::StackingOrder);
    for (auto it = pile.rbegin(); it != pile.rend(); ++it)
        if (!(*it)->isHidden())
            enfants.push_back(*it);
    // The active window counts as the first, whatever its place in the pile.
    QMdiSubWindow *actif = mdi_->currentSubWindow();
    auto it = std::find(enfants.begin(), enfants.end(), actif);
    if (it != enfants.end() && it != enfants.begin())
        std::rotate(enfants.begin(), it, it + 1);
    return enfants;
}

QSize ZoneFenetres::ZoneVisible() const
{
    // The viewport: the room of the area less its scroll bars. The area scrolls by moving its
    // windows, so what is in sight is always this room from the viewport's corner.
    return mdi_->viewport()->size();
}

void ZoneFenetres::GardeDansZoneMdi(QMdiSubWindow *fenetre)
{
    Recadre(fenetre, QSize());
}

void ZoneFenetres::Recadre(QMdiSubWindow *fenetre, QSize auMoins)
{
    if (!fenetre || fenetre->isMaximized() || fenetre->isMinimized())
        return;
    // Moving the window may take a scroll bar away or bring one (a window larger than the area),
    // which changes the room in sight: placed again in the room that results.
    for (int passe = 0; passe < 2; ++passe) {
        const QSize zone = ZoneVisible();
        fenetre->setGeometry(HorsMaximise(fenetre->geometry(), auMoins, TailleMinimale(fenetre), zone));
        if (ZoneVisible() == zone)
            break;
    }
}

void ZoneFenetres::FixeTailleConcue(QMdiSubWindow *fenetre, QSize taille)
{
    if (fenetre)
        fenetre->setProperty(ProprieteTailleConcue, taille);
}

void ZoneFenetres::MontreMaximisee(QMdiSubWindow *fenetre, const QRect &normale)
{
    if (!fenetre)
        return;
    // The frame a window has in its normal state when it is maximised is the one it gets back.
    if (fenetre->isMaximized() || fenetre->isMinimized())
        fenetre->showNormal();
    fenetre->setGeometry(DansLaZone(normale, TailleMinimale(fenetre), ZoneVisible()));
    FixeTailleConcue(fenetre, normale.size());
    fenetre->showMaximized();
}

void ZoneFenetres::FermeFenetres()
{
    for (QMdiSubWindow *fenetre : mdi_->subWindowList())
        delete fenetre;
    PurgeFeuilles();
}

std::vector<QMdiSubWindow *> ZoneFenetres::FenetresADisposer(QSize &barreTitre)
{
    // The windows of the current sheet from the back to the front, the active one last (on top);
    // minimised ones stay where they are, maximised ones are restored.
    const std::vector<QMdiSubWindow *> enfants = EnfantsMdi();
    std::vector<QMdiSubWindow *> fenetres;
    barreTitre = QSize(0, 0);
    for (auto it = enfants.rbegin(); it != enfants.rend(); ++it) {
        QMdiSubWindow *fenetre = *it;
        if (fenetre->isMinimized())
            continue;
        if (fenetre->isMaximized()) {
            // Restored to be placed at once: the place it had does not matter.
            const QScopedValueRollback garde(disposition_, true);
            fenetre->showNormal();
        }
        fenetres.push_back(fenetre);
        barreTitre = barreTitre.expandedTo(BarreTitre(fenetre));
    }
    return fenetres;
}

void ZoneFenetres::Dispose(const std::vector<QMdiSubWindow *> &fenetres,
                           const std::function<std::vector<QRect>(QSize)> &disposition)
{
    if (fenetres.empty())
        return;
    // The new places may take the scroll bars away (or bring one, for a window larger than the
    // area): placed again in the room that results.
    for (int passe = 0; passe < 2; ++passe) {
        const QSize zone = ZoneVisible();
        const std::vector<QRect> cadres = disposition(zone);
        for (std::size_t i = 0; i < fenetres.size() && i < cadres.size(); ++i)
            fenetres[i]->setGeometry(cadres[i]);
        if (ZoneVisible() == zone)
            break;
    }
    // Raised in the order of the places: where windows overlap, each covers only what lies below
    // the title bars of those before it. This is the order they were in, the active one on top.
    for (QMdiSubWindow *fenetre : fenetres)
        fenetre->raise();
}

void ZoneFenetres::Mosaique()
{
    QSize barreTitre;
    const std::vector<QMdiSubWindow *> fenetres = FenetresADisposer(barreTitre);
    std::vector<QSize> minimums;
    for (QMdiSubWindow *fenetre : fenetres)
        minimums.push_back(TailleMinimale(fenetre));
    Dispose(fenetres, [&](QSize zone) { return ::Mosaique(zone, minimums, barreTitre); });
}

void ZoneFenetres::Cascade()
{
    // The toolkit's own cascade steps by less than a title bar and keeps each window at its
    // preferred size: large windows hid the title bars of those before them, and brought back
    // inside the area they covered them the more.
    QSize barreTitre;
    const std::vector<QMdiSubWindow *> fenetres = FenetresADisposer(barreTitre);
    std::vector<QSize> tailles, minimums;
    for (QMdiSubWindow *fenetre : fenetres) {
        tailles.push_back(fenetre->size());
        minimums.push_back(TailleMinimale(fenetre));
    }
    Dispose(fenetres, [&](QSize zone) { return ::Cascade(zone, tailles, minimums, barreTitre); });
}

void ZoneFenetres::Reorganise()
{
    // The minimised windows are lined up along the bottom of the area, left to right.
    int x = 0;
    int rangee = 0;
    const int largeurZone = mdi_->viewport()->width();
    const int hauteurZone = mdi_->viewport()->height();
    for (QMdiSubWindow *fenetre : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        if (fenetre->isHidden() || !fenetre->isMinimized())
            continue;
        const QSize taille = fenetre->size();
        if (x > 0 && x + taille.width() > largeurZone) {
            x = 0;
            ++rangee;
        }
        fenetre->move(x, hauteurZone - (rangee + 1) * taille.height());
        x += taille.width();
    }
}

void ZoneFenetres::Precedente()
{
    const std::vector<QMdiSubWindow *> enfants = EnfantsMdi();
    if (enfants.empty())
        return;
    // The window at the back comes to the front: repeated, it walks backward through them all.
    Montre(enfants.back());
}

void ZoneFenetres::Suivante()
{
    const std::vector<QMdiSubWindow *> enfants = EnfantsMdi();
    // The third window from the front comes forward: with three, repeated, it walks through
    // them all; with one or two there is none.
    if (enfants.size() <= 2)
        return;
    Montre(enfants[2]);
}

// ---------------------------------------------------------------------------------------------
// The window list

QStringList ZoneFenetres::ListeFenetres() const
{
    const std::vector<QMdiSubWindow *> enfants = EnfantsMdi();
    QStringList items;
    const int n = static_cast<int>(enfants.size());
    for (int i = 1; i < n; ++i)
        items << QString::number(i) + QLatin1Char(' ') + enfants[static_cast<std::size_t>(i)]->windowTitle();
    if (n > 0)
        items << QString::number(n) + QLatin1Char(' ') + enfants.front()->windowTitle();
    return items;
}

void ZoneFenetres::ChoisitFenetre(int index)
{
    const std::vector<QMdiSubWindow *> enfants = EnfantsMdi();
    const int n = static_cast<int>(enfants.size());
    const int k = index + 1;
    if (k >= n || k < 1)
        return;
    QMdiSubWindow *choisie = enfants[static_cast<std::size_t>(k)];
    if (choisie->isMinimized()) {
        if (enfants.front()->isMaximized())
            choisie->showMaximized();
        else
            choisie->showNormal();
    }
    mdi_->setActiveSubWindow(choisie);
    choisie->raise();
    GardeDansZoneMdi(choisie);
}

void ZoneFenetres::RemplitListe(QMenu *menu)
{
    menu->clear();
    const QStringList items = ListeFenetres();
    for (int i = 0; i < items.size(); ++i) {
        QAction *action = menu->addAction(items[i]);
        connect(action, &QAction::triggered, this, [this, i] { ChoisitFenetre(i); });
    }
}

void ZoneFenetres::AjouteAuMenuFenetre(QMenu *menu)
{
    if (EnfantsMdi().empty())
        return;
    menu->addSeparator();
    int numero = 0;
    for (QMdiSubWindow *fenetre : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        if (fenetre->isHidden())
            continue;
        ++numero;
        QAction *action = menu->addAction(QStringLiteral("&%1 %2").arg(numero).arg(fenetre->windowTitle()));
        action->setCheckable(true);
        action->setChecked(fenetre == mdi_->currentSubWindow());
        QPointer<QMdiSubWindow> cible(fenetre);
        connect(action, &QAction::triggered, this, [this, cible] {
            if (cible)
                Montre(cible);
        });
    }
}

// ---------------------------------------------------------------------------------------------
// Sheets

int ZoneFenetres::LargeurOnglets() const
{
    return colonne_->width();
}

int ZoneFenetres::NbFeuilles() const
{
    return onglets_->count();
}

void ZoneFenetres::NouvelleFeuille()
{
    ++compteurFeuilles_;
    feuilles_.emplace_back();
    // The selected sheet stays (the very first one becomes selected by being the only one).
    const QSignalBlocker bloque(onglets_);
    onglets_->addTab(Traduit("Feuille ") + QString::number(compteurFeuilles_));
    if (feuilleCourante_ < 0)
        feuilleCourante_ = onglets_->currentIndex();
}

void ZoneFenetres::OngletChange(int index)
{
    if (feuilleCourante_ >= 0 && feuilleCourante_ != index)
        QuitteFeuille(feuilleCourante_);
    feuilleCourante_ = index;
    if (index >= 0)
        EntreFeuille(index);
}

void ZoneFenetres::QuitteFeuille(int index)
{
    if (index < 0 || index >= static_cast<int>(feuilles_.size()))
        return;
    std::vector<InfoFiche> &liste = feuilles_[static_cast<std::size_t>(index)];
    liste.clear();
    for (QMdiSubWindow *fenetre : mdi_->subWindowList(QMdiArea::StackingOrder)) {
        const bool visible = !fenetre->isHidden();
        fenetre->hide();
        if (visible) {
            const QRect g = fenetre->geometry();
            liste.push_back({fenetre, g.top(), g.left(), g.width(), g.height()});
        }
    }
}

void ZoneFenetres::EntreFeuille(int index)
{
    if (index < 0 || index >= static_cast<int>(feuilles_.size()))
        return;
    std::vector<InfoFiche> &liste = feuilles_[static_cast<std::size_t>(index)];
    // A window closed meanwhile has left its record empty: it is dropped, never shown.
    std::erase_if(liste, [](const InfoFiche &f) { return f.fenetre.isNull(); });
    for (const InfoFiche &fiche : liste)
        fiche.fenetre->show();
    Mosaique();
}

void ZoneFenetres::PurgeFeuilles()
{
    for (std::vector<InfoFiche> &liste : feuilles_)
        std::erase_if(liste, [](const InfoFiche &f) { return f.fenetre.isNull(); });
}

std::vector<QMdiSubWindow *> ZoneFenetres::FenetresDeFeuille(int index) const
{
    std::vector<QMdiSubWindow *> fenetres;
    if (index < 0 || index >= static_cast<int>(feuilles_.size()))
        return fenetres;
    for (const InfoFiche &fiche : feuilles_[static_cast<std::size_t>(index)])
        if (fiche.fenetre)
            fenetres.push_back(fiche.fenetre);
    return fenetres;
}

void ZoneFenetres::RemplitDeplacement(QMenu *menu)
{
    QAction *nouvelle = menu->addAction(Traduit("Nouvelle feuille"));
    connect(nouvelle, &QAction::triggered, this, [this] { DeplaceVersFeuille(-1); });
    for (int i = 0; i < onglets_->count(); ++i) {
        if (i == onglets_->currentIndex())
            continue;
        QAction *action = menu->addAction(onglets_->tabText(i));
        connect(action, &QAction::triggered, this, [this, i] { DeplaceVersFeuille(i); });
    }
}

void ZoneFenetres::DeplaceVersFeuille(int index)
{
    QMdiSubWindow *actif = mdi_->currentSubWindow();
    if (!actif || actif->isHidden())
        return;
    // "Nouvelle feuille" makes the sheet first, then moves the window there.
    if (index < 0) {
        NouvelleFeuille();
        index = onglets_->count() - 1;
    }
    if (index >= static_cast<int>(feuilles_.size()) || index == onglets_->currentIndex())
        return;
    const QRect g = actif->geometry();
    feuilles_[static_cast<std::size_t>(index)].push_back({actif, g.top(), g.left(), g.width(), g.height()});
    actif->hide();
}

bool ZoneFenetres::eventFilter(QObject *objet, QEvent *event)
{
    // A right click on a sheet's tab says its name.
    if (objet == onglets_ && event->type() == QEvent::MouseButtonPress) {
        auto *souris = static_cast<QMouseEvent *>(event);
        if (souris->button() == Qt::RightButton) {
            const int onglet = onglets_->tabAt(souris->position().toPoint());
            if (onglet >= 0)
                LesDialogues().message(window(), QStringLiteral("Talmer3"), onglets_->tabText(onglet));
            return true;
        }
    }
    return QWidget::eventFilter(objet, event);
}
