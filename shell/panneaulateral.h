// The side panel's dock site. The panel's own pages (the navigation window and the report tree)
// are tabbed together at the top; the windows that dock into the panel (the dictionary, the
// specificity and segment lists) are tabbed in a group of their own below them, so the panel's
// own tabs stay in sight however many lists pile up. A docked window can be floated and docked
// again (by its title bar's button, a double click on it, or by dragging it back onto the
// panel); one that may close is deleted, with everything it holds, when the user closes it.
#pragma once

#include <QMainWindow>
#include <QPointer>

#include <vector>

class QDockWidget;

// What the user may do with a window docked in the side panel.
enum class GenrePage {
    Permanente, // floats and docks again, never closes (it lives as long as its base)
    Fermable,   // may also be closed, which deletes it
};

class PanneauLateral : public QMainWindow {
    Q_OBJECT
public:
    explicit PanneauLateral(QWidget *parent = nullptr);
    // The docks die with the panel's children, after this destructor: they must no longer call
    // back into it.
    ~PanneauLateral() override;

    // Adds one of the panel's own pages, tabbed with those added before. It never closes.
    void AjoutePagePropre(QDockWidget *page);
    // Docks a window into the panel, tabbed with the last window docked that is still in the
    // panel (below the own pages when there is none), and brings it to the front. Returns its
    // dock, owned by the panel; deleting the window or its dock deletes both.
    QDockWidget *Ancre(QWidget *page, const QString &titre, GenrePage genre);
    // Deletes a window docked with Ancre, with its dock.
    void Ferme(QWidget *page);

    // The windows docked with Ancre and still alive, docked or floating, in the order they came.
    std::vector<QWidget *> Pages() const;
    // The dock that holds a window (an own page is its own dock); null for anything else.
    QDockWidget *Dock(const QWidget *page) const;
    // Brings a page to the front: its tab is chosen, or its floating window raised.
    void Montre(QWidget *page);
    // True when the page is shown: the current tab of its group, or a floating window on screen.
    bool EstDevant(const QWidget *page) const;

signals:
    // A page was floated, docked again or closed.
    void ancrageChange();

protected:
    // The tab bars of the dock groups, made by the panel as docks are tabbed together: their
    // captions are never elided ("Dicti…"), they scroll instead.
    void childEvent(QChildEvent *event) override;

private:
    QDockWidget *DernierAncre() const;
    // Gives the panel's own pages a third of the height and the group of `liste` the rest.
    void PartageHauteur(QDockWidget *liste);

    std::vector<QPointer<QDockWidget>> propres_;
    std::vector<QPointer<QDockWidget>> ancres_;
};
