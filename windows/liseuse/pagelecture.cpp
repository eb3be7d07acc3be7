#include "windows/liseuse/pagelecture.h"

#include "engine/charg1.h"
#include "engine/tgen.h"
#include "platform/qt/ecriture_sure.h"
#include "services/utilitaires.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace talmer {

namespace {

// Cuts the page into parts as its bytes come, in page order: the head whole first, then the body
// in pieces, then the end of the body. Only the bytes of the part being cut are kept.
class DecoupeurPage {
public:
    DecoupeurPage(DecoupageHtml *decoupage, std::size_t taillePartie)
        : decoupage_(decoupage), taillePartie_(taillePartie)
    {
    }

    void Entete(std::string_view entete)
    {
        if (!decoupage_)
            return;
        *decoupage_ = DecoupageHtml();
        const std::size_t fin = FinEnteteHtml(entete);
        decoupage_->finEntete = fin == std::string_view::npos ? entete.size() : fin;
        decoupage_->debuts.push_back(decoupage_->finEntete);
        debutReste_ = decoupage_->finEntete;
        reste_.assign(entete.substr(decoupage_->finEntete));
        total_ = entete.size();
    }
    void Corps(std::string_view octets)
    {
        if (!decoupage_)
            return;
        reste_.append(octets);
        total_ += octets.size();
        Coupe();
    }
    // The body ends here; what follows is the page's end.
    void Fin()
    {
        if (decoupage_)
            decoupage_->debutFin = total_;
    }

private:
    // Every part that ends inside the bytes kept; a part that may end only further waits for
    // more bytes (the cut found then is the one the whole page would give).
    void Coupe()
    {
        std::size_t pos = 0;
        for (;;) {
            const std::size_t n = LongueurPartie(std::string_view(reste_).substr(pos), taillePartie_);
            if (n == std::string_view::npos)
                break;
            pos += n;
            decoupage_->debuts.push_back(debutReste_ + pos);
        }
        reste_.erase(0, pos);
        debutReste_ += pos;
    }

    DecoupageHtml *decoupage_;
    std::size_t taillePartie_;
    std::string reste_;          // bytes of the body from the start of the part being cut
    std::size_t debutReste_ = 0; // offset of reste_ in the page
    std::size_t total_ = 0;      // bytes of the page so far
};

} // namespace

bool ProduitPageLecture(const charg1 &base, const Tgen *groupe, const ParametresPage &parametres,
                        std::string &tampon, const std::function<bool(std::string &)> &vide,
                        DecoupageHtml *decoupage)
{
    const std::size_t seuilVidage = std::max<std::size_t>(1, parametres.seuilVidage);
    tampon.reserve(std::min<std::size_t>(seuilVidage, 1 << 20) + 4096);
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
    DecoupeurPage decoupeur(decoupage, parametres.taillePartie);
    // The "<body ...>" tag ends the head; the line end after it is the body's first byte.
    const std::size_t finBalise = tampon.size() - 2;
    decoupeur.Entete(std::string_view(tampon).substr(0, finBalise));
    std::size_t fournis = finBalise; // bytes of tampon the decoupeur has had

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
        if (tampon.size() >= seuilVidage) {
            decoupeur.Corps(std::string_view(tampon).substr(fournis));
            fournis = 0;
            if (!vide(tampon))
                return false;
        }
    }
    decoupeur.Corps(std::string_view(tampon).substr(fournis));
    decoupeur.Fin();
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
                      const QString &chemin, QString *erreur, DecoupageHtml *decoupage)
{
    // The page of the view is replaced once the new one is whole, and its parts with it.
    EchecEcriture echec;
    DecoupageHtml parties;
    std::string tampon;
    const bool ecrit = EcritFichierSur(
        chemin,
        [&](QIODevice &fichier) {
            return ProduitPageLecture(base, groupe, parametres, tampon, [&](std::string &t) {
                const bool ok = fichier.write(t.data(), static_cast<qint64>(t.size())) == static_cast<qint64>(t.size());
                t.clear();
                return ok;
            }, decoupage ? &parties : nullptr);
        },
        &echec);
    if (!ecrit) {
        if (erreur)
            *erreur = MessageEcriture(echec);
        return false;
    }
    if (decoupage)
        *decoupage = std::move(parties);
    return true;
}

} // namespace talmer
