#include "shell/splash.h"

#include "shell/translation.h"

#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#ifndef TALMER_VERSION
#error "TALMER_VERSION must be defined by the build"
#endif

QPixmap ImageDemarrage()
{
    QPixmap image(513, 333);
    QPainter p(&image);
    QLinearGradient fond(0, 0, 0, 333);
    fond.setColorAt(0.0, QColor(24, 40, 104));
    fond.setColorAt(1.0, QColor(64, 88, 160));
    p.fillRect(image.rect(), fond);
    p.setRenderHint(QPainter::Antialiasing);
    // A few bars of a frequency distribution as the picture's motif.
    const int hauteurs[] = {150, 96, 70, 55, 44, 36, 30, 25, 21, 18, 15, 13, 11, 9, 8, 7};
    int x = 300;
    for (int h : hauteurs) {
        p.fillRect(QRect(x, 260 - h, 10, h), QColor(255, 255, 255, 70));
        x += 13;
    }
    p.setPen(Qt::white);
    QFont titre(QStringLiteral("Sans Serif"), 40, QFont::Bold);
    p.setFont(titre);
    p.drawText(QRect(24, 40, 480, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Talmer3"));
    QFont sousTitre(QStringLiteral("Sans Serif"), 13);
    p.setFont(sousTitre);
    p.drawText(QRect(26, 110, 460, 30), Qt::AlignLeft | Qt::AlignVCenter,
               Traduit("Statistique lexicale des corpus"));
    return image;
}

const QIcon &IconeProgramme()
{
    static const QIcon icone = [] {
        QIcon i;
        for (int cote : {16, 24, 32, 48, 64}) {
            QPixmap image(cote, cote);
            image.fill(Qt::transparent);
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            QLinearGradient fond(0, 0, 0, cote);
            fond.setColorAt(0.0, QColor(24, 40, 104));
            fond.setColorAt(1.0, QColor(64, 88, 160));
            p.setPen(Qt::NoPen);
            p.setBrush(fond);
            p.drawRoundedRect(QRectF(0, 0, cote, cote), cote / 8.0, cote / 8.0);
            // The bars of a frequency distribution, falling from left to right.
            const double hauteurs[] = {0.72, 0.46, 0.32, 0.22};
            const double pas = cote / 5.0;
            for (int k = 0; k < 4; ++k) {
                const double h = hauteurs[k] * cote;
                p.fillRect(QRectF(pas * (k + 0.6), cote * 0.86 - h, pas * 0.7, h), Qt::white);
            }
            p.end();
            i.addPixmap(image);
        }
        return i;
    }();
    return icone;
}

TSplashScreen::TSplashScreen(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SplashScreen"));
    setFixedSize(528, 371);

    auto *panneau = new QFrame(this);
    panneau->setGeometry(0, 0, 528, 371);
    panneau->setAutoFillBackground(true);

    auto *interieur = new QFrame(panneau);
    interieur->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    interieur->setGeometry(7, 5, 514, 335);
    interieur->setAutoFillBackground(true);
    QPalette pal = interieur->palette();
    pal.setColor(QPalette::Window, QColor(64, 88, 160));
    interieur->setPalette(pal);

    image1_ = new QLabel(interieur);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setPixmap(ImageDemarrage());
    image1_->setGeometry(1, 1, 513, 333);

    lbVersion_ = new QLabel(interieur);
    lbVersion_->setObjectName(QStringLiteral("LbVersion"));
    lbVersion_->move(8, 316);
    QFont f(QStringLiteral("Sans Serif"));
    f.setPointSize(10);
    lbVersion_->setFont(f);
    lbVersion_->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    lbVersion_->setText(Traduit("Version : ") + QStringLiteral(TALMER_VERSION));
    lbVersion_->adjustSize();

    auto *gauche = new QLabel(Traduit("Atelier de statistique lexicale"), panneau);
    gauche->move(8, 352);
    gauche->setStyleSheet(QStringLiteral("color: blue;"));
    gauche->adjustSize();
    auto *droite = new QLabel(Traduit("Démarrage en cours..."), panneau);
    droite->move(313, 352);
    droite->setStyleSheet(QStringLiteral("color: blue;"));
    droite->adjustSize();

    if (QScreen *ecran = QGuiApplication::primaryScreen()) {
        const QRect r = ecran->geometry();
        move(r.x() + r.width() / 2 - width() / 2, r.y() + r.height() / 2 - height() / 2);
    }
}

void TSplashScreen::mousePressEvent(QMouseEvent *event)
{
    // A click on the picture closes the splash screen before its time.
    QWidget::mousePressEvent(event);
    close();
}
