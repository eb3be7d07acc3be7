// Translation of the interface through GNU gettext message catalogues (domain "default").
// The French texts are the message identifiers; catalogues lie in
// <program folder>/locale/<lang>/LC_MESSAGES/default.mo.
#pragma once

#include <QString>

class QWidget;

// Binds the domain to the program's "locale" folder and chooses the language: `langue` when given,
// else the LANG environment variable, else the system locale; "en_GB" falls back to "en" when
// there is no catalogue for the full code. Returns true when a catalogue was found (with none,
// the French texts are shown). May be called again to change language. Qt's own texts (standard
// buttons, file and folder choosers) follow the same language (InstalleTraductionsQt).
bool InitialiseTraduction(const QString &langue = QString());
// Qt's own translations for the language the interface is shown in: that of the catalogue in
// use, French when none is (the interface then shows its French texts). Read from Qt's
// translations folder; true when found, or when the language is English (Qt's own).
bool InstalleTraductionsQt();
// The language whose catalogue is in use ("en", "en_GB"), "" when none.
QString LangueTraduction();
// The folder holding the catalogues: <program folder>/locale.
QString DossierCatalogues();

// Translation of a French text (UTF-8); the text itself when the catalogue lacks it.
QString Traduit(const char *texteFrancais);
QString Traduit(const QString &texteFrancais);

// Widgets of this class (or derived from it, by Qt class name) and their children are never
// translated by TraduitComposants: the HTML view, whose content is a generated page.
void ExclutClasseDeTraduction(const char *nomClasse);

// Translates once every visible text of the widget tree rooted at `racine`: window titles,
// captions of labels, buttons, group boxes, tabs, menus and actions, hints (tool tips, status
// tips, placeholder texts), and list items (combo boxes, list, tree and table widgets and their
// headers). A widget already translated is left alone, so a second call changes nothing.
void TraduitComposants(QWidget *racine);
