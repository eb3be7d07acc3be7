#include "windows/commun/libelle_elude.h"

#include "windows/commun/textes_longs.h"

#include <QPainter>
#include <QStyle>

namespace talmer {

LibelleElude::LibelleElude(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

QString LibelleElude::TexteAffiche() const
{
    return TexteElude(text(), font(), contentsRect().width() - 2 * margin());
}

QSize LibelleElude::minimumSizeHint() const
{
    // As high as its line; as narrow as the layout needs.
    return {0, QLabel::minimumSizeHint().height()};
}

void LibelleElude::paintEvent(QPaintEvent *)
{
    QPainter peintre(this);
    const QRect zone = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&peintre, zone, QStyle::visualAlignment(layoutDirection(), alignment()), palette(), isEnabled(),
                          TexteAffiche(), foregroundRole());
}

} // namespace talmer
