// The help page beside the program: <program folder>/aide/html/aide.html.
#pragma once

#include <QString>

class QWidget;

QString CheminAide();
// Opens the help page with the desktop's browser; a failure is not reported.
void OuvreAide(QWidget *parent);
