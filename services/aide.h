// The help page beside the program: <program folder>/aide/html/aide.html.
#pragma once

#include <QString>

class QWidget;

QString CheminAide();
// Opens the help page with the desktop's browser; when it is missing or no browser could start,
// a message over `parent` gives its path.
void OuvreAide(QWidget *parent);
