// The list of the repeated segments of one computation, docked in the main window's side panel:
// length, text and frequency of each segment, sorted by a click on a column's header; the
// selected segments are dragged to other windows as one group of forms, and the whole list goes
// to the report as an HTML page.
#pragma once

#include "shell/contributeur.h"

#include <QTableView>
#include <QWidget>

#include <cstdint>

class QLabel;
class QToolButton;
class SegRep;

namespace talmer {
class ModeleSegments;
}

class TfrmSR;

// The list itself: a drag carries its selected segments.
class ListeSR : public QTableView {
    Q_OBJECT
public:
    explicit ListeSR(TfrmSR *fenetre);

protected:
    void startDrag(Qt::DropActions actions) override;

private:
    TfrmSR *fenetre_;
};

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
    ListeSR *ListSR() const { return listSR_; }
    QToolButton *ShPastille() const { return shPastille_; }
    QToolButton *SpdBtnRap() const { return spdBtnRap_; }

    // The swatch's colour as 0x00BBGGRR; white (no colour of its own) until the user chooses one.
    std::int32_t CouleurPastille() const { return couleur_; }

    // A click on a column's header.
    void ListSRColumnClick(int colonne);
    // The entity numbers of the selected rows, in row order.
    std::vector<std::int32_t> EntitesSelectionnees() const;

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
    ListeSR *listSR_ = nullptr;
    QToolButton *shPastille_ = nullptr;
    QToolButton *spdBtnRap_ = nullptr;
    std::int32_t couleur_ = 0xFFFFFF;
};
