#include "windows/commun/barreparties.h"

#include "services/translation.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>

namespace talmer {

BarreParties::BarreParties(const QString &intitule, const QString &bullePrecedent, const QString &bulleSuivant,
                           QWidget *parent)
    : QWidget(parent)
{
    precedent_ = new QToolButton(this);
    precedent_->setArrowType(Qt::LeftArrow);
    precedent_->setToolTip(bullePrecedent);
    suivant_ = new QToolButton(this);
    suivant_->setArrowType(Qt::RightArrow);
    suivant_->setToolTip(bulleSuivant);
    // The arrows first, so that they stay in place whatever the numbers after them.
    auto *etiquette = new QLabel(intitule, this);
    numero_ = new QSpinBox(this);
    numero_->setObjectName(QStringLiteral("NumeroPartie"));
    numero_->setToolTip(Traduit("Tapez un numéro pour y aller"));
    // A piece is shown once the number is typed whole (Entrée), not at each digit.
    numero_->setKeyboardTracking(false);
    etiquette->setBuddy(numero_);
    texte_ = new QLabel(this);
    texte_->setObjectName(QStringLiteral("NombreParties"));
    auto *ligne = new QHBoxLayout(this);
    ligne->setContentsMargins(2, 2, 2, 2);
    ligne->addWidget(precedent_);
    ligne->addWidget(suivant_);
    ligne->addSpacing(6);
    ligne->addWidget(etiquette);
    ligne->addWidget(numero_);
    ligne->addWidget(texte_);
    ligne->addStretch(1);
    connect(precedent_, &QToolButton::clicked, this, [this] { emit partieDemandee(courante_ - 1); });
    connect(suivant_, &QToolButton::clicked, this, [this] { emit partieDemandee(courante_ + 1); });
    connect(numero_, &QSpinBox::valueChanged, this, [this](int k) {
        if (k - 1 != courante_)
            emit partieDemandee(k - 1);
    });
}

void BarreParties::Actualise(int courante, int total, bool suivante, const QString &texte)
{
    courante_ = courante;
    precedent_->setEnabled(courante > 0);
    suivant_->setEnabled(suivante);
    texte_->setText(texte);
    const QSignalBlocker bloque(numero_);
    numero_->setRange(1, std::max({1, total, courante + 1}));
    numero_->setValue(courante + 1);
}

} // namespace talmer
