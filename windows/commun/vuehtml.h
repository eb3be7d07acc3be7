// The view every window that shows a generated HTML page uses: it reads the page file's bytes,
// decodes them from the display code page and shows them in a QTextBrowser.
//
// A text widget lays out a page of tens of megabytes far too slowly to show at once, so a large
// page is shown in parts (see decoupagehtml.h): each part is laid out on its own, and a bar under
// the page moves from one part to the next. The view reads from the file only the page's head and
// end and the parts it shows or passes over, so showing the first part of a page costs the same
// whatever the page's size. A page no larger than one part shows as it is, with no bar.
#pragma once

#include "windows/commun/decoupagehtml.h"

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <cstddef>
#include <vector>

class QLabel;
class QSpinBox;
class QTextBrowser;
class QToolButton;

namespace talmer {

class BarreParties;

class VueHtml : public QWidget {
    Q_OBJECT
public:
    // Bytes of body per part unless FixeTaillePartie says otherwise.
    static constexpr std::size_t TaillePartieParDefaut = TaillePartieHtml;

    explicit VueHtml(QWidget *parent = nullptr);
    ~VueHtml() override;

    // Reads the page file and shows its first part from the top. False, with the reason in
    // French in Erreur(), when the file cannot be read; the view is empty then.
    bool Affiche(const QString &chemin);
    // The same for a page whose writer cut it into parts already (DecoupeHtml's cutting): the
    // view goes to any part at once and knows their number. A cutting that does not fit the file
    // is ignored (the view finds the parts itself).
    bool Affiche(const QString &chemin, const DecoupageHtml &decoupage);
    // Reads the same file again (its writer has rewritten it, cut as `decoupage` says when given)
    // and shows the same part at the same scroll position, as far as the new page has them.
    bool Rafraichit(const DecoupageHtml *decoupage = nullptr);

    const QString &Chemin() const { return chemin_; }
    const QString &Erreur() const { return erreur_; }

    // The number of parts (finding it reads the page through to its end, unless the page came
    // cut).
    int NbParties();
    int PartieCourante() const { return partie_; }
    // The bar under a page of several parts: arrows to the previous and next part, then the
    // number of the part shown, which the user may type to go there, and the number of parts.
    BarreParties *Barre() const { return barre_; }
    QToolButton *BoutonPrecedent() const;
    QToolButton *BoutonSuivant() const;
    QSpinBox *NumeroPartie() const;
    QLabel *NombreParties() const;
    // Shows part k (clamped to the parts there are) from its top.
    void MontrePartie(int k);
    // Shows the part holding the anchor (name="..." or id="...") and scrolls to it; false when
    // the page has no such anchor.
    bool AllerAAncre(const QString &nom);
    void FixeTaillePartie(std::size_t octets) { taillePartie_ = octets == 0 ? 1 : octets; }

    // The browser itself (drops are left to the window that holds the view: neither the browser
    // nor its viewport accepts them).
    QTextBrowser *Navigateur() const { return navigateur_; }
    // The HTML (Unicode) of the part on screen.
    QString HtmlPartie() const { return htmlPartie_; }

signals:
    // A link to something other than an anchor of this page was clicked.
    void lienActive(const QUrl &adresse);

private:
    // Reads the page file's head and end; the parts are found as they are asked for.
    bool Ouvre(const QString &chemin);
    // Bytes [debut, debut + n) of the page file (fewer at its end).
    QByteArray Lit(std::size_t debut, std::size_t n) const;
    // Finds the starts of the parts up to part k + 1, or up to the end of the body.
    void Decouvre(std::size_t k);
    std::size_t FinPartie(std::size_t k);
    void Montre(int k, int defilement);
    void ActualiseBarre();
    void LienClique(const QUrl &adresse);

    QTextBrowser *navigateur_ = nullptr;
    BarreParties *barre_ = nullptr;

    QString chemin_;
    QString erreur_;
    std::size_t taillePage_ = 0;
    QByteArray entete_;          // bytes before the body (the whole page when it has no body)
    QByteArray fin_;             // bytes from "</body" to the end
    std::size_t finCorps_ = 0;   // offset of fin_ in the file
    std::vector<std::size_t> debuts_; // starts of the parts found so far
    bool toutesTrouvees_ = false;     // the last part is known
    QString htmlPartie_;
    std::size_t taillePartie_ = TaillePartieParDefaut;
    int partie_ = 0;
};

} // namespace talmer
