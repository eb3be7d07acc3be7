// The analysis report of the open base: items (HTML pages, with an XML fragment for some, and
// JPEG pictures) kept in a private temporary folder until the report is written as a folder with
// an HTML index, the item pages, decorations and one XML document.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class QStandardItem;
class QStandardItemModel;
class charg1;

// The text of one note attached to a node of the report tree (the dialog's lines, each followed
// by CR LF).
class MemoRapport {
public:
    MemoRapport() = default;
    explicit MemoRapport(const QString &texte) : texte_(texte) {}
    QString GetTexte() const { return texte_; }
    void SetTexte(const QString &texte) { texte_ = texte; }

private:
    QString texte_;
};

// Notes of a report by node. A node is known by its item number (the root: -1), never by its
// address, so a note never passes to a node created after its own was deleted.
using MapDeMemos = std::map<int, MemoRapport>;

// What an item of the report is.
enum class GenreElement {
    Page,  // base name N: N.html (and N.xml when the window wrote a fragment) in the temporary folder
    Image, // file name ending in ".jpg" in the temporary folder
};

// The counts of the base that the index page shows, and its name.
struct CaracteristiquesBase {
    std::string NomBase; // bytes of the display code page
    std::int32_t Nbocc = 0;
    std::int32_t Nbform = 0;
    std::int32_t Fmax = 0;
    std::int32_t Nhap = 0;
};

// The name and counts of a loaded base (empty for none).
CaracteristiquesBase CaracteristiquesDe(const charg1 *base);

class Rapport {
public:
    // Roles of the report tree's nodes: the item's number in the lists (absent on the root) and
    // its state picture (1, or 2 once a note is attached).
    static constexpr int RoleElement = Qt::UserRole + 1;
    static constexpr int RoleEtat = Qt::UserRole + 2;
    // The caption of an item as HTML, as the index writes it (the node shows it as plain text).
    static constexpr int RoleLegende = Qt::UserRole + 3;

    // Empties the tree and gives it its root node "Elements du rapport" (translated), state 1.
    static void InitArbreRapport(QStandardItemModel *arbre);

    // A new report on the tree (already reset to its root by the caller) and the base (may be
    // null). Creates the temporary folder "tam3-XXXXXX" in the folder named by TEMP (the system's
    // temporary folder when TEMP is not set); the report exists even when that fails
    // (DossierTemporaireValide() tells). The name is the base name, "_" and `creation` as
    // yyyymmdd-hhnnss.
    Rapport(QStandardItemModel *arbre, const charg1 *base, const CaracteristiquesBase &caracteristiques,
            const QDateTime &creation = QDateTime::currentDateTime());
    // The same, with the name and counts read from the base.
    Rapport(QStandardItemModel *arbre, const charg1 *base, const QDateTime &creation = QDateTime::currentDateTime());
    // Removes the temporary folder, unless items are still unsaved and Abandonne() was not called
    // (then the folder stays where it is, so nothing is lost without the user's word).
    ~Rapport();
    Rapport(const Rapport &) = delete;
    Rapport &operator=(const Rapport &) = delete;

    // Adds an item whose files the window has already written into the temporary folder: a node
    // under the tree's root with `caption`, the item number and state 1; the report becomes
    // unsaved. A page is named by a base name without extension, a picture by its ".jpg" file name.
    // `caption` is HTML, written into the index as given ("Section n&deg;3"): the window escapes
    // (EchappeTexte) whatever piece of it comes from the base, a window's title or the user; the
    // node shows it as plain text. `titre` is the heading of a picture's page (HTML markup,
    // written as given). Returns the new
    // node, or null (nothing added) when `fichier` is not a plain file name (empty, a separator, a
    // control byte, "." or ".."), or a picture name that does not end in ".jpg".
    QStandardItem *AjouteElement(const QString &caption, const QString &fichier, const QString &titre,
                                 GenreElement genre);

    // Writes the report folder into `destination` (created when missing): <destination>/<name>/
    // with "index.htm", "contenu/" and "xml/rapport.xml". Every step is checked; on any failure
    // the report stays unsaved and false is returned with the reasons in French in *erreur (the
    // steps that can go on do: one bad item does not keep the others from being written). An
    // empty destination writes nothing and fails.
    bool Genere(const QString &destination, QString *erreur = nullptr);

    // The report folder of the last generation, ending in '/' ("" before the first).
    QString Destination() const { return destination_; }
    void FixeDestination(const QString &destination) { destination_ = destination; }

    // Attaches a note to a node of the tree (replacing an earlier one) and gives the node state 2.
    // The index prints a note as typed: it is the user's own markup.
    void FixeMemo(const MemoRapport &memo, QStandardItem *noeud);
    // The node's note, or null.
    const MemoRapport *Memo(const QStandardItem *noeud) const;

    // Charset name and direction of the current display character set ("windows-1252", "LTR").
    std::string Charset() const;
    std::string Direction() const;

    // The private folder the windows write their item files into, ending in '/'.
    QString DossierTemporaire() const { return dossierTemporaire_; }
    bool DossierTemporaireValide() const { return temporaireValide_; }

    // Base name + "_" + yyyymmdd-hhnnss (as Unicode; the base name is decoded from the display
    // code page).
    QString Nom() const { return nom_; }
    // True when nothing is unsaved: after construction and after a successful Genere.
    bool EstSauve() const { return sauve_; }
    // Number of items ever added (deleted nodes included).
    int NbElements() const { return static_cast<int>(fichiers_.size()); }
    QStringList FichiersElements() const { return fichiers_; }
    QStringList TitresElements() const { return titres_; }
    GenreElement Genre(int element) const { return genres_.at(static_cast<std::size_t>(element)); }
    const charg1 *Base() const { return base_; }
    QStandardItemModel *Arbre() const { return arbre_; }

    // The folder the decorations are copied from: "images" beside the program unless set.
    QString DossierDecors() const;
    void FixeDossierDecors(const QString &dossier) { dossierDecors_ = dossier; }

    // The user chose not to save: the destructor may remove the temporary folder.
    void Abandonne() { abandonne_ = true; }

    // Where a report goes when the user chose no folder: the folder "RAPPORT" beside the program
    // when it can be written there, else "RAPPORT" in the user's documents folder (*repli true).
    static QString DossierParDefaut(bool *repli = nullptr);

private:
    QStandardItem *racine() const;

    MapDeMemos memos_;
    QString nom_;
    QString destination_;
    const charg1 *base_ = nullptr;
    CaracteristiquesBase caracteristiques_;
    QString dossierTemporaire_;
    bool temporaireValide_ = false;
    QStandardItemModel *arbre_ = nullptr;
    QStringList fichiers_;
    QStringList titres_;
    std::vector<GenreElement> genres_;
    bool sauve_ = true;
    bool abandonne_ = false;
    QString dossierDecors_;
};

// The current report of the program (not owned; the main window owns it). Null until a base is
// opened.
Rapport *RapportCourant();
void FixeRapportCourant(Rapport *rapport);
