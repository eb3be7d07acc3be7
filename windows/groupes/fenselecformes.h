// "Groupes de formes": the user gathers a group of forms by spelling or by pattern, by dropping
// groups from other windows or by loading a form list, names it, gives it a colour and drags it,
// whole or in part, onto the windows that take a group. What the window computes lives in
// ResultatGroupe; this class only shows it and routes the user's actions.
#pragma once

#include "shell/deposeforme.h"
#include "windows/groupes/resultatgroupe.h"

#include <QColor>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTableView;
class QToolButton;
class SegRep;
class TDropTarget;
class charg1;

namespace talmer {

class ModeleResultat;
class TTgenDragObject;

class TFenSelecFormes : public QWidget, public RecepteurForme {
    Q_OBJECT
public:
    // base: the open base (not owned); the window is closed before the base goes.
    explicit TFenSelecFormes(charg1 *base, QWidget *parent = nullptr);
    ~TFenSelecFormes() override;

    ResultatGroupe &Resultat() { return resultat_; }
    const ResultatGroupe &Resultat() const { return resultat_; }
    ModeleResultat *Modele() const { return modele_; }
    // The chip's colour as 0x00BBGGRR; TTgenDragObject::SansCouleur until the user picks one.
    std::int32_t CouleurPastille() const { return couleurPastille_; }
    QString TexteStatut() const;

    // Handlers.
    // Runs the request of the pattern field (button, Enter, change of request type).
    void Recherche();
    // Delete key, or "&Supprimer" without Shift: removes the selected rows.
    void SupprimeSelection();
    // "&Supprimer" with Shift: empties the result.
    void VideResultat();
    void BtnSupprClick();
    void BtnEnrClick();
    void BtnLoadClick();
    // A spelling handed by another window: added when it names a form or punctuation mark.
    void DeposeForme(std::string_view graphie) override;
    // A new computation of the base's repeated segments replaced `anciens` (none at the first):
    // the result follows its segments, and the status says what changed.
    void SegmentsRemplaces(const SegRep *anciens, const SegRep &nouveaux);

    // What a drag carries: from the list, the selected rows in list order with colour 0 (null
    // when no row is selected); from the drag button, the whole result with the chip's colour
    // (null when the result is empty). Both carry the trimmed group name.
    std::unique_ptr<TTgenDragObject> GroupeDeLaSelection() const;
    std::unique_ptr<TTgenDragObject> GroupeComplet() const;

    QGroupBox *GrpBoxOptions = nullptr;
    QLineEdit *EdNomGrp = nullptr;
    QToolButton *DragBtn = nullptr;
    QLineEdit *EdMotif = nullptr;
    QComboBox *LstTypeReq = nullptr;
    QCheckBox *ChkAjout = nullptr;
    QPushButton *BtnRech = nullptr;
    QPushButton *BtnSuppr = nullptr;
    QPushButton *BtnEnr = nullptr;
    QPushButton *BtnLoad = nullptr;
    QLabel *ShPastille = nullptr;
    QTableView *ListResu = nullptr;
    QStatusBar *StatusBar = nullptr;

protected:
    bool eventFilter(QObject *objet, QEvent *event) override;

private:
    // The dialogs (run through the program-wide Dialogues, so tests answer them).
    // Save dialog of a list: the chosen path, empty when cancelled.
    QString ChoisitFichierEnregistrement();
    // "Ouverture d'une liste": the chosen path, empty when cancelled.
    QString ChoisitFichierChargement();
    // The colour dialog: the chosen colour, none when cancelled.
    std::optional<QColor> ChoisitCouleur(const QColor &initiale);
    void Actualise();
    void Signale(const QString &message);
    void FixeCouleurPastille(std::int32_t couleur);
    std::string NomDuGroupe() const;
    // Drops of groups on the list and on the two fields.
    bool TraiteGlisser(QObject *objet, QEvent *event);
    void DemarreGlisserListe();

    ResultatGroupe resultat_;
    ModeleResultat *modele_ = nullptr;
    std::int32_t couleurPastille_;
    bool pastilleArmee_ = false;
    QPoint departGlisser_;
    bool glisserArme_ = false;
    std::unique_ptr<TDropTarget> cibleDepot_;
};

} // namespace talmer
