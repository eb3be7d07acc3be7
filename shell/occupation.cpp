#include "shell/occupation.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>

namespace {
int niveauOccupation = 0;
}

Occupation::Occupation()
{
    ++niveauOccupation;
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

Occupation::~Occupation()
{
    QApplication::restoreOverrideCursor();
    --niveauOccupation;
}

bool Occupation::EnCours()
{
    return niveauOccupation > 0;
}

void RafraichitEcran()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
