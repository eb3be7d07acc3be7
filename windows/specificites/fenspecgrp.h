// A list of specificities: the over- and under-used terms of a group of parts of a partition, or
// of a set of sections. A tool page docked in the main window's side panel; its rows can be read
// positive or negative first, dragged as a group of forms, and added to the report as a page.
#pragma once

#include "engine/primspec.h"

#include "services/contributeur.h"
#include "windows/commun/libelle_elude.h"
#include "windows/commun/liste_groupe.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QRadioButton;
class QToolButton;
class Partition;
class charg1;

namespace talmer {

// The rows of a list, positive or negative coefficients first.
class ModeleSpecGrp : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int RoleEntite = Qt::UserRole + 1;

    // rows: sorted by coefficient, highest first.
    ModeleSpecGrp(const charg1 *base, std::vector<StructSpec> lignes, QObject *parent = nullptr);

    // true: the rows' own order; false: read backwards.
    void FixeOrdre(bool positifsDAbord);
    bool PositifsDAbord() const { return positifs_; }
    // The row of the list shown at display row i.
    const StructSpec &LigneAffichee(int i) const;
    const std::vector<StructSpec> &Lignes() const { return lignes_; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    const charg1 *base_;
    std::vector<StructSpec> lignes_;
    bool positifs_ = true;
};

// What the list's report page shows, in the display code page: the caption, the parts label and
// the date are HTML (EnCodePageTexteHtml), written as given; the base name, key and spellings
// are bytes of the base, escaped when written.
struct DonneesPageSpecGrp {
    std::string charset;        // "windows-1252"
    std::string titre;          // the window's caption
    std::string parties;        // the text of the parts label
    std::string nomBase;
    std::string date;           // long date, " - ", hh:mm
    bool partition = false;     // a list of parts (not of sections)
    std::string cle;            // the partition's key, for a list of parts
    struct Ligne {
        std::string graphie;
        std::int32_t F = 0, f = 0, coef = 0;
    };
    std::vector<Ligne> lignes;  // highest coefficient first
};

std::string PageSpecGrp(const DonneesPageSpecGrp &d);

// The chip's colour (0x00BBGGRR): the colour of the selected parts when they all have the same,
// otherwise (or with no selected part) blue; black for a list of sections (null partition).
std::int32_t CouleurPastille(const Partition *partition);

// The list window's rows as a view: drags the selected rows as a group of forms.
class VueListeSpecifs : public ListeGroupe {
    Q_OBJECT
public:
    explicit VueListeSpecifs(QWidget *parent = nullptr);
    // The entities of the selected rows, in display order.
    std::vector<std::int32_t> EntitesSelectionnees() const;
    // What a drag carries: null when no row is selected.
    std::unique_ptr<class TTgenDragObject> ObjetGlisse(charg1 *base, std::int32_t couleur);

    std::int32_t couleur = 0;
    charg1 *base = nullptr;
};

class TFenSpecGrp : public QWidget, public ContributeurRapport {
    Q_OBJECT
public:
    // A list of a group of parts: keeps the computation, its partition and base.
    TFenSpecGrp(QWidget *owner, std::unique_ptr<PrimSpec> calcul);
    // A list of sections (or of anything else): the base and the rows, highest coefficient first.
    TFenSpecGrp(QWidget *owner, charg1 *base, std::vector<StructSpec> lignes);
    ~TFenSpecGrp() override;

    // The designed size; the window is wider when its columns need it.
    static constexpr int LargeurDessinee = 286;
    static constexpr int HauteurDessinee = 462;
    QSize sizeHint() const override;

    // The two labels and their common hint.
    void FixeLibelles(const QString &corpRef, const QString &parties);
    void FixeBulleLibelles(const QString &bulle);
    const QString &TexteCorpRef() const { return corpRef_; }
    const QString &TexteParties() const { return parties_; }

    // Docks the list at the top of the main window's side panel and brings it to the front (a
    // floating tool window when there is no main window).
    void Affiche();

    // "Ajouter au rapport": writes the page "spf" n ".html" and adds it to the current report.
    void AjouteAuRapport() override;
    // The page as it would be written now.
    std::string Page() const;

    QColor Pastille() const { return pastille_; }
    void FixePastille(const QColor &couleur);
    ModeleSpecGrp *Modele() const { return modele_; }
    VueListeSpecifs *ListeSpecifs() const { return liste_; }
    QRadioButton *BoutonPositives() const { return radio1_; }
    QRadioButton *BoutonNegatives() const { return radio2_; }
    LibelleElude *LbCorpRef() const { return lbCorpRef_; }
    LibelleElude *LbParties() const { return lbParties_; }
    const PrimSpec *Calcul() const { return calcul_.get(); }
    Partition *PartitionSource() const { return partition_; }
    charg1 *Base() const { return base_; }

    // The program-wide number of the next report page of a list.
    static int CompteurPages();

protected:
    bool eventFilter(QObject *objet, QEvent *event) override;

private:
    void Construit(const std::vector<StructSpec> &lignes);
    void RadioButtonsClick();
    void ShPastilleClick();

    std::unique_ptr<PrimSpec> calcul_;
    Partition *partition_ = nullptr;
    charg1 *base_ = nullptr;
    QString corpRef_;
    QString parties_;
    QColor pastille_;
    bool pastillePressee_ = false;
    ModeleSpecGrp *modele_ = nullptr;
    VueListeSpecifs *liste_ = nullptr;
    LibelleElude *lbCorpRef_ = nullptr;
    LibelleElude *lbParties_ = nullptr;
    QRadioButton *radio1_ = nullptr;
    QRadioButton *radio2_ = nullptr;
    QToolButton *btnAddRap_ = nullptr;
    QWidget *shPastille_ = nullptr;
};

} // namespace talmer
