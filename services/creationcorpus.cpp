#include "services/creationcorpus.h"

#include "services/textesource.h"
#include "services/translation.h"
#include "services/utilitaires.h"

#include "platform/qt/ecriture_sure.h"

#include <QFile>
#include <QFileInfo>

#include <limits>
#include <optional>
#include <string_view>

namespace talmer {

namespace {

// Longest key type or value the segmenter keeps.
constexpr std::size_t LongueurCleMax = 126;

constexpr qint64 TailleBloc = 1 << 16;

bool EstCaractereInterdit(char32_t c)
{
    return c == U' ' || c == U'<' || c == U'>' || c == U'=' || c < 0x20 || c == 0x7F;
}

QString Nom(const QString &chemin) { return QFileInfo(chemin).fileName(); }

// Writes bytes as a text-mode file stores them: a line feed becomes CR LF, except one that
// already follows a carriage return (a source with CR LF line ends keeps them as they are).
class EcritureTexte {
public:
    explicit EcritureTexte(QIODevice &sortie) : sortie_(sortie) {}

    // Starts a new stretch of text: a line feed at its start is not taken as following a CR.
    void Nouveau() { precedentCR_ = false; }

    bool Ecrit(const char *octets, qint64 n)
    {
        tampon_.clear();
        tampon_.reserve(static_cast<std::size_t>(n) + static_cast<std::size_t>(n) / 8 + 2);
        for (qint64 i = 0; i < n; ++i) {
            const char c = octets[i];
            if (c == '\n' && !precedentCR_)
                tampon_.push_back('\r');
            tampon_.push_back(c);
            precedentCR_ = c == '\r';
        }
        return sortie_.write(tampon_.data(), static_cast<qint64>(tampon_.size()))
               == static_cast<qint64>(tampon_.size());
    }
    bool Ecrit(const std::string &s) { return Ecrit(s.data(), static_cast<qint64>(s.size())); }
    // Our own text: every line feed in it is a line end of its own.
    bool Texte(const std::string &s)
    {
        Nouveau();
        return Ecrit(s);
    }

private:
    QIODevice &sortie_;
    std::string tampon_;
    bool precedentCR_ = false;
};

QString ErreurEcriture(QIODevice &sortie)
{
    const QString raison = sortie.errorString();
    return raison.isEmpty() ? Traduit("L'écriture du corpus a échoué.")
                            : Traduit("L'écriture du corpus a échoué : %1.").arg(raison);
}

} // namespace

QString NomDePartie(const QString &chemin)
{
    QString nom = QFileInfo(chemin).fileName();
    qsizetype debut = 0;
    while (debut < nom.size() && nom[debut] == u'.')
        ++debut;
    nom = nom.mid(debut);
    const qsizetype point = nom.indexOf(u'.');
    if (point >= 0)
        nom.truncate(point);
    QList<uint> car = nom.toUcs4();
    if (car.size() > LongueurNomFic)
        car.resize(LongueurNomFic);
    for (uint &c : car)
        if (EstCaractereInterdit(c))
            c = '_';
    nom = QString::fromUcs4(reinterpret_cast<const char32_t *>(car.data()), car.size());
    if (nom.isEmpty())
        nom = QStringLiteral("fichier");
    return nom;
}

std::int32_t TypeDeFichier(const QString &chemin)
{
    const QString nom = QFileInfo(chemin).fileName();
    const qsizetype point = nom.lastIndexOf(u'.');
    if (point < 0)
        return FicInconnu;
    const QString ext = nom.mid(point).toLower();
    if (ext == QLatin1String(".txt"))
        return FicTexte;
    if (ext == QLatin1String(".doc"))
        return FicWord;
    return FicInconnu;
}

std::int32_t TailleDeFichier(const QString &chemin)
{
    QFile f(chemin);
    if (!QFileInfo(chemin).isFile() || !f.open(QIODevice::ReadOnly))
        return -1;
    const qint64 taille = f.size();
    if (taille > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(taille);
}

std::string MarqueurDeParagraphe(const OptionsWord &options)
{
    if (!options.traitement)
        return {};
    if (options.parCle)
        return "<" + options.cle + "=";
    std::string m = options.caractere;
    if (m.empty() || m.front() == '<')
        return m; // a marker that opens like a key is used as a key: no line feed of its own
    if (m.back() != '\n')
        m += '\n';
    return m;
}

CreationCorpus::CreationCorpus(ConversionPage versPage, LecteurWord lecteur)
    : versPage_(std::move(versPage)), lecteur_(std::move(lecteur))
{
}

std::string CreationCorpus::NomUnique(const QString &nom) const
{
    auto pris = [this](const std::string &n) {
        for (const Fic &f : fics_)
            if (f.nom == n)
                return true;
        return false;
    };
    std::string n = versPage_(nom);
    if (!pris(n))
        return n;
    const QList<uint> car = nom.toUcs4();
    for (int k = 2;; ++k) {
        const std::string suffixe = "_" + std::to_string(k);
        const qsizetype garde = std::min<qsizetype>(car.size(), LongueurNomFic - static_cast<qsizetype>(suffixe.size()));
        n = versPage_(QString::fromUcs4(reinterpret_cast<const char32_t *>(car.data()), garde)) + suffixe;
        if (!pris(n))
            return n;
    }
}

bool CreationCorpus::Ajoute(const QString &chemin)
{
    for (const Fic &f : fics_)
        if (f.chemin == chemin)
            return false;
    Fic f;
    f.nom = NomUnique(NomDePartie(chemin));
    f.chemin = chemin;
    f.taille = TailleDeFichier(chemin);
    f.type = TypeDeFichier(chemin);
    fics_.push_back(std::move(f));
    return true;
}

void CreationCorpus::Retire(int i)
{
    if (i >= 0 && static_cast<std::size_t>(i) < fics_.size())
        fics_.erase(fics_.begin() + i);
}

QString CreationCorpus::FichierUnique() const
{
    if (fics_.size() == 1 && fics_.front().type == FicTexte)
        return fics_.front().chemin;
    return {};
}

QString CreationCorpus::VerifieTypeCle(const std::string &type)
{
    if (type.empty())
        return Traduit("Le nom de la clé est vide.");
    if (type.size() > LongueurCleMax)
        return Traduit("Le nom de la clé est trop long (%1 caractères au plus).").arg(LongueurCleMax);
    for (char c : type) {
        const auto u = static_cast<unsigned char>(c);
        if (EstCaractereInterdit(u))
            return Traduit("Le nom de la clé ne doit contenir ni espace, ni «\u00A0<\u00A0», "
                           "«\u00A0>\u00A0» ou «\u00A0=\u00A0».");
    }
    return {};
}

QString CreationCorpus::VerifieMarqueur(const std::string &marqueur)
{
    if (marqueur.empty() || marqueur.front() != '<')
        return {};
    if (marqueur.size() < 3 || marqueur.back() != '=')
        return Traduit("Un marqueur de paragraphe qui commence par «\u00A0<\u00A0» doit avoir la forme "
                       "«\u00A0<clé=\u00A0».");
    const QString raison = VerifieTypeCle(marqueur.substr(1, marqueur.size() - 2));
    if (!raison.isEmpty())
        return Traduit("Marqueur de paragraphe : %1").arg(raison);
    return {};
}

QString CreationCorpus::EcritFic(QIODevice &sortie, const Fic &fic, const std::string &typeCle,
                                 const std::string &marqueur) const
{
    EcritureTexte texte(sortie);
    if (!texte.Texte("<" + typeCle + "=" + fic.nom + ">\n"))
        return ErreurEcriture(sortie);

    if (fic.type == FicWord) {
        std::vector<std::string> paragraphes;
        QString erreur;
        if (!lecteur_ || !lecteur_(fic.chemin, paragraphes, erreur)) {
            if (erreur.isEmpty())
                erreur = Traduit("Le document Word «\u00A0%1\u00A0» ne peut pas être lu.").arg(Nom(fic.chemin));
            return erreur;
        }
        const bool parCle = !marqueur.empty() && marqueur.front() == '<';
        std::int32_t numero = 0;
        for (const std::string &p : paragraphes) {
            ++numero;
            bool ok = true;
            if (parCle)
                ok = texte.Texte(marqueur + std::to_string(numero) + ">\n");
            else if (!marqueur.empty())
                ok = texte.Texte(marqueur);
            // Each paragraph keeps the word processor's paragraph mark, a carriage return.
            ok = ok && texte.Texte(p) && texte.Ecrit("\r", 1);
            if (!ok)
                return ErreurEcriture(sortie);
        }
    } else {
        QFile source(fic.chemin);
        if (!QFileInfo(fic.chemin).isFile() || !source.open(QIODevice::ReadOnly))
            return Traduit("Le fichier «\u00A0%1\u00A0» ne peut pas être lu.").arg(Nom(fic.chemin));
        texte.Nouveau();
        std::optional<ConvertisseurUtf8> conversion;
        if (conversionUtf8_ && EstTexteUtf8(fic.chemin))
            conversion.emplace(*conversionUtf8_);
        auto ecrit = [&](const char *octets, qint64 n) {
            if (!conversion)
                return texte.Ecrit(octets, n);
            const std::string converti = conversion->Convertit(std::string_view(octets, static_cast<std::size_t>(n)));
            return texte.Ecrit(converti.data(), static_cast<qint64>(converti.size()));
        };
        std::string bloc(static_cast<std::size_t>(TailleBloc), '\0');
        for (;;) {
            const qint64 lu = source.read(bloc.data(), TailleBloc);
            if (lu < 0)
                return Traduit("Le fichier «\u00A0%1\u00A0» ne peut pas être lu jusqu'au bout.")
                    .arg(Nom(fic.chemin));
            if (lu == 0)
                break;
            if (!ecrit(bloc.data(), lu))
                return ErreurEcriture(sortie);
        }
        if (conversion) {
            const std::string reste = conversion->Termine();
            if (!texte.Ecrit(reste.data(), static_cast<qint64>(reste.size())))
                return ErreurEcriture(sortie);
            manquants_ += conversion->Manquants();
        }
    }
    if (!texte.Texte("\n"))
        return ErreurEcriture(sortie);
    return {};
}

QStringList CreationCorpus::SourcesUtf8() const
{
    QStringList sources;
    for (const Fic &f : fics_)
        if (f.type != FicWord && EstTexteUtf8(f.chemin))
            sources << f.chemin;
    return sources;
}

QString CreationCorpus::EcritDans(QIODevice &sortie, const std::string &typeCle, const std::string &marqueur) const
{
    manquants_ = 0;
    QString raison = VerifieTypeCle(typeCle);
    if (raison.isEmpty())
        raison = VerifieMarqueur(marqueur);
    if (!raison.isEmpty())
        return raison;
    const int n = static_cast<int>(fics_.size());
    for (int i = 0; i < n; ++i) {
        raison = EcritFic(sortie, fics_[static_cast<std::size_t>(i)], typeCle, marqueur);
        if (!raison.isEmpty())
            return raison;
        if (avance_)
            avance_(i + 1, n);
    }
    return {};
}

QString CreationCorpus::Ecrit(const QString &destination, const std::string &typeCle,
                              const std::string &marqueur) const
{
    if (fics_.empty())
        return Traduit("Aucun fichier à réunir.");
    QString raison = VerifieTypeCle(typeCle);
    if (raison.isEmpty())
        raison = VerifieMarqueur(marqueur);
    if (!raison.isEmpty())
        return raison;

    // Writing over one of the sources would lose it.
    const QFileInfo dest(destination);
    const QString destCanonique = dest.canonicalFilePath();
    for (const Fic &f : fics_) {
        const QFileInfo src(f.chemin);
        const bool meme = !destCanonique.isEmpty() ? src.canonicalFilePath() == destCanonique
                                                   : src.absoluteFilePath() == dest.absoluteFilePath();
        if (meme)
            return Traduit("Le corpus ne peut pas être enregistré sous «\u00A0%1\u00A0» : c'est l'un des "
                           "fichiers à réunir.")
                .arg(dest.fileName());
    }

    QString raisonEcriture;
    EchecEcriture echec;
    const bool ok = EcritFichierSur(
        destination,
        [&](QIODevice &fichier) {
            raisonEcriture = EcritDans(fichier, typeCle, marqueur);
            return raisonEcriture.isEmpty();
        },
        &echec);
    // The corpus file's own failure first: a source that cannot be read says so itself.
    if (echec.Survenu())
        return Traduit("Le fichier «\u00A0%1\u00A0» n'a pas pu être enregistré : %2.")
            .arg(dest.fileName(), RaisonEcriture(echec));
    if (!ok)
        return raisonEcriture;
    return {};
}

} // namespace talmer
