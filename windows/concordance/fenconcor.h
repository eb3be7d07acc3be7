// "Concordances": every occurrence of a form, of the forms and segments a pattern matches, or of a
// dropped group, in its context, sorted to the left or to the right and grouped by the parts of a
// partition; or, instead, the distributional inventory of the repeated segments that begin with
// it. Each request joins the window's history. What is written lives in pages.h and
// inventaire.h; this class routes the user's actions and shows the pages.
#pragma once

#include "engine/segrep.h"
#include "services/contributeur.h"
#include "shell/deposeforme.h"
#include "windows/concordance/historique.h"
#include "windows/concordance/pages.h"

#include <QWidget>

#include <memory>
#include <vector>

class Corpus;
class Partition;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QStatusBar;
class QToolButton;
class Tgen;
class charg1;

namespace talmer {

class BarreParties;
class PageTemporaire;
class VueHtml;

class TFenConcor : public QWidget, public ContributeurRapport, public RecepteurForme {
    Q_OBJECT
public:
    // Lines of the concordance on one screen page: larger results are shown a page at a time.
    static constexpr std::int32_t LignesParPage = 1000;

    // base: the open base (not owned); registre: the workspace registry its partitions are chosen
    // from (may be null: no grouping offered).
    TFenConcor(charg1 *base, Corpus *registre, QWidget *parent = nullptr);
    ~TFenConcor() override;

    // Handlers.
    void Recherche();                       // Enter in the form field
    void BtnPrecClick();
    void BtnSuivClick();
    void Affiche();                         // the current request, as the combos say
    void ComboGrpChargePart();              // refills the partitions
    void AjouteAuRapport() override;        // "Ajouter au rapport"
    void DeposeForme(std::string_view graphie) override;
    // A group to show: joins the history after the current entry and is shown.
    void AjouteHistorique(std::shared_ptr<Tgen> groupe);
    void MontrePage(int k);

    const Historique &Histoire() const { return historique_; }
    Tgen *GroupeCourant() const;
    Partition *PartitionDeGroupement() const { return partition_; }
    QString TexteStatut() const;
    QString CheminPage() const;
    int NbPages() const { return nbPages_; }
    int PageCourante() const { return page_; }
    bool InventaireAffiche() const { return inventaireAffiche_; }

    QToolButton *BtnPrec = nullptr;
    QToolButton *BtnSuiv = nullptr;
    QLineEdit *EdForme = nullptr;
    QCheckBox *ChkExpRep = nullptr;
    QComboBox *ComboTri = nullptr;
    QComboBox *CbTypeDocu = nullptr;
    QComboBox *ComboGrp = nullptr;
    QSpinBox *SpinLgCont = nullptr;
    QLineEdit *EdDelims = nullptr;
    QToolButton *BtnRecycle = nullptr;
    // The screen pages of a large concordance: arrows, and the number of the page to go to.
    BarreParties *BarrePages = nullptr;
    VueHtml *ConcorEditHTML = nullptr;
    QStatusBar *StatusBar = nullptr;

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void AllerHistorique(int index);
    void ActualiseBoutons();
    void AfficheConcordance();
    void AfficheInventaireDistributionnel();
    void ComboGrpChange(int index);
    void Signale(const QString &message);
    bool EcritPage(const std::string &page);
    Entete EnteteCourante(bool avecEntete) const;
    int SensTri() const;

    charg1 *base_;
    Corpus *registre_;
    Partition *partition_ = nullptr;
    std::vector<Partition *> partitionsOffertes_;
    Historique historique_;
    std::unique_ptr<PageTemporaire> pageFichier_;
    // What the window shows now: the concordance with its order and grouping, or the inventory.
    std::unique_ptr<Concordance> concordance_;
    std::vector<Segment> inventaire_;
    bool inventaireAffiche_ = false;
    std::int32_t longueurAffichee_ = 40;
    int page_ = 0;
    int nbPages_ = 0;
};

} // namespace talmer
