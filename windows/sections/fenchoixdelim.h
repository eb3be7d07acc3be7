// The section dialog "Sections": cuts the text by delimiters chosen among the punctuation of the
// base into a sectioning and opens a map of it, or shows a sectioning made earlier.
#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>
#include <vector>

class QListWidget;
class QPushButton;
class QTabWidget;
class TFenPrinc;
class charg1;
struct InfoSection;

namespace talmer {

class TFenCarteParag;

// The text of a sectioning's node: " découpées d'après le délimiteur: " then a blank and the
// spelling of each delimiter.
QString TexteNoeudSection(const charg1 &base, const std::vector<std::int32_t> &delimiteurs);

// Opens view k + 1 of a registered sectioning: the map window, its caption, its node.
TFenCarteParag *OuvreVueSection(TFenPrinc &fenPrinc, charg1 &base, InfoSection &entree);

class TFenChoixDelim : public QDialog {
    Q_OBJECT
public:
    TFenChoixDelim(TFenPrinc &fenPrinc, charg1 &base, QWidget *parent = nullptr);

    QTabWidget *PgC() const { return pgC_; }
    QListWidget *ListDelims() const { return listDelims_; }
    QListWidget *LBoxSect() const { return lBoxSect_; }
    bool OngletExistantesVisible() const { return existantesVisible_; }

    // "Créer": a sectioning of the selected delimiters (the registered one when it exists) and a
    // new view of it; nothing without a selected delimiter.
    void BtnValideClick();
    // A double-click on the list of sectionings (and "Afficher"): the first view of the selected
    // one to the front.
    void AfficheSectionExistante();
    // The view the last command opened or showed (null when none).
    TFenCarteParag *VueOuverte() const { return vueOuverte_; }

private:
    TFenPrinc &fenPrinc_;
    charg1 &base_;
    QTabWidget *pgC_ = nullptr;
    QListWidget *listDelims_ = nullptr;
    QListWidget *lBoxSect_ = nullptr;
    bool existantesVisible_ = false;
    TFenCarteParag *vueOuverte_ = nullptr;
};

// "Carte des sections": the dialog, modally, for the open base.
void CarteSections(TFenPrinc &fenPrinc, charg1 &base);

} // namespace talmer
