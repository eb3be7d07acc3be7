#include "services/aide.h"

#include "services/dialogues.h"
#include "services/translation.h"

#include <QCoreApplication>

QString CheminAide()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/aide/html/aide.html");
}

void OuvreAide(QWidget *parent)
{
    OuvreDocumentOuDit(parent, CheminAide(),
                       Traduit("Impossible d'ouvrir l'aide : aucun navigateur n'a pu être lancé.\n"
                               "Ouvrez vous-même le fichier :\n%1"),
                       Traduit("Impossible d'ouvrir l'aide : ce fichier est introuvable :\n%1"));
}
