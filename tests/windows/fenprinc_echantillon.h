// A fixture for the window tests that need the real main window: the analysis windows installed,
// TEMP pointing into the test's own folder (page files land there), dialogs answered by the test,
// and by default the sample base open.
#pragma once

#include "services/rapport.h"
#include "shell/fenprinc.h"
#include "shell/page_rapport.h"
#include "support/poste_test.h"
#include "support/tempdir.h"
#include "windows/installation.h"

#include <QFile>

#include <memory>

namespace talmer::test {

class FenPrincEchantillon : public InTempDir {
protected:
    void SetUp() override { Prepare(true); }
    void TearDown() override
    {
        if (fen && fen->Rapports().Courant())
            fen->Rapports().Courant()->Abandonne();
        fen.reset();
        temp_.reset();
    }

    // Builds the main window; with `ouvreEchantillon`, opens the sample base in "base/".
    void Prepare(bool ouvreEchantillon)
    {
        temp_.emplace("TEMP", dir_.path().string());
        fen = std::make_unique<TFenPrinc>();
        InstalleFenetres(*fen);
        if (!ouvreEchantillon)
            return;
        const std::string par = FabriqueBaseEchantillon(dir_.path() / "base");
        ASSERT_FALSE(par.empty());
        ASSERT_TRUE(fen->Ouverture().OuvreBase(QString::fromStdString(par)));
        base = fen->Base();
    }

    DialoguesTest dialogues;
    std::unique_ptr<TFenPrinc> fen;
    charg1 *base = nullptr;

private:
    std::optional<VariableEnv> temp_;
};

} // namespace talmer::test
