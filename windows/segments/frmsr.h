// The list of the repeated segments of one computation, docked in the main window's side panel:
// length, text and frequency of each segment, sorted by a click on a column's header; the
// selected segments are dragged to other windows as one group of forms, and the whole list goes
// to the report as an HTML page.
#pragma once

#include "services/contributeur.h"
#include "windows/commun/liste_groupe.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

class QLabel;
class QToolButton;
class SegRep;

namespace talmer {
class ModeleSegments;
class TTgenDragObject;
}

class TfrmSR : public QWidget, public ContributeurRapport {
    Q_OBJECT
public:
    // The designed size; the window is wider when its columns need it.
    static constexpr int LargeurDessinee = 270;
    static constexpr int HauteurDessinee = 612;

    // The segment set is not owned; the main window keeps it alive longer than the list.
    explicit TfrmSR(SegRep &segments, QWidget *parent = nullptr);
    ~TfrmSR() override;

    QSize sizeHint() const override;

    SegRep &Segments() const { return segments_; }
    talmer::ModeleSegments *Modele() const { return modele_; }
    talmer::ListeGroupe *ListSR() const { return listSR_; }
    QToolButton *ShPastille() const { return shPastille_; }
    QToolButton *SpdBtnRap() const { return spdBtnRap_; }

    // The swatch's colour as 0x00BBGGRR; white (no colour of its own) until the user chooses one.
    std::int32_t CouleurPastille() const { return couleur_; }

    // A click on a column's header.
    void ListSRColumnClick(int colonne);
    // The entity numbers of the selected rows, in row order.
    std::vector<std::int32_t> EntitesSelectionnees() const;
    // What a drag of the list carries: the selected segments in row order, the swatch's colour,
    // no name; nullptr when no row is selected.
    std::unique_ptr<talmer::TTgenDragObject> ObjetAGlisser() const;

    // Writes the list's page into the report's temporary folder and adds it to the report.
    void AjouteAuRapport() override;
    // The base name of the next report page ("sr" followed by a counter shared by every list).
    static QString NomPageSuivante();

    // The windows' caption.
    static QString Titre();

private:
    void ShPastilleClick();

    SegRep &segments_;
    talmer::ModeleSegments *modele_ = nullptr;
    talmer::ListeGroupe *listSR_ = nullptr;
    QToolButton *shPastille_ = nullptr;
    QToolButton *spdBtnRap_ = nullptr;
    std::int32_t couleur_ = 0xFFFFFF;
};
