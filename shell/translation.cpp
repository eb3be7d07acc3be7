#include "shell/translation.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolBox>
#include <QTranslator>
#include <QTreeWidget>
#include <QWidget>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <libintl.h>

// glibc keeps translations it has looked up; bumping this counter makes it look again after the
// language changed.
extern "C" int _nl_msg_cat_cntr;

namespace {

const char *const domaine = "default";
// Qt's own texts that Qt's catalogue for the language lacks, keyed by Qt's context.
const char *const domaineQt = "qt_complement";
const char *const marque = "_talmer_traduit";

QString langueCourante;
std::vector<std::string> classesExclues;

QString normalise(QString code)
{
    // "en_GB.UTF-8@euro" -> "en_GB"
    const qsizetype point = code.indexOf(QLatin1Char('.'));
    if (point >= 0)
        code.truncate(point);
    const qsizetype arobase = code.indexOf(QLatin1Char('@'));
    if (arobase >= 0)
        code.truncate(arobase);
    if (code == QLatin1String("C") || code == QLatin1String("POSIX"))
        return QString();
    return code;
}

bool catalogueExiste(const QString &langue, const char *nomDomaine = domaine)
{
    return !langue.isEmpty() && QFile::exists(DossierCatalogues() + QLatin1Char('/') + langue +
                                              QStringLiteral("/LC_MESSAGES/") + QLatin1String(nomDomaine) +
                                              QStringLiteral(".mo"));
}

// The language Qt's own texts are shown in: that of the interface, French when the interface
// shows its French texts.
QString langueQt()
{
    return langueCourante.isEmpty() ? QStringLiteral("fr") : langueCourante;
}

// Our translations of Qt's texts, asked after Qt's own catalogue has none.
class TraducteurComplementQt : public QTranslator {
public:
    QString translate(const char *contexte, const char *texte, const char *, int) const override
    {
        if (!contexte || !texte || !*texte)
            return QString();
        const std::string cle = std::string(contexte) + '\004' + texte;
        const char *traduit = dgettext(domaineQt, cle.c_str());
        if (!traduit || std::strcmp(traduit, cle.c_str()) == 0)
            return QString();
        return QString::fromUtf8(traduit);
    }
    bool isEmpty() const override { return false; }
};

} // namespace

QString DossierCatalogues()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/locale");
}

bool InitialiseTraduction(const QString &langue)
{
    const QByteArray dossier = QFile::encodeName(DossierCatalogues());
    for (const char *d : {domaine, domaineQt}) {
        bindtextdomain(d, dossier.constData());
        bind_textdomain_codeset(d, "UTF-8");
    }

    QString demande = normalise(langue);
    if (langue.isEmpty()) {
        demande = normalise(QString::fromLocal8Bit(qgetenv("LANG")));
        if (demande.isEmpty())
            demande = normalise(QLocale::system().name());
    }

    // The full code first, then its two-letter language.
    QString choisie;
    if (catalogueExiste(demande))
        choisie = demande;
    else if (catalogueExiste(demande.left(demande.indexOf(QLatin1Char('_')))))
        choisie = demande.left(demande.indexOf(QLatin1Char('_')));

    langueCourante = choisie;

    // gettext ignores the language list under the "C" locale; the UTF-8 variant of it, present
    // on every glibc system, lets the list choose the catalogue whatever locales are installed.
    const char *actuelle = std::setlocale(LC_MESSAGES, nullptr);
    if (!actuelle || std::strcmp(actuelle, "C") == 0 || std::strcmp(actuelle, "POSIX") == 0)
        std::setlocale(LC_MESSAGES, "C.UTF-8");
    // The interface's language, or with no catalogue for it the language of Qt's texts, whose
    // complement is looked up the same way.
    qputenv("LANGUAGE", langueQt().toLatin1());
    ++_nl_msg_cat_cntr;
    InstalleTraductionsQt();
    return !choisie.isEmpty();
}

bool InstalleTraductionsQt()
{
    static QTranslator *traducteurQt = nullptr;
    static QTranslator *complement = nullptr;
    if (!QCoreApplication::instance())
        return false;
    for (QTranslator **t : {&traducteurQt, &complement})
        if (*t) {
            QCoreApplication::removeTranslator(*t);
            delete *t;
            *t = nullptr;
        }
    const QString langue = langueQt();
    if (langue == QLatin1String("en") || langue.startsWith(QLatin1String("en_")))
        return true;
    auto traducteur = std::make_unique<QTranslator>();
    // "qtbase_fr_CA" falls back to "qtbase_fr" when Qt has no catalogue for the region.
    if (!traducteur->load(QStringLiteral("qtbase_") + langue, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    traducteurQt = traducteur.release();
    QCoreApplication::installTranslator(traducteurQt);
    // Installed last, so asked first: it answers only for the texts it holds.
    const QString courte = langue.left(langue.indexOf(QLatin1Char('_')));
    if (catalogueExiste(langue, domaineQt) || catalogueExiste(courte, domaineQt)) {
        complement = new TraducteurComplementQt;
        QCoreApplication::installTranslator(complement);
    }
    return true;
}

QString LangueTraduction()
{
    return langueCourante;
}

QString Traduit(const char *texteFrancais)
{
    if (!texteFrancais || !*texteFrancais)
        return QString();
    if (langueCourante.isEmpty())
        return QString::fromUtf8(texteFrancais);
    return QString::fromUtf8(dgettext(domaine, texteFrancais));
}

QString Traduit(const QString &texteFrancais)
{
    if (texteFrancais.isEmpty() || langueCourante.isEmpty())
        return texteFrancais;
    const QByteArray utf8 = texteFrancais.toUtf8();
    return QString::fromUtf8(dgettext(domaine, utf8.constData()));
}

void ExclutClasseDeTraduction(const char *nomClasse)
{
    if (!nomClasse)
        return;
    for (const std::string &c : classesExclues)
        if (c == nomClasse)
            return;
    classesExclues.emplace_back(nomClasse);
}

namespace {

bool exclu(const QObject *o)
{
    for (const std::string &c : classesExclues)
        if (o->inherits(c.c_str()))
            return true;
    return false;
}

// Applies a translation only where it changes the text, so that properties Qt derives from
// others (an action's tool tip from its text) stay derived.
template <typename Lire, typename Ecrire>
void traduitTexte(Lire lire, Ecrire ecrire)
{
    const QString avant = lire();
    if (avant.isEmpty())
        return;
    const QString apres = Traduit(avant);
    if (apres != avant)
        ecrire(apres);
}

void traduitAction(QAction *a)
{
    if (!a || a->property(marque).toBool())
        return;
    a->setProperty(marque, true);
    traduitTexte([&] { return a->text(); }, [&](const QString &t) { a->setText(t); });
    traduitTexte([&] { return a->toolTip(); }, [&](const QString &t) { a->setToolTip(t); });
    traduitTexte([&] { return a->statusTip(); }, [&](const QString &t) { a->setStatusTip(t); });
    traduitTexte([&] { return a->whatsThis(); }, [&](const QString &t) { a->setWhatsThis(t); });
}

void traduitItemArbre(QTreeWidgetItem *item)
{
    for (int c = 0; c < item->columnCount(); ++c) {
        traduitTexte([&] { return item->text(c); }, [&](const QString &t) { item->setText(c, t); });
        traduitTexte([&] { return item->toolTip(c); }, [&](const QString &t) { item->setToolTip(c, t); });
    }
    for (int i = 0; i < item->childCount(); ++i)
        traduitItemArbre(item->child(i));
}

void traduitItemTable(QTableWidgetItem *item)
{
    if (!item)
        return;
    traduitTexte([&] { return item->text(); }, [&](const QString &t) { item->setText(t); });
    traduitTexte([&] { return item->toolTip(); }, [&](const QString &t) { item->setToolTip(t); });
}

void traduitWidget(QWidget *w)
{
    if (exclu(w))
        return;
    if (!w->property(marque).toBool()) {
        w->setProperty(marque, true);

        traduitTexte([&] { return w->windowTitle(); }, [&](const QString &t) { w->setWindowTitle(t); });
        traduitTexte([&] { return w->toolTip(); }, [&](const QString &t) { w->setToolTip(t); });
        traduitTexte([&] { return w->statusTip(); }, [&](const QString &t) { w->setStatusTip(t); });
        traduitTexte([&] { return w->whatsThis(); }, [&](const QString &t) { w->setWhatsThis(t); });

        if (auto *l = qobject_cast<QLabel *>(w)) {
            traduitTexte([&] { return l->text(); }, [&](const QString &t) { l->setText(t); });
        } else if (auto *b = qobject_cast<QAbstractButton *>(w)) {
            traduitTexte([&] { return b->text(); }, [&](const QString &t) { b->setText(t); });
        } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
            traduitTexte([&] { return g->title(); }, [&](const QString &t) { g->setTitle(t); });
        } else if (auto *e = qobject_cast<QLineEdit *>(w)) {
            traduitTexte([&] { return e->placeholderText(); }, [&](const QString &t) { e->setPlaceholderText(t); });
        } else if (auto *te = qobject_cast<QTextEdit *>(w)) {
            traduitTexte([&] { return te->placeholderText(); }, [&](const QString &t) { te->setPlaceholderText(t); });
        } else if (auto *pe = qobject_cast<QPlainTextEdit *>(w)) {
            traduitTexte([&] { return pe->placeholderText(); }, [&](const QString &t) { pe->setPlaceholderText(t); });
        } else if (auto *cb = qobject_cast<QComboBox *>(w)) {
            for (int i = 0; i < cb->count(); ++i)
                traduitTexte([&] { return cb->itemText(i); }, [&](const QString &t) { cb->setItemText(i, t); });
            traduitTexte([&] { return cb->placeholderText(); }, [&](const QString &t) { cb->setPlaceholderText(t); });
        } else if (auto *tw = qobject_cast<QTabWidget *>(w)) {
            for (int i = 0; i < tw->count(); ++i) {
                traduitTexte([&] { return tw->tabText(i); }, [&](const QString &t) { tw->setTabText(i, t); });
                traduitTexte([&] { return tw->tabToolTip(i); }, [&](const QString &t) { tw->setTabToolTip(i, t); });
            }
        } else if (auto *tb = qobject_cast<QToolBox *>(w)) {
            for (int i = 0; i < tb->count(); ++i) {
                traduitTexte([&] { return tb->itemText(i); }, [&](const QString &t) { tb->setItemText(i, t); });
                traduitTexte([&] { return tb->itemToolTip(i); }, [&](const QString &t) { tb->setItemToolTip(i, t); });
            }
        } else if (auto *m = qobject_cast<QMenu *>(w)) {
            traduitTexte([&] { return m->title(); }, [&](const QString &t) { m->setTitle(t); });
        } else if (auto *lw = qobject_cast<QListWidget *>(w)) {
            for (int i = 0; i < lw->count(); ++i) {
                QListWidgetItem *it = lw->item(i);
                traduitTexte([&] { return it->text(); }, [&](const QString &t) { it->setText(t); });
                traduitTexte([&] { return it->toolTip(); }, [&](const QString &t) { it->setToolTip(t); });
            }
        } else if (auto *trw = qobject_cast<QTreeWidget *>(w)) {
            if (QTreeWidgetItem *entete = trw->headerItem())
                for (int c = 0; c < entete->columnCount(); ++c)
                    traduitTexte([&] { return entete->text(c); }, [&](const QString &t) { entete->setText(c, t); });
            for (int i = 0; i < trw->topLevelItemCount(); ++i)
                traduitItemArbre(trw->topLevelItem(i));
        } else if (auto *tab = qobject_cast<QTableWidget *>(w)) {
            for (int c = 0; c < tab->columnCount(); ++c)
                traduitItemTable(tab->horizontalHeaderItem(c));
            for (int r = 0; r < tab->rowCount(); ++r) {
                traduitItemTable(tab->verticalHeaderItem(r));
                for (int c = 0; c < tab->columnCount(); ++c)
                    traduitItemTable(tab->item(r, c));
            }
        }

        for (QAction *a : w->actions()) {
            traduitAction(a);
            if (QMenu *sous = a->menu())
                traduitWidget(sous);
        }
    }
    for (QObject *enfant : w->children())
        if (auto *ew = qobject_cast<QWidget *>(enfant))
            traduitWidget(ew);
}

} // namespace

void TraduitComposants(QWidget *racine)
{
    if (racine)
        traduitWidget(racine);
}
