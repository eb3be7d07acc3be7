#include "shell/panneaulateral.h"

#include "shell/rendu_memoire.h"

#include <QChildEvent>
#include <QDockWidget>
#include <QTabBar>
#include <QTimer>

#include <algorithm>

namespace {

constexpr Qt::DockWidgetArea Zone = Qt::LeftDockWidgetArea;

// The dock of a window docked into the panel: it goes when its window is deleted from outside.
class DockPage : public QDockWidget {
public:
    DockPage(QWidget *page, const QString &titre, QWidget *parent) : QDockWidget(titre, parent)
    {
        setWidget(page);
        // Still a child of this dock while it dies: the dock can only go afterwards.
        quandPageDetruite_ = connect(page, &QObject::destroyed, this, [this] { deleteLater(); });
    }
    // The page dies with the dock's children, after this destructor: it must no longer call back.
    ~DockPage() override { disconnect(quandPageDetruite_); }

private:
    QMetaObject::Connection quandPageDetruite_;
};

} // namespace

PanneauLateral::PanneauLateral(QWidget *parent) : QMainWindow(parent)
{
    // A main window is made a window of its own: this one lies inside the side panel.
    setWindowFlags(Qt::Widget);
    setObjectName(QStringLiteral("ListesGauche"));
    // No central widget: the docks fill the panel.
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);
    setTabPosition(Zone, QTabWidget::North);
}

PanneauLateral::~PanneauLateral()
{
    for (const auto *docks : {&propres_, &ancres_})
        for (const QPointer<QDockWidget> &dock : *docks)
            if (dock)
                dock->disconnect(this);
}

void PanneauLateral::childEvent(QChildEvent *event)
{
    // Polished: the tab bar is whole by then (when added, only its QObject part is).
    if (event->type() == QEvent::ChildPolished)
        if (auto *onglets = qobject_cast<QTabBar *>(event->child())) {
            onglets->setElideMode(Qt::ElideNone);
            onglets->setUsesScrollButtons(true);
        }
    QMainWindow::childEvent(event);
}

void PanneauLateral::AjoutePagePropre(QDockWidget *page)
{
    page->setParent(this);
    page->setAllowedAreas(Zone);
    page->setFeatures(page->features() & ~QDockWidget::DockWidgetClosable);
    if (propres_.empty() || !propres_.front())
        addDockWidget(Zone, page, Qt::Vertical);
    else
        tabifyDockWidget(propres_.front(), page);
    propres_.emplace_back(page);
    connect(page, &QDockWidget::topLevelChanged, this, [this] { emit ancrageChange(); });
    if (propres_.front())
        propres_.front()->raise();
}

QDockWidget *PanneauLateral::Ancre(QWidget *page, const QString &titre, GenrePage genre)
{
    auto *dock = new DockPage(page, titre, this);
    dock->setObjectName(QStringLiteral("Dock") + page->objectName());
    dock->setAllowedAreas(Zone);
    QDockWidget::DockWidgetFeatures options = QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable;
    if (genre == GenrePage::Fermable) {
        options |= QDockWidget::DockWidgetClosable;
        dock->setAttribute(Qt::WA_DeleteOnClose);
    }
    dock->setFeatures(options);

    if (QDockWidget *voisin = DernierAncre()) {
        tabifyDockWidget(voisin, dock);
    } else {
        addDockWidget(Zone, dock, Qt::Vertical);
        // The lists get two thirds of the height, once the new group has its place.
        QTimer::singleShot(0, dock, [this, dock] { PartageHauteur(dock); });
        PartageHauteur(dock);
    }
    ancres_.emplace_back(dock);
    connect(dock, &QDockWidget::topLevelChanged, this, [this] { emit ancrageChange(); });
    connect(dock, &QObject::destroyed, this, [this] { emit ancrageChange(); });
    // A list closed frees its rows: that memory goes back to the system.
    connect(dock, &QObject::destroyed, [] { RendMemoireApresCeTour(); });
    dock->show();
    dock->raise();
    return dock;
}

void PanneauLateral::PartageHauteur(QDockWidget *liste)
{
    QDockWidget *propre = propres_.empty() ? nullptr : propres_.front().data();
    if (!propre || propre->isFloating() || liste->isFloating())
        return;
    const int hauteur = height();
    resizeDocks({propre, liste}, {hauteur / 3, hauteur - hauteur / 3}, Qt::Vertical);
}

QDockWidget *PanneauLateral::DernierAncre() const
{
    for (auto it = ancres_.rbegin(); it != ancres_.rend(); ++it) {
        QDockWidget *dock = it->data();
        if (dock && dock->widget() && !dock->isFloating() && dockWidgetArea(dock) == Zone)
            return dock;
    }
    return nullptr;
}

void PanneauLateral::Ferme(QWidget *page)
{
    for (const QPointer<QDockWidget> &dock : ancres_)
        if (dock && dock->widget() == page) {
            delete dock.data();
            return;
        }
}

std::vector<QWidget *> PanneauLateral::Pages() const
{
    std::vector<QWidget *> pages;
    for (const QPointer<QDockWidget> &dock : ancres_)
        if (dock && dock->widget())
            pages.push_back(dock->widget());
    return pages;
}

QDockWidget *PanneauLateral::Dock(const QWidget *page) const
{
    if (!page)
        return nullptr;
    for (const QPointer<QDockWidget> &dock : propres_)
        if (dock == page)
            return dock;
    for (const QPointer<QDockWidget> &dock : ancres_)
        if (dock && dock->widget() == page)
            return dock;
    return nullptr;
}

void PanneauLateral::Montre(QWidget *page)
{
    QDockWidget *dock = Dock(page);
    if (!dock)
        return;
    dock->show();
    dock->raise();
    if (dock->isFloating())
        dock->activateWindow();
}

bool PanneauLateral::EstDevant(const QWidget *page) const
{
    const QDockWidget *dock = Dock(page);
    if (!dock || !dock->isVisible())
        return false;
    // The other pages of a tab group keep no room of their own in the panel.
    return dock->isFloating() || !dock->visibleRegion().isEmpty();
}
