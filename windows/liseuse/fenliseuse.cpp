#include "windows/liseuse/fenliseuse.h"

#include "engine/charg1.h"
#include "engine/tgen.h"
#include "shell/configuration.h"
#include "shell/dialogues.h"
#include "shell/dragobjects.h"
#include "shell/occupation.h"
#include "shell/translation.h"
#include "windows/commun/pagetemporaire.h"
#include "windows/commun/vuehtml.h"
#include "windows/liseuse/pagelecture.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QVBoxLayout>

namespace talmer {

TFenLiseuse::TFenLiseuse(charg1 &base, QWidget *parent) : QWidget(parent), base_(base)
{
    setObjectName(QStringLiteral("FenLiseuse"));
    setWindowTitle(Traduit("Lectorium"));
    resize(696, 480);
    setAcceptDrops(true);

    auto *panHaut = new QWidget(this);
    panHaut->setObjectName(QStringLiteral("PanHaut"));
    panHaut->setFixedHeight(32);
    vue_ = new VueHtml(this);
    auto *l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    l->addWidget(panHaut);
    l->addWidget(vue_, 1);

    page_ = std::make_unique<PageTemporaire>(QStringLiteral("t3th"));
    if (!page_->Valide()) {
        LesDialogues().message(this, windowTitle(), page_->Erreur(), BoutonsMessage::Ok, IconeMessage::Exclamation);
        return;
    }
    if (EcritHtml())
        vue_->Affiche(page_->Chemin(), decoupage_);
}

TFenLiseuse::~TFenLiseuse() = default;

QString TFenLiseuse::CheminPage() const
{
    return page_->Chemin();
}

bool TFenLiseuse::EcritHtml()
{
    if (!page_->Valide())
        return false;
    const ConfigurationDeFonte jeu = JeuDAffichage();
    ParametresPage parametres;
    parametres.charset = jeu.GetHtmlCharset();
    parametres.direction = jeu.GetDirection();
    QString erreur;
    if (!EcritPageLecture(base_, groupe_.get(), parametres, page_->Chemin(), &erreur, &decoupage_)) {
        LesDialogues().message(this, windowTitle(), erreur, BoutonsMessage::Ok, IconeMessage::Exclamation);
        return false;
    }
    return true;
}

void TFenLiseuse::FixeGroupe(std::unique_ptr<Tgen> groupe)
{
    groupe_ = std::move(groupe);
    if (EcritHtml())
        vue_->Rafraichit(&decoupage_);
}

void TFenLiseuse::dragEnterEvent(QDragEnterEvent *event)
{
    if (GroupeAcceptable(event->mimeData(), &base_))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TFenLiseuse::dragMoveEvent(QDragMoveEvent *event)
{
    if (GroupeAcceptable(event->mimeData(), &base_))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TFenLiseuse::dropEvent(QDropEvent *event)
{
    TTgenDragObject *objet = GroupeAcceptable(event->mimeData(), &base_);
    if (!objet) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    Occupation occupation;
    FixeGroupe(objet->ConstruitGroupe(&base_, false));
}

} // namespace talmer
