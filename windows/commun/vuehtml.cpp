#include "windows/commun/vuehtml.h"

#include "platform/qt/codepage.h"
#include "services/affichage.h"
#include "services/translation.h"
#include "windows/commun/barreparties.h"
#include "windows/commun/decoupagehtml.h"

#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <algorithm>
#include <string_view>

namespace talmer {

namespace {

// How much of the page's start and end is read to find its head and its end.
constexpr std::size_t TailleBout = 64 * 1024;

std::string_view Vue(const QByteArray &octets)
{
    return {octets.constData(), static_cast<std::size_t>(octets.size())};
}

} // namespace

VueHtml::VueHtml(QWidget *parent) : QWidget(parent)
{
    navigateur_ = new QTextBrowser(this);
    navigateur_->setObjectName(QStringLiteral("HTMLEdit"));
    navigateur_->setOpenLinks(false);
    navigateur_->setAcceptDrops(false);
    navigateur_->viewport()->setAcceptDrops(false);
    connect(navigateur_, &QTextBrowser::anchorClicked, this, &VueHtml::LienClique);

    barre_ = new BarreParties(Traduit("Partie"), Traduit("Partie précédente"), Traduit("Partie suivante"), this);
    connect(barre_, &BarreParties::partieDemandee, this, &VueHtml::MontrePartie);
    barre_->hide();

    auto *l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    l->addWidget(navigateur_, 1);
    l->addWidget(barre_);
}

VueHtml::~VueHtml() = default;

QByteArray VueHtml::Lit(std::size_t debut, std::size_t n) const
{
    QFile fichier(chemin_);
    if (!fichier.open(QIODevice::ReadOnly) || !fichier.seek(static_cast<qint64>(debut)))
        return {};
    return fichier.read(static_cast<qint64>(n));
}

bool VueHtml::Affiche(const QString &chemin)
{
    const bool lu = Ouvre(chemin);
    Montre(0, 0);
    return lu;
}

bool VueHtml::Ouvre(const QString &chemin)
{
    chemin_ = chemin;
    erreur_.clear();
    entete_.clear();
    fin_.clear();
    debuts_.clear();
    toutesTrouvees_ = true;
    taillePage_ = 0;
    finCorps_ = 0;
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly)) {
        erreur_ = Traduit("Impossible de lire la page %1 : %2").arg(chemin, fichier.errorString());
        debuts_.push_back(0);
        return false;
    }
    taillePage_ = static_cast<std::size_t>(fichier.size());
    fichier.close();
    // Relative links and pictures of the page are found beside it.
    navigateur_->document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(chemin).absolutePath() + QLatin1Char('/')));

    const QByteArray debut = Lit(0, TailleBout);
    std::size_t finEntete = FinEnteteHtml(Vue(debut));
    if (finEntete == std::string_view::npos && taillePage_ > TailleBout)
        finEntete = FinEnteteHtml(Vue(entete_ = Lit(0, taillePage_))); // an unusually long head
    if (finEntete == std::string_view::npos) {
        // No body to cut: the page shows whole.
        entete_ = Lit(0, taillePage_);
        finCorps_ = taillePage_;
        debuts_.push_back(taillePage_);
        return true;
    }
    entete_ = Lit(0, finEntete);
    const std::size_t debutBout = std::max(finEntete, taillePage_ > TailleBout ? taillePage_ - TailleBout : 0);
    const QByteArray bout = Lit(debutBout, taillePage_ - debutBout);
    const std::size_t fin = DebutFinHtml(Vue(bout));
    finCorps_ = fin == std::string_view::npos ? taillePage_ : debutBout + fin;
    fin_ = bout.mid(static_cast<qsizetype>(finCorps_ - debutBout));
    debuts_.push_back(finEntete);
    toutesTrouvees_ = false;
    return true;
}

void VueHtml::Decouvre(std::size_t k)
{
    while (!toutesTrouvees_ && debuts_.size() <= k + 1) {
        const std::size_t debut = debuts_.back();
        std::size_t fenetre = 2 * taillePartie_;
        for (;;) {
            const std::size_t n = std::min(fenetre, finCorps_ - debut);
            const QByteArray corps = Lit(debut, n);
            const std::size_t longueur = LongueurPartie(Vue(corps), taillePartie_);
            if (longueur != std::string_view::npos) {
                debuts_.push_back(debut + longueur);
                break;
            }
            if (debut + n >= finCorps_ || static_cast<std::size_t>(corps.size()) < n) {
                toutesTrouvees_ = true; // this part runs to the end of the body
                break;
            }
            fenetre *= 2; // an element open over the whole window: look further
        }
    }
}

std::size_t VueHtml::FinPartie(std::size_t k)
{
    Decouvre(k);
    return k + 1 < debuts_.size() ? debuts_[k + 1] : finCorps_;
}

int VueHtml::NbParties()
{
    Decouvre(static_cast<std::size_t>(-2));
    return static_cast<int>(debuts_.size());
}

bool VueHtml::Affiche(const QString &chemin, const DecoupageHtml &decoupage)
{
    const qint64 taille = QFileInfo(chemin).size();
    const auto &d = decoupage.debuts;
    const bool convient = !d.empty() && d.front() == decoupage.finEntete && decoupage.finEntete <= decoupage.debutFin &&
                          static_cast<qint64>(decoupage.debutFin) <= taille && std::is_sorted(d.begin(), d.end()) &&
                          d.back() <= decoupage.debutFin;
    if (!convient)
        return Affiche(chemin);
    if (!Ouvre(chemin)) {
        Montre(0, 0);
        return false;
    }
    // The head and the end as the writer cut them, and every part known.
    entete_ = Lit(0, decoupage.finEntete);
    finCorps_ = decoupage.debutFin;
    fin_ = Lit(finCorps_, taillePage_ - finCorps_);
    debuts_ = d;
    toutesTrouvees_ = true;
    Montre(0, 0);
    return true;
}

bool VueHtml::Rafraichit(const DecoupageHtml *decoupage)
{
    if (chemin_.isEmpty())
        return false;
    const int partie = partie_;
    const int defilement = navigateur_->verticalScrollBar()->value();
    const bool lu = decoupage ? Affiche(chemin_, *decoupage) : Affiche(chemin_);
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
    k = std::max(0, k);
    Decouvre(static_cast<std::size_t>(k));
    partie_ = std::min(k, static_cast<int>(debuts_.size()) - 1);
    const auto kp = static_cast<std::size_t>(partie_);
    QByteArray html = entete_;
    if (debuts_[kp] < finCorps_)
        html += Lit(debuts_[kp], FinPartie(kp) - debuts_[kp]);
    html += fin_;
    htmlPartie_ = CodePageAffichage().VersUnicode(Vue(html));
    navigateur_->setHtml(htmlPartie_);
    navigateur_->verticalScrollBar()->setValue(defilement);
    ActualiseBarre();
}

QToolButton *VueHtml::BoutonPrecedent() const
{
    return barre_->BoutonPrecedent();
}

QToolButton *VueHtml::BoutonSuivant() const
{
    return barre_->BoutonSuivant();
}

QSpinBox *VueHtml::NumeroPartie() const
{
    return barre_->Numero();
}

QLabel *VueHtml::NombreParties() const
{
    return barre_->Texte();
}

void VueHtml::ActualiseBarre()
{
    const bool derniere = toutesTrouvees_ && partie_ + 1 >= static_cast<int>(debuts_.size());
    barre_->setVisible(partie_ > 0 || !derniere);
    int total = static_cast<int>(debuts_.size());
    QString texte;
    if (toutesTrouvees_) {
        texte = Traduit("sur %1").arg(total);
    } else {
        // Parts not reached yet are not counted: the count is estimated from the body's size. A
        // number beyond the last part found goes as far as there are parts.
        const std::size_t corps = finCorps_ - debuts_.front();
        total = static_cast<int>(std::max<std::size_t>(debuts_.size(), (corps + taillePartie_ - 1) / taillePartie_));
        texte = Traduit("sur environ %1").arg(total);
    }
    barre_->Actualise(partie_, total, !derniere, texte);
}

bool VueHtml::AllerAAncre(const QString &nom)
{
    const std::string octets = EnCodePage(nom);
    const QByteArray page = Lit(0, taillePage_);
    const std::string_view vue = Vue(page);
    for (const char *attribut : {"name=\"", "id=\""}) {
        const std::string motif = attribut + octets + '"';
        const std::size_t p = vue.find(motif);
        if (p == std::string_view::npos)
            continue;
        std::size_t k = 0;
        for (;;) {
            Decouvre(k + 1);
            if (k + 1 >= debuts_.size() || debuts_[k + 1] > p)
                break;
            ++k;
        }
        if (static_cast<int>(k) != partie_)
            Montre(static_cast<int>(k), 0);
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
