// The bar under a page shown a piece at a time (the parts of a large page, the screen pages of a
// concordance): arrows to the previous and next piece, then the number of the piece shown, which
// the user may type to go there at once, and a text after it ("sur 12").
#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QSpinBox;
class QToolButton;

namespace talmer {

class BarreParties : public QWidget {
    Q_OBJECT
public:
    // `intitule`: the word before the number ("Partie", "Page"); then the arrows' tooltips (all
    // three translated already).
    BarreParties(const QString &intitule, const QString &bullePrecedent, const QString &bulleSuivant,
                 QWidget *parent = nullptr);

    QToolButton *BoutonPrecedent() const { return precedent_; }
    QToolButton *BoutonSuivant() const { return suivant_; }
    QSpinBox *Numero() const { return numero_; }
    QLabel *Texte() const { return texte_; }

    // Shows that piece `courante` (from 0) of `total` is on screen: its number, the numbers the
    // user may type (1 to total, a larger one stops at total), the previous arrow while there is
    // a piece before, the next one while `suivante`, and the text after the number.
    void Actualise(int courante, int total, bool suivante, const QString &texte);
    int Courante() const { return courante_; }

signals:
    // The user asks for piece k (from 0): an arrow, or a number typed whole.
    void partieDemandee(int k);

private:
    QToolButton *precedent_ = nullptr;
    QToolButton *suivant_ = nullptr;
    QSpinBox *numero_ = nullptr;
    QLabel *texte_ = nullptr;
    int courante_ = 0;
};

} // namespace talmer
