// The dictionary window: the forms and punctuation of the open base with their frequencies, in
// frequency or alphabetical order, a prefix search, and the selected rows dragged out as a group
// of forms in the colour of the chip. Docked in the main window's side panel for the life of the
// base.
#pragma once

#include <QTableView>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QStatusBar;
class QTimer;
class charg1;

namespace talmer {

class ModeleDictionnaire;
class PastilleCouleur;
class TTgenDragObject;

// The list of the dictionary: a table view whose drags carry the group of the selected rows.
class ListeDictionnaire : public QTableView {
    Q_OBJECT
public:
    using FabriqueObjet = std::function<std::unique_ptr<TTgenDragObject>()>;
    explicit ListeDictionnaire(QWidget *parent = nullptr) : QTableView(parent) {}
    void FixeFabriqueObjet(FabriqueObjet f) { fabrique_ = std::move(f); }

protected:
    void startDrag(Qt::DropActions actions) override;

private:
    FabriqueObjet fabrique_;
};

class TFenDicNum : public QWidget {
    Q_OBJECT
public:
    // Milliseconds of pause after typing before the search runs.
    static constexpr int DelaiRecherche = 1500;
    // The designed size; the window is wider when its columns need it.
    static constexpr int LargeurDessinee = 254;
    static constexpr int HauteurDessinee = 378;

    TFenDicNum(charg1 &base, QWidget *parent = nullptr);
    ~TFenDicNum() override;

    QSize sizeHint() const override;

    charg1 &Base() const { return base_; }
    ListeDictionnaire *ListeFormes() const { return liste_; }
    ModeleDictionnaire *Modele() const { return modele_; }
    QLineEdit *EdRech() const { return edRech_; }
    PastilleCouleur *ShPastille() const { return pastille_; }
    QStatusBar *StatusBar1() const { return statut_; }
    QTimer *TimerRech() const { return timer_; }
    // The row of the last match, -1 when the next search starts from the top.
    std::int32_t DerniereTrouvee() const { return derniere_; }

    // What a drag of the list carries: the entities of the selected rows in row order, the
    // chip's colour, no name; nullptr when no row is selected.
    std::unique_ptr<TTgenDragObject> ObjetAGlisser() const;

signals:
    // A search asked for with Enter or F3 found nothing (the window beeps).
    void rechercheVaine();

protected:
    bool eventFilter(QObject *objet, QEvent *event) override;

private:
    void ColonneCliquee(int colonne);
    void TexteRechercheChange();
    void TimerRechTimer();
    // Searches from the row after the last match; true when a row was found and selected.
    bool Recherche();
    void SelectionneLigne(std::int32_t ligne);

    charg1 &base_;
    ModeleDictionnaire *modele_ = nullptr;
    ListeDictionnaire *liste_ = nullptr;
    QLineEdit *edRech_ = nullptr;
    PastilleCouleur *pastille_ = nullptr;
    QStatusBar *statut_ = nullptr;
    QTimer *timer_ = nullptr;
    std::int32_t derniere_ = -1;
};

} // namespace talmer
