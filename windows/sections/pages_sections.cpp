#include "windows/sections/pages_sections.h"

#include "engine/charg1.h"
#include "engine/section.h"
#include "engine/tgen.h"
#include "services/utilitaires.h"

namespace talmer {

namespace {

void AjouteGraphie(std::string &page, const charg1 &base, std::int32_t p)
{
    const char *g = base.RetourneGraphieAtPos(p, false);
    if (g)
        page += EchappeTexte(g);
}

} // namespace

std::string PageSection(const charg1 &base, const Section &section, const Tgen *groupe, std::int32_t i, bool titre,
                        int tailleFonte, std::string_view charset, std::string_view direction)
{
    const std::string numero = std::to_string(i);
    std::string page = "<html>\n<head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=";
    page += charset;
    page += "\" /><title>Section " + numero + "</title></head>\n<body bgcolor=\"#ffffff\" dir=\"";
    page += direction;
    page += "\">\n";
    if (titre)
        page += "<h2>Section " + numero + "</h2><br>\n";
    page += "<font size=" + std::to_string(tailleFonte) + ">\n";

    if (i >= 0 && i < section.NbSections()) {
        const std::int32_t debutCles = base.Nbform() + base.Nbartponct();
        const std::int32_t debutContenus = debutCles + base.Nbcle();
        const std::int32_t fin = section.Debut(i + 1);
        for (std::int32_t p = section.Debut(i); p < fin; ++p) {
            const std::int32_t e = base.Tnum(p);
            if (e < 0 || e >= base.Nbart())
                continue;
            if (groupe && groupe->Contient(p)) {
                page += "<b>";
                AjouteGraphie(page, base, p);
                page += "</b> ";
            } else if (e < debutCles || e >= debutContenus) {
                AjouteGraphie(page, base, p);
                page += ' ';
            } else {
                // A key marker: its type and the value that follows it, written once.
                page += "<font color=\"#0000FF\">&lt;";
                AjouteGraphie(page, base, p);
                page += '=';
                AjouteGraphie(page, base, p + 1);
                page += "&gt;</font>";
                ++p;
            }
        }
    }
    page += "</font>\n</body>\n</html>";
    return page;
}

QString MarqueSectionnement(const std::vector<std::int32_t> &delimiteurs)
{
    QString marque;
    for (std::size_t k = 0; k < delimiteurs.size(); ++k) {
        if (k > 0)
            marque += QLatin1Char('-');
        marque += QString::number(delimiteurs[k]);
    }
    return marque;
}

QString NomPageSection(const QString &nomBase, const std::vector<std::int32_t> &delimiteurs, int vue, std::int32_t i)
{
    return nomBase + QStringLiteral("_section-") + MarqueSectionnement(delimiteurs) + QLatin1Char('_') +
           QString::number(vue) + QLatin1Char('_') + QString::number(i);
}

QString NomImageCarte(const QString &nomBase, const std::vector<std::int32_t> &delimiteurs, int vue, int compteur)
{
    return nomBase + QStringLiteral("_img-section-") + MarqueSectionnement(delimiteurs) + QLatin1Char('_') +
           QString::number(vue) + QLatin1Char('_') + QString::number(compteur) + QStringLiteral(".jpg");
}

QString BlocImageCarte(const QString &caption, const QString &groupe, const QString &groupeSup, const QString &nomBase,
                       const QString &date, const QString &cle)
{
    QString bloc = QStringLiteral("<center><h3>") + caption + QStringLiteral("</h3></center><br />\n");
    if (!groupe.isEmpty()) {
        bloc += QStringLiteral("Terme = ") + EchappeTexte(groupe);
        if (!groupeSup.isEmpty())
            bloc += QStringLiteral(", ") + EchappeTexte(groupeSup);
        bloc += QStringLiteral("<br />");
    }
    bloc += QStringLiteral("<table width=\"100%\" align=\"CENTER\" border=\"1\"><td>Corpus : ") + EchappeTexte(nomBase) +
            QStringLiteral("</td>\n<td>Date : ") + EchappeTexte(date) + QStringLiteral("</td>\n");
    if (!cle.isEmpty())
        bloc += QStringLiteral("<td>Partition = ") + EchappeTexte(cle) + QStringLiteral("</td>\n");
    bloc += QStringLiteral("</table><br />\n");
    return bloc;
}

} // namespace talmer
