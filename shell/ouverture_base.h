// Opening, segmenting and closing the corpus base: the checks and questions before anything is
// written, the load or the segmentation with its progress, and the one base kept open with the
// repeated-segment computations attached to it. The main window builds the base's workspace when
// it hears baseChargee and takes it down when it hears fermetureBase.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

class BarreEtat;
class QWidget;
class SegRep;
class charg1;

// What the repeated-segment set-up dialog returns when confirmed.
struct ParametresSegmentsRepetes {
    std::set<std::int32_t> delimiteurs; // entity numbers of the checked delimiters
    std::int32_t editForme = 0;         // first value given to CalcSegRep
    std::int32_t freqMin = 2;           // minimum frequency of a segment
};

// The file a text to segment is chosen with; empty when cancelled. By default a plain open dialog
// for .txt and .doc files; the corpus-open dialog (with corpus building) replaces it.
using ChoixTexte = std::function<QString(QWidget *parent)>;

class OuvertureBase : public QObject {
    Q_OBJECT
public:
    // `fenetre`: the window its dialogs belong to; `etat`: the status bar its work reports in;
    // `accepteRemplacement`: asked before the open base and its work are replaced (false: nothing
    // is done).
    OuvertureBase(QWidget *fenetre, BarreEtat &etat, std::function<bool()> accepteRemplacement);
    ~OuvertureBase() override;

    // The open base (null while none is).
    charg1 *Base() const { return base_.get(); }

    // "Ouvrir": a parameter file chosen in a dialog, then OuvreBase.
    void ChoisitEtOuvre();
    // "Segmenter": a text chosen (FixeChoixTexte), then SegmenteTexte.
    void ChoisitEtSegmente();
    void FixeChoixTexte(ChoixTexte choix) { choixTexte_ = std::move(choix); }

    // Opens the base whose parameter file is given; the open one is replaced only on success.
    // False when nothing was opened (cancelled, or an error the user was told about).
    bool OuvreBase(const QString &cheminPar);
    // Checks the keys of a text, asks for the delimiters, segments it and opens the new base.
    bool SegmenteTexte(const QString &cheminTexte);
    // The command line's file (arguments after the program's name; the first is a whole path).
    void OuvreLigneDeCommande(const QStringList &arguments);
    // Closes everything that refers to the open base (fermetureBase), then frees it.
    void FermeBase();

    // Computes the repeated segments of the open base and attaches them in its place of the
    // earlier ones (segmentsRemplaces), which stay alive for the lists made from them until the
    // base goes. Null when the user stopped the work or no segment was found (the user told).
    SegRep *CalculeSegments(const ParametresSegmentsRepetes &parametres);

signals:
    // The open base is about to be closed (replaced by another, or the program ends): whatever
    // refers to it lets it go now.
    void fermetureBase(charg1 *base);
    // A base loaded from the parameter file `chemin` is in place: its workspace is built now.
    void baseChargee(charg1 *base, const QString &chemin);
    // The base is open, its workspace built.
    void baseOuverte(charg1 *base);
    // A new computation of the open base's repeated segments has been attached in place of
    // `anciens` (null at the first): segment numbers (Nbart+1+k) now name its segments.
    void segmentsRemplaces(charg1 *base, const SegRep *anciens, const SegRep &nouveaux);

private:
    bool OuvreBaseSansDemander(const QString &cheminPar);
    bool ChangeDossierCourant(const QString &dossier);
    // A UTF-8 text: offers to convert it into a new file, which then replaces `chemin`. False
    // when the user cancelled or the conversion failed (the user was told).
    bool ProposeConversionUtf8(QString &chemin);
    // True, the user told, when the text holds no word form with these delimiters.
    bool RefuseTexteSansForme(const QString &chemin, const std::string &delimiteurs);

    QWidget *fenetre_;
    BarreEtat &etat_;
    std::function<bool()> accepteRemplacement_;
    ChoixTexte choixTexte_;
    std::unique_ptr<charg1> base_;
    std::vector<std::unique_ptr<SegRep>> segmentsBase_;
};

// The message of a failed load: "Erreur " followed by the text of the loader's code.
QString MessageErreurChargement(int code);
