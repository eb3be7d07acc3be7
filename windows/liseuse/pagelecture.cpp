#include "windows/liseuse/pagelecture.h"

#include "engine/charg1.h"
#include "engine/tgen.h"
#include "shell/translation.h"
#include "shell/utilitaires.h"

#include <QFile>

#include <cstring>
#include <string_view>
#include <vector>

namespace talmer {

namespace {

constexpr std::size_t SeuilVidage = 1 << 20;

} // namespace

bool ProduitPageLecture(const charg1 &base, const Tgen *groupe, const ParametresPage &parametres,
                        std::string &tampon, const std::function<bool(std::string &)> &vide)
{
    tampon.reserve(SeuilVidage + 4096);
    tampon += "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html;charset=";
    tampon += parametres.charset;
    tampon += "\" /><title>PLOVA</title><style type=\"text/css\">\r\n";
    tampon += ".tgenstyle {font-weight: bold;\r\ncolor: ";
    tampon += groupe ? CouleurHtml(static_cast<std::uint32_t>(groupe->Couleur())) : std::string("#ff0000");
    tampon += ";}\r\n";
    tampon += ".partie {background-color: #ffff00;\r\nfont-weight: bold;\r\ncolor: #0000ff;}\r\n";
    tampon += "</style></head><body dir=\"";
    tampon += parametres.direction;
    tampon += "\">\r\n";

    // Spellings are escaped once per entity, not once per occurrence.
    const std::int32_t nbArt = std::max(0, base.Nbart());
    std::vector<std::string> graphies(static_cast<std::size_t>(nbArt));
    for (std::int32_t e = 0; e < nbArt; ++e)
        AjouteTexteEchappe(graphies[static_cast<std::size_t>(e)], base.RetourneGraphie(e, false));
    const auto graphie = [&](std::int32_t e) -> const std::string & {
        static const std::string vide;
        return e >= 0 && e < nbArt ? graphies[static_cast<std::size_t>(e)] : vide;
    };

    const std::int32_t nbFormPonct = base.Nbform() + base.Nbartponct();
    const std::int32_t finCles = nbFormPonct + base.Nbcle();
    const std::int32_t limd = base.Limd();
    const std::int32_t nbItem = base.Nbitem();
    // The group's occurrences ascending, walked along with the text.
    const std::vector<std::int32_t> *occurrences = groupe ? &groupe->PositionsTriees() : nullptr;
    std::size_t prochaine = 0;

    for (std::int32_t i = 0; i < nbItem; ++i) {
        const std::int32_t e = base.Tnum(i);
        if (e >= 0 && e < nbFormPonct) {
            bool marque = false;
            if (occurrences) {
                while (prochaine < occurrences->size() && (*occurrences)[prochaine] < i)
                    ++prochaine;
                marque = prochaine < occurrences->size() && (*occurrences)[prochaine] == i;
            }
            if (marque) {
                tampon += "<span class=\"tgenstyle\"> ";
                tampon += graphie(e);
                tampon += "</span>";
            } else {
                tampon += ' ';
                tampon += graphie(e);
            }
        } else if (e >= nbFormPonct && e < finCles) {
            tampon += "<span class=\"partie\">&lt;";
            tampon += graphie(e);
            tampon += '=';
            // The value follows its key type; a key type that ends the text has none.
            if (i + 1 < nbItem)
                tampon += graphie(base.Tnum(i + 1));
            tampon += "&gt;</span>";
            ++i;
        } else if (e > limd) {
            tampon += "<br />\r\n";
        }
        if (tampon.size() >= SeuilVidage && !vide(tampon))
            return false;
    }
    tampon += "</body></html>\r\n";
    return vide(tampon);
}

std::string PageLecture(const charg1 &base, const Tgen *groupe, const ParametresPage &parametres)
{
    std::string page;
    std::string tampon;
    ProduitPageLecture(base, groupe, parametres, tampon, [&](std::string &t) {
        page += t;
        t.clear();
        return true;
    });
    return page;
}

bool EcritPageLecture(const charg1 &base, const Tgen *groupe, const ParametresPage &parametres,
                      const QString &chemin, QString *erreur)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (erreur)
            *erreur = Traduit("Impossible d'écrire la page %1 : %2").arg(chemin, fichier.errorString());
        return false;
    }
    std::string tampon;
    const bool ecrit = ProduitPageLecture(base, groupe, parametres, tampon, [&](std::string &t) {
        const bool ok = fichier.write(t.data(), static_cast<qint64>(t.size())) == static_cast<qint64>(t.size());
        t.clear();
        return ok;
    });
    if (!ecrit || !fichier.flush()) {
        if (erreur)
            *erreur = Traduit("Impossible d'écrire la page %1 : %2").arg(chemin, fichier.errorString());
        return false;
    }
    return true;
}

} // namespace talmer
