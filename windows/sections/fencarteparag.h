// The section map: one box per section of a sectioning, coloured where a dropped group of forms
// occurs (shaded by its specificity on request), marked by a second group, outlined for the
// selected and current sections, optionally in runs under the zones of a partition; the text of
// the current section below it; pages and pictures for the report; saved selections; sectional
// specificities.
#pragma once

#include "services/contributeur.h"
#include "shell/deposeforme.h"
#include "windows/commun/pagetemporaire.h"
#include "windows/sections/dessin_carte.h"
#include "windows/sections/disposition.h"

#include <QComboBox>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class Partition;
class QCheckBox;
class QFrame;
class QLabel;
class QScrollArea;
class QSlider;
class QToolButton;
class Section;
class TDropTarget;
class TFenPrinc;
class Tgen;
struct StructSpec;

namespace talmer {

class VueHtml;
class TFenCarteParag;

// The drawing surface: paints the rows in view and passes presses and drops to its map.
class SurfaceCarte : public QWidget {
public:
    explicit SurfaceCarte(TFenCarteParag *carte);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    TFenCarteParag *carte_;
};

// The partition list, filled again each time it drops down.
class ComboParties : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> avantOuverture;
    void showPopup() override;
};

// What opens the list of sectional specificities (installed with the specificity windows).
using OuvreSpecifsSections = std::function<void(TFenPrinc *, charg1 &, std::vector<StructSpec>, std::int32_t nbSections)>;
OuvreSpecifsSections &FabriqueSpecifsSections();

class TFenCarteParag : public QWidget, public ContributeurRapport, public RecepteurForme {
    Q_OBJECT
public:
    // The sectioning and the base are not owned (the registry and the main window keep them);
    // fenPrinc (may be null) gives the registry's partitions and the specificity list its owner.
    TFenCarteParag(TFenPrinc *fenPrinc, Section &section, charg1 &base, QWidget *parent = nullptr);
    ~TFenCarteParag() override;

    Section &SectionCarte() const { return section_; }
    std::int32_t NbSections() const;
    int Vue() const { return vue_; }
    void FixeVue(int k) { vue_ = k; }

    const DonneesCarte &Donnees() const { return donnees_; }
    const DispositionCarte &Disposition() const { return disposition_; }
    const EtiquettesZones *Etiquettes() const { return partition_ ? &etiquettes_ : nullptr; }
    Tgen *Groupe() const { return groupe_.get(); }
    Tgen *GroupeSup() const { return groupeSup_.get(); }
    Partition *PartitionCarte() const { return partition_; }
    const std::vector<std::int32_t> &IndexZones() const { return indexZones_; }
    int CompteurImages() const { return compteurImages_; }
    const PageTemporaire &Page() const { return page_; }

    // Box size (7 to 25) as the track bar sets it.
    void FixeTaille(int taille);
    void FixeSeuillage(bool actif);
    // The partition of the layout (null: none). The map indexes the zones for itself.
    void ChoisitPartition(Partition *partition);
    void ChargeParts();
    void ComboGrpChange(int index);

    // The main group (null clears the flags) and the second group; the map owns them.
    void AppliqueTgen(std::unique_ptr<Tgen> groupe);
    void AppliqueTgenSup(std::unique_ptr<Tgen> groupe);
    void DeposeForme(std::string_view graphie) override;

    // A press on the map at a surface point with the keyboard modifiers.
    void Presse(QPoint point, Qt::KeyboardModifiers modificateurs);
    void BtnSecSuivClick();
    void BtnSecPrecClick();
    void BtnOccPrecClick();
    void BtnOccSuivClick();
    void BtnEffacerClick();
    // "Réglages": the popup on the main group; its colours and thresholds on OK.
    void BtnColClick();

    // The text pane shows section i (none for -1).
    void AfficheSection(std::int32_t i);
    // "&Rapport": the current section's page in the report.
    void BtnAjouteRapClick();
    // A picture of the whole map in the report.
    void AjouteAuRapport() override;
    // The whole map drawn on a white picture of the surface's size.
    QImage ImageCarte() const;

    // Saved selections.
    void BtnSauveSelectionClick();
    void BtnChargeSelectionClick();
    // Loads "exportselec.xml" with these offsets; false (selection unchanged) when refused.
    bool ChargeSelection(const std::vector<int> &decalages);

    // Sectional specificities on the selected sections, or on those that hold a group.
    void SpfButtonClick();
    void BtnSpfSectTgenClick();

    QSlider *TrackBar1() const { return trackBar1_; }
    QLabel *LbTailleBoite() const { return lbTailleBoite_; }
    ComboParties *ComboGrp() const { return comboGrp_; }
    QCheckBox *ChkSeuil() const { return chkSeuil_; }
    QLabel *LbTgen1() const { return lbTgen1_; }
    QLabel *LbTgenSup() const { return lbTgenSup_; }
    QToolButton *BtnCol() const { return btnCol_; }
    QToolButton *SpfButton() const { return spfButton_; }
    QToolButton *BtnSpfSectTgen() const { return btnSpfSectTgen_; }
    QToolButton *BtnSecPrec() const { return btnSecPrec_; }
    QToolButton *BtnSecSuiv() const { return btnSecSuiv_; }
    QToolButton *BtnOccPrec() const { return btnOccPrec_; }
    QToolButton *BtnOccSuiv() const { return btnOccSuiv_; }
    SurfaceCarte *Surface() const { return surface_; }
    QScrollArea *Defilement() const { return defilement_; }
    VueHtml *Texte() const { return texte_; }

    // Drops on the surface.
    bool AccepteDepot(const QMimeData *donnees) const;
    void Depose(const QMimeData *donnees, Qt::KeyboardModifiers modificateurs);

protected:
    // Closing a view only minimises it: the sectioning keeps its views for the whole run.
    void closeEvent(QCloseEvent *event) override;

private:
    void ConstruitInterface();
    void AjusteTaille();
    void ChangeCourante(std::int32_t i);
    void ActualiseBoutons();
    void LanceSpecifs(const std::vector<char> &cible);
    std::int32_t TouchePrecedente() const;
    std::int32_t ToucheSuivante() const;

    TFenPrinc *fenPrinc_;
    Section &section_;
    charg1 &base_;
    PageTemporaire page_;
    std::unique_ptr<Tgen> groupe_;
    std::unique_ptr<Tgen> groupeSup_;
    Partition *partition_ = nullptr;
    std::vector<std::int32_t> indexZones_;
    DonneesCarte donnees_;
    DispositionCarte disposition_;
    EtiquettesZones etiquettes_;
    std::vector<std::int32_t> touchees_; // sections hit by the main group, ascending
    int taille_ = TailleBoiteInitiale;
    int compteurImages_ = 0;
    int vue_ = 0;

    QSlider *trackBar1_ = nullptr;
    QLabel *lbTailleBoite_ = nullptr;
    ComboParties *comboGrp_ = nullptr;
    QToolButton *btnCol_ = nullptr;
    QCheckBox *chkSeuil_ = nullptr;
    QFrame *shTgen1_ = nullptr;
    QLabel *lbTgen1_ = nullptr;
    QFrame *shTgenSup_ = nullptr;
    QLabel *lbTgenSup_ = nullptr;
    QToolButton *spfButton_ = nullptr;
    QToolButton *btnSpfSectTgen_ = nullptr;
    QToolButton *btnChargeSelection_ = nullptr;
    QToolButton *btnSauveSelection_ = nullptr;
    QScrollArea *defilement_ = nullptr;
    SurfaceCarte *surface_ = nullptr;
    VueHtml *texte_ = nullptr;
    QToolButton *btnSecPrec_ = nullptr;
    QToolButton *btnSecSuiv_ = nullptr;
    QToolButton *btnOccPrec_ = nullptr;
    QToolButton *btnOccSuiv_ = nullptr;
    QToolButton *btnAjouteRap_ = nullptr;
    QToolButton *btnEffacer_ = nullptr;
    std::unique_ptr<TDropTarget> cibleDepot_;
};

} // namespace talmer
