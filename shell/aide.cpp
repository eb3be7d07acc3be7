#include "shell/aide.h"

#include "shell/dialogues.h"

#include <QCoreApplication>

QString CheminAide()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/aide/html/aide.html");
}

void OuvreAide(QWidget *)
{
    LesDialogues().ouvreDocument(CheminAide());
}
