#include "windows/sections/dialogues_carte.h"

#include "services/dialogues.h"
#include "services/translation.h"
#include "windows/commun/choixcouleur.h"
#include "windows/sections/disposition.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace talmer {

namespace {

QPointer<TFenParamCarte> &Instance()
{
    static QPointer<TFenParamCarte> instance;
    return instance;
}

QFrame *Pastille(QWidget *parent)
{
    auto *f = new QFrame(parent);
    f->setFrameShape(QFrame::Box);
    f->setFixedSize(24, 16);
    f->setAutoFillBackground(true);
    return f;
}

void Colore(QFrame *f, std::int32_t couleur)
{
    QPalette p = f->palette();
    p.setColor(QPalette::Window, CouleurDeValeur(couleur));
    f->setPalette(p);
}

QDialogButtonBox *Boutons(QDialog *d, const char *ok, const char *annuler)
{
    auto *b = new QDialogButtonBox(d);
    b->addButton(Traduit(ok), QDialogButtonBox::AcceptRole);
    b->addButton(Traduit(annuler), QDialogButtonBox::RejectRole);
    QObject::connect(b, &QDialogButtonBox::accepted, d, &QDialog::accept);
    QObject::connect(b, &QDialogButtonBox::rejected, d, &QDialog::reject);
    return b;
}

} // namespace

std::optional<Seuils> LitSeuils(const QString &haut, const QString &bas)
{
    bool ok1 = false, ok2 = false;
    Seuils s;
    s.haut = haut.trimmed().toInt(&ok1);
    s.bas = bas.trimmed().toInt(&ok2);
    if (!ok1 || !ok2)
        return std::nullopt;
    return s;
}

TFenParamCarte::TFenParamCarte(QWidget *parent) : QDialog(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    setWindowTitle(Traduit("Réglages"));
    auto *grille = new QGridLayout(this);
    shape1_ = Pastille(this);
    grille->addWidget(shape1_, 0, 0);
    grille->addWidget(new QLabel(Traduit("Couleur"), this), 0, 1);
    const char *libelles[3] = {"Seuil 2", "Seuil 1", "Présence"};
    for (int k = 0; k < 3; ++k) {
        nuances_[k] = Pastille(this);
        grille->addWidget(nuances_[k], k + 1, 0);
        grille->addWidget(new QLabel(Traduit(libelles[k]), this), k + 1, 1);
    }
    edit1_ = new QLineEdit(QStringLiteral("5"), this);
    edit2_ = new QLineEdit(QStringLiteral("2"), this);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    edit2_->setObjectName(QStringLiteral("Edit2"));
    edit1_->setMaximumWidth(50);
    edit2_->setMaximumWidth(50);
    grille->addWidget(edit1_, 1, 2);
    grille->addWidget(edit2_, 2, 2);
    grille->addWidget(Boutons(this, "OK", "Annuler"), 4, 0, 1, 3);
}

void TFenParamCarte::FixeCouleur(std::int32_t couleur)
{
    Colore(shape1_, couleur);
    const Teintes t = TeintesDe(couleur);
    couleurs_[0] = t.couleur1;
    couleurs_[1] = t.couleur2;
    couleurs_[2] = t.couleur3;
    for (int k = 0; k < 3; ++k)
        Colore(nuances_[k], couleurs_[k]);
}

std::int32_t TFenParamCarte::Couleur(int k) const
{
    return k >= 1 && k <= 3 ? couleurs_[k - 1] : 0;
}

void TFenParamCarte::accept()
{
    const std::optional<Seuils> s = LitSeuils(edit1_->text(), edit2_->text());
    if (!s) {
        LesDialogues().message(this, Traduit("Réglages"), Traduit("Les seuils doivent être des nombres entiers."),
                               BoutonsMessage::Ok, IconeMessage::Erreur);
        return;
    }
    seuils_ = *s;
    QDialog::accept();
}

TFenParamCarte &ParamCarte()
{
    if (!Instance())
        Instance() = new TFenParamCarte(nullptr);
    return *Instance();
}

void CreeParamCarte(QWidget *parent)
{
    if (!Instance())
        Instance() = new TFenParamCarte(parent);
}

TfrmChoixSeclectionSection::TfrmChoixSeclectionSection(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(Traduit("Sélection de la sélection"));
    auto *colonne = new QVBoxLayout(this);
    colonne->addWidget(new QLabel(Traduit("Sélectionner les sections :"), this));
    auto *ligne = new QHBoxLayout;
    const char *noms[7] = {"Chk_m3", "Chk_m2", "Chk_m1", "Chk_0", "Chk_p1", "Chk_p2", "Chk_p3"};
    for (int i = 0; i < 7; ++i) {
        auto *c = new QCheckBox(this);
        c->setObjectName(QString::fromLatin1(noms[i]));
        c->setToolTip(QString::asprintf("%+d", i - 3));
        c->setChecked(i == 3);
        ligne->addWidget(c);
        cases_.push_back(c);
        decalages_[c->objectName()] = i - 3;
    }
    colonne->addLayout(ligne);
    colonne->addWidget(Boutons(this, "&OK", "&Annuler"));
    connect(this, &QDialog::accepted, this, &TfrmChoixSeclectionSection::BtnOKClick);
}

void TfrmChoixSeclectionSection::BtnOKClick()
{
    choisis_.clear();
    for (QCheckBox *c : cases_)
        if (c->isChecked())
            choisis_.push_back(decalages_[c->objectName()]);
}

TFenParamSpecSect::TFenParamSpecSect(std::int32_t fmax, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(Traduit("Paramétrage du calcul des spécificités"));
    auto *grille = new QGridLayout(this);
    auto *lb1 = new QLabel(Traduit("Seuil de probabilité :"), this);
    lb1->setToolTip(Traduit("Cette boîte vous permet de régler\r\nle coefficient à partir duquel une \r\nforme sera "
                            "considérée comme \r\nétant spécifique."));
    auto *lb2 = new QLabel(Traduit("Fréquence minimale :"), this);
    lb2->setToolTip(Traduit("Cette boîte vous permet de régler\r\nla fréquence à partir de laquelle une \r\nforme "
                            "sera incluse dans le calcul des\r\nspécifictés."));
    spin1_ = new QSpinBox(this);
    spin1_->setRange(0, 100);
    spin1_->setValue(5);
    spin2_ = new QSpinBox(this);
    spin2_->setRange(1, std::max<std::int32_t>(1, fmax));
    spin2_->setValue(2);
    grille->addWidget(lb1, 0, 0);
    grille->addWidget(spin1_, 0, 1);
    grille->addWidget(lb2, 1, 0);
    grille->addWidget(spin2_, 1, 1);
    grille->addWidget(Boutons(this, "OK", "Annuler"), 2, 0, 1, 2);
}

} // namespace talmer
