// Every window readable: the windows of the sample base opened through the program's commands,
// no column title, cell or tree caption is narrower than its text in the view's font (but for a
// column of free text, which elides a long value and gives it whole in its tool tip), no grid row
// is lower than a line of it, and no dialog is narrower than its title. The check runs over every
// view and dialog there is, so a window added later is checked too.
#include "support/poste_test.h"
#include "windows/fenprinc_echantillon.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "services/configuration.h"
#include "services/mesures.h"
#include "shell/fencreercorpus.h"
#include "shell/fenprinc.h"
#include "shell/zone_fenetres.h"
#include "windows/afc/fenparamafc.h"
#include "windows/partitions/fenchoixpart.h"
#include "windows/partitions/fenstatpart.h"
#include "windows/sections/fenchoixdelim.h"
#include "windows/segments/fenprepsr.h"
#include "windows/specificites/paramspec.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTreeView>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

using namespace talmer;

namespace {

// Three buttons of a title bar at the least.
constexpr int BoutonsTitre = 48;

std::string Nom(const QObject &objet)
{
    return std::string(objet.metaObject()->className()) + " " + objet.objectName().toStdString();
}

QString TexteAffiche(const QAbstractItemView &vue, const QModelIndex &index)
{
    QAbstractItemDelegate *delegue = vue.itemDelegateForColumn(index.column());
    if (!delegue)
        delegue = vue.itemDelegate();
    const QVariant valeur = index.data();
    if (const auto *style = qobject_cast<const QStyledItemDelegate *>(delegue))
        return style->displayText(valeur, vue.locale());
    return valeur.toString();
}

// Each title within its section, each value within its cell (with the style's margins), each row
// as high as a line.
void VerifieVue(const QAbstractItemView &vue)
{
    const QAbstractItemModel *modele = vue.model();
    const auto *table = qobject_cast<const QTableView *>(&vue);
    const auto *arbre = qobject_cast<const QTreeView *>(&vue);
    const QHeaderView *entete = table ? table->horizontalHeader() : arbre ? arbre->header() : nullptr;
    if (!modele || !entete)
        return;
    const QStyle *style = vue.style();
    const int margeEntete = 2 * style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, entete);
    const int margeCellule = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &vue) + 1);
    const QFontMetrics police(vue.font());
    const QFontMetrics policeEntete(entete->font());
    for (int c = 0; c < modele->columnCount(); ++c) {
        if (entete->isSectionHidden(c))
            continue;
        const bool texteLibre = modele->headerData(c, Qt::Horizontal, RoleTexteLibre).toBool();
        // Only the title of a column of free text may be elided, in a view too narrow for its
        // columns, and its tool tip then gives it whole.
        if (!entete->isHidden()) {
            const QString titre = modele->headerData(c, Qt::Horizontal).toString();
            if (entete->sectionSize(c) < policeEntete.horizontalAdvance(titre) + margeEntete) {
                EXPECT_TRUE(texteLibre) << Nom(vue) << ": title \"" << titre.toStdString() << "\"";
                EXPECT_EQ(BulleTitre(vue, c), titre) << Nom(vue) << ": title \"" << titre.toStdString() << "\"";
            }
        }
        // Rows in view order, the children of expanded tree items included.
        for (QModelIndex i = modele->index(0, c); i.isValid();
             i = arbre ? arbre->indexBelow(i) : modele->index(i.row() + 1, c)) {
            const QRect cellule = vue.visualRect(i);
            if (cellule.isEmpty())
                continue;
            const QString texte = TexteAffiche(vue, i);
            // As the view draws it: elided when its fractional advance exceeds the room. Only a
            // column of free text (segments, names) may elide a value, and its tool tip then
            // gives the value whole.
            if (police.elidedText(texte, Qt::ElideRight, cellule.width() - margeCellule) == texte)
                continue;
            EXPECT_TRUE(texteLibre) << Nom(vue) << ": row " << i.row() << " column " << c << " \""
                                    << texte.toStdString() << "\"";
            EXPECT_EQ(BulleCellule(vue, i), texte) << Nom(vue) << ": row " << i.row() << " column " << c;
        }
    }
    if (table && modele->rowCount() > 0) {
        EXPECT_GE(table->rowHeight(0), police.lineSpacing()) << Nom(vue);
    }
}

void VerifieDialogue(const QDialog &dialogue)
{
    const QFontMetrics police(dialogue.font());
    EXPECT_GE(dialogue.width(), police.horizontalAdvance(dialogue.windowTitle()) + BoutonsTitre)
        << Nom(dialogue) << ": \"" << dialogue.windowTitle().toStdString() << "\"";
    for (const QAbstractItemView *vue : dialogue.findChildren<QAbstractItemView *>())
        VerifieVue(*vue);
}

class LisibiliteTest : public talmer::test::FenPrincEchantillon {
protected:
    void SetUp() override
    {
        FixeConfigurationProgramme(&configuration);
        FenPrincEchantillon::SetUp();
        fen->resize(1366, 768);
        fen->show();
        TFenParamAFC::FixeProgramme(QStringLiteral(TALMER_BIN_DIR "/ta3afc"));
        // Each dialog is shown as the user sees it, checked, then answered.
        dialogues.repondDialogue = [this](QDialog &d) {
            d.show();
            talmer::test::TraiteEvenements();
            VerifieDialogue(d);
            vus.insert(QString::fromLatin1(d.metaObject()->className()).remove(QStringLiteral("talmer::")).toStdString());
            const int reponse = Repond(d);
            d.hide();
            return reponse;
        };
    }
    void TearDown() override
    {
        TFenParamAFC::FixeProgramme({});
        FenPrincEchantillon::TearDown();
        FixeConfigurationProgramme(nullptr);
    }

    // What the user answers: the key "auteur", the delimiter ".", the lowest thresholds.
    int Repond(QDialog &d)
    {
        if (auto *choix = qobject_cast<TFenChoixPart *>(&d)) {
            for (int i = 0; i < choix->ListParts()->count(); ++i)
                choix->ListParts()->item(i)->setSelected(choix->ListParts()->item(i)->text() == QStringLiteral("auteur"));
            choix->BtnValide()->click();
            return choix->result();
        }
        if (auto *delims = qobject_cast<TFenChoixDelim *>(&d)) {
            for (int i = 0; i < delims->ListDelims()->count(); ++i)
                delims->ListDelims()->item(i)->setSelected(delims->ListDelims()->item(i)->text() == QStringLiteral("."));
            delims->BtnValideClick();
            return delims->result();
        }
        if (auto *prep = qobject_cast<TFenPrepSR *>(&d)) {
            prep->EditSR()->setValue(2);
            return int(QDialog::Accepted);
        }
        if (auto *afc = qobject_cast<TFenParamAFC *>(&d)) {
            afc->CSpinEdit1()->setValue(1);
            afc->BitBtn1Click();
            return afc->result();
        }
        if (auto *parametres = qobject_cast<DialogueParamSpec *>(&d)) {
            parametres->SpinFreqMin()->setValue(1);
            parametres->SpinSeuil()->setValue(100);
            if (auto *groupe = qobject_cast<TFenParamSpec *>(&d))
                groupe->BtnOKClick();
            else if (auto *diac = qobject_cast<TFenParamSpecDiac *>(&d))
                diac->BitBtnOKClick();
            return int(QDialog::Accepted);
        }
        return int(QDialog::Rejected);
    }

    TFenStatPart *StatPart() const
    {
        for (QMdiSubWindow *s : fen->Zone().Mdi()->subWindowList())
            if (auto *f = qobject_cast<TFenStatPart *>(s->widget()))
                return f;
        return nullptr;
    }

    ConfigurationT3 configuration{QString::fromStdString(dir_.path().string())};
    std::set<std::string> vus;
};

} // namespace

TEST_F(LisibiliteTest, ChaqueFenetreMontreSesTitresEtSesValeursEntiers)
{
    fen->Action("BtnPart")->trigger();
    TFenStatPart *stat = StatPart();
    ASSERT_NE(stat, nullptr);
    stat->PartitionStat().Selectionne(0, true);
    for (void (TFenStatPart::*commande)() :
         {&TFenStatPart::BtnSpTotClick, &TFenStatPart::BtnSpEvolClick, &TFenStatPart::BtnSpecifClick,
          &TFenStatPart::BtnZipfClick, &TFenStatPart::BtnAcroiVocClick, &TFenStatPart::BtnAFCClick})
        (stat->*commande)();
    fen->Action("BtnSR")->trigger();
    fen->Action("BtnParag")->trigger();
    fen->Action("BtnSelFormes")->trigger();
    fen->Action("BtnOptions")->trigger();
    {
        TFenCreerCorpus creation(fen.get());
        creation.show();
        VerifieDialogue(creation);
    }
    // A text to segment asks for its delimiters.
    const std::string texte = (dir_.path() / "autre.txt").string();
    talmer::test::writeFile(texte, talmer::test::readFile(talmer::test::CheminEchantillon()));
    fen->Ouverture().SegmenteTexte(QString::fromStdString(texte));
    // The report tree holds a caption.
    fen->Zone().Mdi()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(stat->parentWidget()));
    fen->Action("BtnAjouteRap")->trigger();
    talmer::test::TraiteEvenements();

    for (const char *dialogue : {"TFenChoixPart", "TFenParamSpecTot", "TFenParamSpecDiac", "TFenParamSpec",
                                 "TFenParamAFC", "TFenPrepSR", "TFenChoixDelim", "TFenOpt", "TFenChoixDelimForme"})
        EXPECT_TRUE(vus.count(dialogue)) << dialogue << " was not shown";
    int vues = 0;
    for (QWidget *w : QApplication::allWidgets())
        if (auto *vue = qobject_cast<QAbstractItemView *>(w)) {
            VerifieVue(*vue);
            ++vues;
        }
    EXPECT_GT(vues, 10);
}

namespace {

// The title bar of a child window in its normal state: its whole width, down to its content.
QRect BarreTitre(const QMdiSubWindow &s)
{
    return QRect(s.x(), s.y(), s.width(), s.widget() ? s.widget()->y() : 0);
}

std::string Titre(const QMdiSubWindow &s) { return s.windowTitle().toStdString(); }

} // namespace

// A busy session at 1366 x 768: windows opened while the area shows a scroll bar have their
// title bar and buttons in sight, clear of the scroll bar; tiled or cascaded, every title bar
// stays in sight and none is covered by another window.
TEST_F(LisibiliteTest, UneSeanceChargeeGardeChaqueBarreDeTitreEnVue)
{
    QMdiArea *mdi = fen->Zone().Mdi();
    fen->Action("BtnPart")->trigger();
    TFenStatPart *stat = StatPart();
    ASSERT_NE(stat, nullptr);
    stat->PartitionStat().Selectionne(0, true);
    for (void (TFenStatPart::*commande)() : {&TFenStatPart::BtnSpTotClick, &TFenStatPart::BtnSpecifClick,
                                             &TFenStatPart::BtnZipfClick, &TFenStatPart::BtnAcroiVocClick,
                                             &TFenStatPart::BtnAFCClick})
        (stat->*commande)();
    for (const char *commande : {"BtnSR", "BtnParag", "BtnSelFormes", "BtnDocu"})
        fen->Action(commande)->trigger();
    talmer::test::TraiteEvenements();

    // Restored, and one dragged past the bottom of the area, which brings a vertical scroll bar.
    for (QMdiSubWindow *s : mdi->subWindowList())
        if (s->isMaximized())
            s->showNormal();
    QMdiSubWindow *deplacee = mdi->subWindowList().front();
    deplacee->move(0, mdi->viewport()->height() - 40);
    talmer::test::TraiteEvenements();
    ASSERT_TRUE(mdi->verticalScrollBar()->isVisible());

    // Each window opened or brought forward then, the active one after its command.
    const std::function<void()> commandes[] = {[&] { stat->BtnZipfClick(); }, [&] { stat->BtnAcroiVocClick(); },
                                               [&] { fen->Action("BtnParag")->trigger(); },
                                               [&] { fen->Action("BtnSelFormes")->trigger(); }};
    for (const std::function<void()> &commande : commandes) {
        commande();
        talmer::test::TraiteEvenements();
        QMdiSubWindow *s = mdi->activeSubWindow();
        ASSERT_NE(s, nullptr);
        ASSERT_TRUE(mdi->verticalScrollBar()->isVisible());
        const QRect vue(QPoint(0, 0), mdi->viewport()->size());
        EXPECT_FALSE(s->isMaximized()) << Titre(*s);
        EXPECT_TRUE(vue.contains(BarreTitre(*s))) << Titre(*s);
    }

    // Tiled, then cascaded.
    for (const char *commande : {"Mosaique", "Cascade1"}) {
        fen->Action(commande)->trigger();
        talmer::test::TraiteEvenements();
        const QList<QMdiSubWindow *> pile = mdi->subWindowList(QMdiArea::StackingOrder);
        const QRect zone(QPoint(0, 0), mdi->viewport()->size());
        ASSERT_GT(pile.size(), 9);
        for (qsizetype i = 0; i < pile.size(); ++i) {
            const QRect barre = BarreTitre(*pile[i]);
            EXPECT_TRUE(zone.contains(barre)) << commande << " " << Titre(*pile[i]);
            for (qsizetype j = i + 1; j < pile.size(); ++j) {
                EXPECT_FALSE(pile[j]->geometry().intersects(barre))
                    << commande << " " << Titre(*pile[i]) << " under " << Titre(*pile[j]);
            }
        }
    }
}
