#include "windows/commun/vuehtml.h"

#include "platform/qt/codepage.h"
#include "shell/affichage.h"
#include "shell/translation.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <string_view>

namespace talmer {

VueHtml::VueHtml(QWidget *parent) : QWidget(parent)
{
    navigateur_ = new QTextBrowser(this);
    navigateur_->setObjectName(QStringLiteral("HTMLEdit"));
    navigateur_->setOpenLinks(false);
    navigateur_->setAcceptDrops(false);
    navigateur_->viewport()->setAcceptDrops(false);
    connect(navigateur_, &QTextBrowser::anchorClicked, this, &VueHtml::LienClique);

    barre_ = new QWidget(this);
    precedent_ = new QToolButton(barre_);
    precedent_->setArrowType(Qt::LeftArrow);
    precedent_->setToolTip(Traduit("Partie précédente"));
    suivant_ = new QToolButton(barre_);
    suivant_->setArrowType(Qt::RightArrow);
    suivant_->setToolTip(Traduit("Partie suivante"));
    etiquette_ = new QLabel(barre_);
    auto *lb = new QHBoxLayout(barre_);
    lb->setContentsMargins(2, 2, 2, 2);
    lb->addWidget(precedent_);
    lb->addWidget(etiquette_);
    lb->addWidget(suivant_);
    lb->addStretch(1);
    connect(precedent_, &QToolButton::clicked, this, [this] { MontrePartie(partie_ - 1); });
    connect(suivant_, &QToolButton::clicked, this, [this] { MontrePartie(partie_ + 1); });
    barre_->hide();

    auto *l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    l->addWidget(navigateur_, 1);
    l->addWidget(barre_);
}

VueHtml::~VueHtml() = default;

bool VueHtml::Affiche(const QString &chemin)
{
    chemin_ = chemin;
    erreur_.clear();
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly)) {
        erreur_ = Traduit("Impossible de lire la page %1 : %2").arg(chemin, fichier.errorString());
        page_.clear();
        decoupage_ = DecoupeHtml(std::string_view(), taillePartie_);
        Montre(0, 0);
        return false;
    }
    page_ = fichier.readAll();
    decoupage_ = DecoupeHtml(std::string_view(page_.constData(), static_cast<std::size_t>(page_.size())), taillePartie_);
    // Relative links and pictures of the page are found beside it.
    navigateur_->document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(chemin).absolutePath() + QLatin1Char('/')));
    Montre(0, 0);
    return true;
}

bool VueHtml::Rafraichit()
{
    if (chemin_.isEmpty())
        return false;
    const int partie = partie_;
    const int defilement = navigateur_->verticalScrollBar()->value();
    const bool lu = Affiche(chemin_);
    if (lu && (partie != 0 || defilement != 0))
        Montre(partie, defilement);
    return lu;
}

void VueHtml::MontrePartie(int k)
{
    Montre(k, 0);
}

void VueHtml::Montre(int k, int defilement)
{
    const int n = NbParties();
    partie_ = std::clamp(k, 0, std::max(0, n - 1));
    const std::string_view page(page_.constData(), static_cast<std::size_t>(page_.size()));
    std::string html;
    if (!page.empty()) {
        const std::size_t debut = decoupage_.DebutPartie(static_cast<std::size_t>(partie_));
        const std::size_t fin = decoupage_.FinPartie(static_cast<std::size_t>(partie_));
        html.reserve(decoupage_.finEntete + (fin - debut) + (page.size() - decoupage_.debutFin));
        html.append(page.substr(0, decoupage_.finEntete));
        html.append(page.substr(debut, fin - debut));
        html.append(page.substr(decoupage_.debutFin));
    }
    htmlPartie_ = CodePageAffichage().VersUnicode(html);
    navigateur_->setHtml(htmlPartie_);
    navigateur_->verticalScrollBar()->setValue(defilement);
    ActualiseBarre();
}

void VueHtml::ActualiseBarre()
{
    const int n = NbParties();
    barre_->setVisible(n > 1);
    precedent_->setEnabled(partie_ > 0);
    suivant_->setEnabled(partie_ + 1 < n);
    etiquette_->setText(Traduit("Partie %1 sur %2").arg(partie_ + 1).arg(n));
}

bool VueHtml::AllerAAncre(const QString &nom)
{
    const std::string octets = EnCodePage(nom);
    const std::string_view page(page_.constData(), static_cast<std::size_t>(page_.size()));
    for (const char *attribut : {"name=\"", "id=\""}) {
        const std::string motif = attribut + octets + '"';
        const std::size_t p = page.find(motif);
        if (p == std::string_view::npos)
            continue;
        int k = 0;
        while (k + 1 < NbParties() && decoupage_.DebutPartie(static_cast<std::size_t>(k + 1)) <= p)
            ++k;
        if (k != partie_)
            Montre(k, 0);
        navigateur_->scrollToAnchor(nom);
        return true;
    }
    return false;
}

void VueHtml::LienClique(const QUrl &adresse)
{
    if (adresse.scheme().isEmpty() && adresse.path().isEmpty() && adresse.hasFragment()) {
        AllerAAncre(adresse.fragment());
        return;
    }
    emit lienActive(adresse);
}

} // namespace talmer
