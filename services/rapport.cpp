#include "services/rapport.h"

#include "engine/charg1.h"
#include "platform/qt/ecriture_sure.h"

#include "services/affichage.h"
#include "services/jeu_affichage.h"
#include "services/translation.h"
#include "services/utilitaires.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QUrl>

#include <functional>

namespace {

Rapport *rapportCourant = nullptr;

// The report folder's name comes from the base's name, read from a file: keep it a single
// folder name whatever it holds.
QString nomDeDossierSur(QString nom)
{
    for (QChar &c : nom)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char('_');
    return nom;
}

// A file name as it goes into a link: unchanged for plain ASCII names, percent-encoded (UTF-8,
// as the name lies on disk) otherwise, so the browser finds the file whatever the page's charset.
std::string lien(const QString &nomFichier)
{
    return QUrl::toPercentEncoding(nomFichier).toStdString();
}

// What the tree shows of an HTML caption: its text, references resolved, markup dropped.
QString texteDeLegende(const QString &legende)
{
    return QTextDocumentFragment::fromHtml(legende).toPlainText();
}

bool lit(const QString &chemin, QByteArray &contenu, QStringList &erreurs)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) {
        erreurs << Traduit("Impossible de lire «\u00A0%1\u00A0» : %2").arg(chemin, f.errorString());
        return false;
    }
    contenu = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        erreurs << Traduit("Impossible de lire «\u00A0%1\u00A0» : %2").arg(chemin, f.errorString());
        return false;
    }
    return true;
}

// Writes under a temporary name in the same folder, renamed when complete.
bool ecrit(const QString &chemin, const QByteArray &contenu, QStringList &erreurs)
{
    talmer::EchecEcriture echec;
    const bool ok = talmer::EcritFichierSur(chemin, contenu, &echec);
    if (!ok)
        erreurs << MessageEcriture(echec);
    return ok;
}

bool copie(const QString &source, const QString &cible, QStringList &erreurs)
{
    QByteArray contenu;
    if (!lit(source, contenu, erreurs))
        return false;
    return ecrit(cible, contenu, erreurs);
}

QByteArray octets(const std::string &s)
{
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}

bool nomDeFichierSimple(const QString &nom)
{
    if (nom.isEmpty() || nom == QLatin1String(".") || nom == QLatin1String(".."))
        return false;
    for (QChar c : nom)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    return true;
}

} // namespace

Rapport *RapportCourant() { return rapportCourant; }
void FixeRapportCourant(Rapport *rapport) { rapportCourant = rapport; }

void Rapport::InitArbreRapport(QStandardItemModel *arbre)
{
    if (!arbre)
        return;
    arbre->clear();
    auto *racine = new QStandardItem(Traduit("Elements du rapport"));
    racine->setData(1, RoleEtat);
    racine->setEditable(false);
    arbre->appendRow(racine);
}

Rapport::Rapport(QStandardItemModel *arbre, const charg1 *base, const CaracteristiquesBase &caracteristiques,
                 const QDateTime &creation)
    : base_(base), caracteristiques_(caracteristiques), arbre_(arbre)
{
    nom_ = nomDeDossierSur(EnUnicode(caracteristiques_.NomBase)) + QLatin1Char('_') +
           creation.toString(QStringLiteral("yyyyMMdd-HHmmss"));

    QString racineTemp = QString::fromLocal8Bit(qgetenv("TEMP"));
    if (racineTemp.isEmpty() || !QFileInfo(racineTemp).isDir())
        racineTemp = QDir::tempPath();
    QTemporaryDir dossier(racineTemp + QStringLiteral("/tam3-XXXXXX"));
    dossier.setAutoRemove(false);
    temporaireValide_ = dossier.isValid();
    if (temporaireValide_)
        dossierTemporaire_ = dossier.path() + QLatin1Char('/');
}

CaracteristiquesBase CaracteristiquesDe(const charg1 *base)
{
    CaracteristiquesBase c;
    if (!base)
        return c;
    c.NomBase = base->NomBase();
    c.Nbocc = base->Nbocc();
    c.Nbform = base->Nbform();
    c.Fmax = base->Fmax();
    c.Nhap = base->Nhap();
    return c;
}

Rapport::Rapport(QStandardItemModel *arbre, const charg1 *base, const QDateTime &creation)
    : Rapport(arbre, base, CaracteristiquesDe(base), creation)
{
}

Rapport::~Rapport()
{
    if (rapportCourant == this)
        rapportCourant = nullptr;
    if (temporaireValide_ && (sauve_ || abandonne_))
        QDir(dossierTemporaire_).removeRecursively();
}

QStandardItem *Rapport::racine() const
{
    if (!arbre_)
        return nullptr;
    if (arbre_->rowCount() == 0)
        InitArbreRapport(arbre_);
    return arbre_->item(0);
}

QStandardItem *Rapport::AjouteElement(const QString &caption, const QString &fichier, const QString &titre,
                                      GenreElement genre)
{
    if (!nomDeFichierSimple(fichier))
        return nullptr;
    if (genre == GenreElement::Image && (!fichier.endsWith(QLatin1String(".jpg")) || fichier.size() <= 4))
        return nullptr;
    QStandardItem *parent = racine();
    if (!parent)
        return nullptr;

    const int numero = static_cast<int>(fichiers_.size());
    fichiers_ << fichier;
    titres_ << titre;
    genres_.push_back(genre);

    auto *noeud = new QStandardItem(texteDeLegende(caption));
    noeud->setData(caption, RoleLegende);
    noeud->setData(numero, RoleElement);
    noeud->setData(1, RoleEtat);
    noeud->setEditable(false);
    parent->appendRow(noeud);
    sauve_ = false;
    return noeud;
}

void Rapport::FixeMemo(const MemoRapport &memo, QStandardItem *noeud)
{
    if (!noeud)
        return;
    const QVariant v = noeud->data(RoleElement);
    memos_[v.isValid() ? v.toInt() : -1] = memo;
    noeud->setData(2, RoleEtat);
}

const MemoRapport *Rapport::Memo(const QStandardItem *noeud) const
{
    if (!noeud)
        return nullptr;
    const QVariant v = noeud->data(RoleElement);
    const auto it = memos_.find(v.isValid() ? v.toInt() : -1);
    return it == memos_.end() ? nullptr : &it->second;
}

std::string Rapport::Charset() const
{
    return JeuDAffichage().GetHtmlCharset();
}

std::string Rapport::Direction() const
{
    return JeuDAffichage().GetDirection();
}

bool Rapport::Genere(const QString &destination, QString *erreur)
{
    QStringList erreurs;
    auto fin = [&](bool ok) {
        if (erreur)
            *erreur = erreurs.join(QLatin1Char('\n'));
        return ok;
    };
    if (destination.isEmpty()) {
        erreurs << Traduit("Aucun dossier de destination : le rapport n'est pas enregistré.");
        return fin(false);
    }

    QString dossier = destination;
    if (!dossier.endsWith(QLatin1Char('/')))
        dossier += QLatin1Char('/');
    const QString r = dossier + nom_ + QLatin1Char('/');
    const QString contenu = r + QStringLiteral("contenu/");
    for (const QString &d : {contenu, r + QStringLiteral("xml")}) {
        if (!QDir().mkpath(d)) {
            erreurs << Traduit("Impossible de créer le dossier «\u00A0%1\u00A0».").arg(d);
            return fin(false);
        }
    }

    const std::string charset = Charset();
    const std::string ligne = "\r\n";
    std::string xml = "<?xml version=\"1.0\" encoding=\"" + charset + "\"?>\n<rapport>\n";
    std::string index;
    index += "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=" + charset + "\" />" + ligne;
    index += "<title>Rapport</title></head>" + ligne;
    index += "<body background=\"contenu/paper.gif\"" + ligne;
    index += "dir=\"" + Direction() + "\">" + ligne;
    index += "<table width=\"100%\" border=\"1\" cellpadding=\"5\" background=\"contenu/grille.gif\"><tr> "
             "<td colspan=\"2\"><img src=\"contenu/cube.gif\">&nbsp;&nbsp; Rapport d'analyse <br></table><br>" +
             ligne;
    index += "<table width=\"100%\" border=\"1\" cellpadding=\"5\" background=\"contenu/grille.gif\"><tr> "
             "<td colspan=\"2\"><img src=\"contenu/bulle.gif\">Principales carat&eacute;ristiques "
             "lexicom&eacute;triques" +
             ligne;
    index += "<tr><td><img src=\"contenu/bulle.gif\">Nombre des occurrences <td align=right>" +
             std::to_string(caracteristiques_.Nbocc) + ligne;
    index += "<tr><td><img src=\"contenu/bulle.gif\">Nombre des formes<td align=right>" +
             std::to_string(caracteristiques_.Nbform) + ligne;
    index += "<tr><td><img src=\"contenu/bulle.gif\">Fr&eacute;quence maximale<td align=right>" +
             std::to_string(caracteristiques_.Fmax) + ligne;
    index += "<tr><td><img src=\"contenu/bulle.gif\">Nombre des hapax<td align=right>" +
             std::to_string(caracteristiques_.Nhap) + ligne;
    index += "</table><br><br>" + ligne;

    // Decorations the pages point to.
    const QString images = DossierDecors();
    for (const char *decor : {"paper.gif", "bulle.gif", "cube.gif", "grille.gif"}) {
        const QString source = images + QLatin1String(decor);
        if (!QFileInfo::exists(source))
            erreurs << Traduit("Décoration du rapport manquante : «\u00A0%1\u00A0».").arg(source);
        else
            copie(source, contenu + QLatin1String(decor), erreurs);
    }

    index += "<ol>" + ligne;
    std::function<void(QStandardItem *)> parcours = [&](QStandardItem *noeud) {
        for (int i = 0; i < noeud->rowCount(); ++i) {
            QStandardItem *enfant = noeud->child(i);
            if (!enfant)
                continue;
            const QVariant v = enfant->data(RoleElement);
            const int k = v.isValid() ? v.toInt() : -1;
            if (k < 0 || k >= NbElements()) {
                erreurs << Traduit("Nœud du rapport sans élément : «\u00A0%1\u00A0».").arg(enfant->text());
            } else {
                const QString n = fichiers_[k];
                const QString s = dossierTemporaire_ + n;
                std::string cible;
                if (QFileInfo::exists(s + QStringLiteral(".xml"))) {
                    QByteArray fragment;
                    if (lit(s + QStringLiteral(".xml"), fragment, erreurs))
                        xml.append(fragment.constData(), static_cast<std::size_t>(fragment.size()));
                }
                if (genres_[static_cast<std::size_t>(k)] == GenreElement::Image) {
                    const QString page = n.left(n.size() - 4) + QStringLiteral(".html");
                    if (!QFileInfo::exists(s))
                        erreurs << Traduit("Fichier de l'élément «\u00A0%1\u00A0» introuvable : "
                                           "«\u00A0%2\u00A0».")
                                       .arg(enfant->text(), s);
                    else
                        copie(s, contenu + n, erreurs);
                    const std::string pageImage = "<html>" + ligne + "<head><title>Image</title></head>" + ligne +
                                                  "<body bgcolor=#ffffff>" + ligne + EnCodePageHtml(titres_[k]) +
                                                  "<br>" + ligne + "<img src=\"" + lien(n) + "\">" + ligne +
                                                  "</body>" + ligne + "</html>";
                    ecrit(contenu + page, octets(pageImage), erreurs);
                    cible = "contenu/" + lien(page);
                } else {
                    const QString html = s + QStringLiteral(".html");
                    if (!QFileInfo::exists(html))
                        erreurs << Traduit("Fichier de l'élément «\u00A0%1\u00A0» introuvable : "
                                           "«\u00A0%2\u00A0».")
                                       .arg(enfant->text(), html);
                    else
                        copie(html, contenu + n + QStringLiteral(".html"), erreurs);
                    cible = "contenu/" + lien(n + QStringLiteral(".html"));
                }
                // Caption and note are HTML, written as they stand.
                const QVariant v = enfant->data(RoleLegende);
                const std::string legende = v.isValid() ? EnCodePageHtml(v.toString()) : EnCodePageTexteHtml(enfant->text());
                std::string note;
                if (const auto it = memos_.find(k); it != memos_.end())
                    note = EnCodePageHtml(it->second.GetTexte());
                index += "<li><a href=\"" + cible + "\">" + legende + "</a>" + note + "</li>" + ligne;
            }
            parcours(enfant);
        }
    };
    if (arbre_)
        for (int i = 0; i < arbre_->rowCount(); ++i)
            if (QStandardItem *sommet = arbre_->item(i))
                parcours(sommet);
    index += "</ol>" + ligne;
    index += "</body></html>" + ligne;
    xml += "</rapport>";

    ecrit(r + QStringLiteral("xml/rapport.xml"), octets(xml), erreurs);
    if (ecrit(r + QStringLiteral("index.htm"), octets(index), erreurs))
        destination_ = r;

    if (!erreurs.isEmpty())
        return fin(false);
    sauve_ = true;
    return fin(true);
}

QString Rapport::DossierDecors() const
{
    QString dossier = dossierDecors_.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/images")
                                               : dossierDecors_;
    if (!dossier.endsWith(QLatin1Char('/')))
        dossier += QLatin1Char('/');
    return dossier;
}

QString Rapport::DossierParDefaut(bool *repli)
{
    const QString programme = QCoreApplication::applicationDirPath();
    const QString aCote = programme + QStringLiteral("/RAPPORT");
    const QFileInfo infoACote(aCote);
    const bool ecrivable = infoACote.exists() ? (infoACote.isDir() && infoACote.isWritable())
                                              : QFileInfo(programme).isWritable();
    if (repli)
        *repli = !ecrivable;
    if (ecrivable)
        return aCote;
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath();
    return documents + QStringLiteral("/RAPPORT");
}
