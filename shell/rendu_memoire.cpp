#include "shell/rendu_memoire.h"

#include "platform/core/memoire.h"

#include <QCoreApplication>
#include <QTimer>

namespace {
bool prevu = false;
int rendus = 0;
} // namespace

void RendMemoireApresCeTour()
{
    if (prevu || !QCoreApplication::instance())
        return;
    prevu = true;
    // A window closed is deleted later in this turn, with its children after its own destructor:
    // the memory is asked for once all of it is freed.
    QTimer::singleShot(0, QCoreApplication::instance(), [] {
        prevu = false;
        talmer::platform::RendMemoireLibre();
        ++rendus;
    });
}

int NombreRendusMemoire()
{
    return rendus;
}
