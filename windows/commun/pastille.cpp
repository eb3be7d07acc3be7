#include "windows/commun/pastille.h"


#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>


namespace talmer {

PastilleCouleur::PastilleCouleur(const QColor &couleur, QWidget *parent) : QWidget(parent), couleur_(couleur)
{
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
    choix_ = [](QWidget *parent, const QColor &initiale) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(initiale, parent);
        if (!c.isValid())
            return std::nullopt;
        return c;
    };
}

void PastilleCouleur::FixeCouleur(const QColor &couleur)
{
    if (couleur == couleur_)
        return;
    couleur_ = couleur;
    update();
    emit couleurChangee(couleur_);
}

std::int32_t PastilleCouleur::CouleurBgr() const
{
    return static_cast<std::int32_t>(couleur_.red() | (couleur_.green() << 8) | (couleur_.blue() << 16));
}

void PastilleCouleur::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(Qt::black);
    p.setBrush(couleur_);
    p.drawRect(rect().adjusted(1, 1, -2, -2));
}

void PastilleCouleur::mousePressEvent(QMouseEvent *event)
{
    armee_ = true;
    event->accept();
}

void PastilleCouleur::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (!armee_)
        return;
    armee_ = false;
    if (const std::optional<QColor> c = choix_(this, couleur_))
        FixeCouleur(*c);
}

} // namespace talmer
