#include "services/aide.h"

#include "services/dialogues.h"

#include <QCoreApplication>

QString CheminAide()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/aide/html/aide.html");
}

void OuvreAide(QWidget *)
{
    LesDialogues().ouvreDocument(CheminAide());
}
