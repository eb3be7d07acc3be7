// The room of the analysis windows: the MDI area, the sheets along its right edge, and the list
// of the windows. A sheet is a set of windows shown together: entering a sheet hides the windows
// of the one left (their places recorded) and shows its own. The window commands (tile, cascade,
// previous, next, the lists of the menus) act on the windows of the current sheet.
#pragma once

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTabBar;

class ZoneFenetres : public QWidget {
    Q_OBJECT
public:
    explicit ZoneFenetres(QWidget *parent = nullptr);

    QMdiArea *Mdi() const { return mdi_; }
    // Adds an analysis window to the MDI area (deleted when closed) and shows it, whole inside
    // the visible area, with the program's icon. A window that gave itself a size gets it, its
    // frame around it, as its designed size.
    QMdiSubWindow *AjouteFenetre(QWidget *fenetre);
    // The size (frame included) a child window is designed at: leaving maximised, it comes back
    // at least at that size where the visible area holds it. Openers that place a window at a
    // size of their own set it.
    void FixeTailleConcue(QMdiSubWindow *fenetre, QSize taille);
    // Brings the MDI child that holds `fenetre` to the front, restoring it when minimised; false
    // when `fenetre` is no child of this area.
    bool Montre(QWidget *fenetre);
    // MDI children from the front (the active one) to the back, those of the current sheet.
    std::vector<QMdiSubWindow *> EnfantsMdi() const;
    // The room of the MDI area that shows child windows without scrolling.
    QSize ZoneVisible() const;
    // Shows a child window maximised. Restored (as when another window opens in its normal
    // state), it takes `normale`, brought inside the visible area and never below its minimum,
    // instead of the place the area chose when it was added; `normale` is its designed size.
    void MontreMaximisee(QMdiSubWindow *fenetre, const QRect &normale);
    // Moves and shrinks a child window in its normal state as little as needed to show it whole.
    void GardeDansZoneMdi(QMdiSubWindow *fenetre);
    // Closes every window, in every sheet.
    void FermeFenetres();

    // "Mosaïque", "Cascade", "Réorganiser les icônes".
    void Mosaique();
    void Cascade();
    void Reorganise();
    // "Fenêtre précédente": the window at the back comes to the front. "Fenêtre suivante": the
    // third from the front (the active one being the first) comes forward, when there are three
    // or more.
    void Precedente();
    void Suivante();

    // The window list: items in the order they are shown, and the choice of one.
    QStringList ListeFenetres() const;
    void ChoisitFenetre(int index);
    // Fills `menu` with the window list (the list button's menu).
    void RemplitListe(QMenu *menu);
    // Appends the numbered windows of the current sheet to the "Fenêtre" menu, the active one
    // checked (nothing when there is no window).
    void AjouteAuMenuFenetre(QMenu *menu);

    QTabBar *OngletsFeuilles() const { return onglets_; }
    // The width of the sheets' column.
    int LargeurOnglets() const;
    int NbFeuilles() const;
    // A new sheet, "Feuille <n>"; the selected sheet stays.
    void NouvelleFeuille();
    // Moves the active window to the sheet at `index` (-1: a new sheet).
    void DeplaceVersFeuille(int index);
    // Fills `menu` with the sheets the active window can move to ("Nouvelle feuille" first).
    void RemplitDeplacement(QMenu *menu);
    // Windows recorded in a sheet (live ones).
    std::vector<QMdiSubWindow *> FenetresDeFeuille(int index) const;

protected:
    bool eventFilter(QObject *objet, QEvent *event) override;

private:
    void OngletChange(int index);
    void QuitteFeuille(int index);
    void EntreFeuille(int index);
    void PurgeFeuilles();
    // Moves and shrinks a window in its normal state as little as needed to show it whole, after
    // enlarging it to `auMoins` (where the visible area holds it).
    void Recadre(QMdiSubWindow *fenetre, QSize auMoins);
    // The windows that "Mosaïque" and "Cascade" place, from the back to the front, in their normal
    // state, and the room the largest of their title bars needs.
    std::vector<QMdiSubWindow *> FenetresADisposer(QSize &barreTitre);
    // Gives the windows the frames that `disposition` computes for the visible area, then raises
    // them in that order.
    void Dispose(const std::vector<QMdiSubWindow *> &fenetres,
                 const std::function<std::vector<QRect>(QSize)> &disposition);

    QMdiArea *mdi_ = nullptr;
    QWidget *colonne_ = nullptr;
    QTabBar *onglets_ = nullptr;

    struct InfoFiche {
        QPointer<QMdiSubWindow> fenetre;
        int top = 0, left = 0, width = 0, height = 0;
    };
    std::vector<std::vector<InfoFiche>> feuilles_;
    int feuilleCourante_ = -1;
    int compteurFeuilles_ = 0;
    // True while "Mosaïque" or "Cascade" restores the windows it places.
    bool disposition_ = false;
};
