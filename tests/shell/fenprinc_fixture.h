// The main window of the workbench tests of the shell: TEMP pointing into the test's own folder
// (page files land there), dialogs answered by the test, and the sample base at hand.
#pragma once

#include "support/poste_test.h"

#include "services/rapport.h"
#include "shell/fenprinc.h"
#include "shell/page_rapport.h"
#include "shell/zone_fenetres.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <memory>
#include <string>

namespace talmer::test {

class FenPrincTest : public talmer::test::InTempDir {
protected:
    void SetUp() override
    {
        temp_.emplace("TEMP", dir_.path().string());
        fen = std::make_unique<TFenPrinc>();
    }
    void TearDown() override
    {
        // A report written into the program's folder by a test goes again.
        for (const QString &d : ecrits)
            QDir(d).removeRecursively();
        if (!ecrits.isEmpty())
            QDir().rmdir(Rapport::DossierParDefaut()); // only when nothing else is there
        if (fen) {
            if (fen->Rapports().Courant())
                fen->Rapports().Courant()->Abandonne();
            fen.reset();
        }
        temp_.reset();
    }

    QString BaseEchantillon(const std::string &sousDossier = "base", const std::string &nom = "ville")
    {
        return QString::fromStdString(FabriqueBaseEchantillon(dir_.path() / sousDossier, nom));
    }

    // Adds one page item to the current report, as an analysis window does.
    void AjouteElementAuRapport(const QString &nom = QStringLiteral("page1"))
    {
        Rapport *r = fen->Rapports().Courant();
        ASSERT_NE(r, nullptr);
        writeFile((r->DossierTemporaire() + nom + QStringLiteral(".html")).toStdString(), "<p>x</p>\r\n");
        ASSERT_NE(r->AjouteElement(QStringLiteral("Elément"), nom, QString(), GenreElement::Page), nullptr);
    }

    bool Ferme()
    {
        QCloseEvent e;
        QCoreApplication::sendEvent(fen.get(), &e);
        return e.isAccepted();
    }

    QMdiSubWindow *Enfant(const QString &titre)
    {
        auto *w = new QWidget;
        w->setWindowTitle(titre);
        return fen->Zone().AjouteFenetre(w);
    }

    std::optional<VariableEnv> temp_;
    DialoguesTest dialogues;
    std::unique_ptr<TFenPrinc> fen;
    QStringList ecrits;
};

inline bool Actif(TFenPrinc &f, const char *nom)
{
    return f.Action(nom) && f.Action(nom)->isEnabled();
}

} // namespace talmer::test
