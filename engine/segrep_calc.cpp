// The repeated-segment computation: for each pivot form, its occurrences sorted by right
// context, read as 12-slot sequences, and the runs of occurrences that share their first k forms
// closed and emitted when they are frequent enough and maximal on both sides.

#include "engine/segrep.h"

#include "engine/charg1.h"
#include "engine/fichiers.h"
#include "engine/tgen.h"
#include "engine/trace.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <string>

#include <unistd.h>

namespace {

// True when a file can be written under this name: a regular file (created empty when missing),
// never a link nor anything else.
bool PeutRecevoir(const std::string &nom)
{
    const int fd = talmer::fichiers::OuvreEcritureSansLien(nom.c_str(), false);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

} // namespace

// The text as the context sort reads it: only the items a sequence read takes into account (word
// forms, and the delimiters it stops at), each as its alphabetical index + 1, in text order. The
// end of the text is 0, below every item, so that a context which runs out first sorts first:
// the order of two distinct occurrences is then always decided, and occurrences that share their
// first k forms stand together for every k.
struct SegRep::Contextes {
    std::vector<std::int32_t> rang;      // counted items, then the end mark and zeros for the last keys
    std::vector<std::int32_t> position;  // text position of each counted item
    std::vector<std::int32_t> entite;    // entity of each counted item
    std::int32_t nbform = 0;
    int bits = 1;                        // width of a rank inside a key
    int parCle = 64;                     // ranks packed into one key
    static constexpr int Compares = 11;  // counted items compared from each start

    explicit Contextes(const SegRep &sr);

    // The sequence read from counted item i (as LectSeg from the position of that item, or from
    // a position whose first counted item is i): the form before it unless a delimiter comes
    // first, then up to 11 forms up to the first delimiter or the end of the text.
    void LitSequence(std::int32_t i, std::int32_t out[TailleSequence]) const
    {
        for (int k = 0; k < TailleSequence; ++k)
            out[k] = Bourrage;
        const auto nb = static_cast<std::int32_t>(entite.size());
        if (i > 0 && entite[static_cast<std::size_t>(i) - 1] < nbform)
            out[0] = entite[static_cast<std::size_t>(i) - 1];
        for (int k = 1; k < TailleSequence && i < nb; ++k, ++i) {
            const std::int32_t x = entite[static_cast<std::size_t>(i)];
            if (x >= nbform)
                break;
            out[k] = x;
        }
    }

    // The first parCle ranks from counted item i, packed so that keys compare as the ranks do.
    std::uint64_t Cle(std::int32_t i) const
    {
        std::uint64_t c = 0;
        const std::int32_t *r = rang.data() + i;
        for (int t = 0; t < parCle; ++t)
            c = (c << bits) | static_cast<std::uint32_t>(r[t]);
        return c;
    }
};

SegRep::Contextes::Contextes(const SegRep &sr)
{
    const charg1 &base = *sr.base_;
    const std::int32_t nbitem = std::max<std::int32_t>(base.Nbitem(), 0);
    const std::int32_t nbform = base.Nbform();
    const std::int32_t nbart = base.Nbart();
    const std::int32_t borne = nbform + base.Nbartponct();

    // Ranks of the entities that can be counted: forms, and delimiters up to the first key type.
    const std::int32_t nbRangs = std::max<std::int32_t>(std::min(borne + 1, nbart), 0);
    std::vector<std::int32_t> rangDe(static_cast<std::size_t>(nbRangs));
    std::int32_t rangMax = 1;
    for (std::int32_t x = 0; x < nbRangs; ++x) {
        rangDe[static_cast<std::size_t>(x)] = std::max<std::int32_t>(base.Lexg(x), 0) + 1;
        rangMax = std::max(rangMax, rangDe[static_cast<std::size_t>(x)]);
    }
    bits = std::bit_width(static_cast<std::uint32_t>(rangMax));
    parCle = 64 / bits;

    rang.reserve(static_cast<std::size_t>(nbitem) + static_cast<std::size_t>(std::max(parCle, Compares)));
    position.reserve(static_cast<std::size_t>(nbitem));
    entite.reserve(static_cast<std::size_t>(nbitem));
    this->nbform = nbform;
    VeilleBoucle veille;
    for (std::int32_t p = 0; p < nbitem; ++p) {
        veille.Avance();
        const std::int32_t x = base.Tnum(p);
        if (x < 0 || x >= nbRangs)
            continue;
        if (x < nbform || sr.EstDelimiteur(x)) {
            rang.push_back(rangDe[static_cast<std::size_t>(x)]);
            position.push_back(p);
            entite.push_back(x);
        }
    }
    rang.insert(rang.end(), static_cast<std::size_t>(std::max(parCle, Compares)), 0);
}

void SegRep::PrepareDelimiteurs()
{
    estDelim_.assign(static_cast<std::size_t>(std::max<std::int32_t>(base_->Nbart(), 0)), 0);
    for (std::int32_t d : delimiteurs_)
        if (d >= 0 && d < static_cast<std::int32_t>(estDelim_.size()))
            estDelim_[static_cast<std::size_t>(d)] = 1;
}

bool SegRep::EstDelimiteur(std::int32_t item) const
{
    if (item >= 0 && item < static_cast<std::int32_t>(estDelim_.size()))
        return estDelim_[static_cast<std::size_t>(item)] != 0;
    return delimiteurs_.count(item) != 0;
}

void SegRep::LectSeg(std::int32_t out[TailleSequence], std::int32_t position) const
{
    for (int k = 0; k < TailleSequence; ++k)
        out[k] = Bourrage;
    if (base_ == nullptr)
        return;
    const std::int32_t nbitem = base_->Nbitem();
    if (position < 0 || position >= nbitem)
        return;
    const std::int32_t nbform = base_->Nbform();
    const std::int32_t borne = nbform + base_->Nbartponct();

    // Left context: the nearest form before the position inside its stretch.
    for (std::int32_t a = position - 1; a >= 0; --a) {
        const std::int32_t x = base_->Tnum(a);
        if (x >= 0 && x < nbform) {
            out[0] = x;
            break;
        }
        if (EstDelimiteur(x))
            break;
    }

    // Right context: up to 11 forms from the position on, up to the first delimiter. Key items
    // and line breaks are passed over without looking at the delimiters.
    int k = 1;
    std::int32_t a = position;
    while (k < TailleSequence && a < nbitem) {
        std::int32_t x = base_->Tnum(a);
        while (x > borne && ++a < nbitem)
            x = base_->Tnum(a);
        if (a >= nbitem)
            break;
        if (x >= 0 && x < nbform)
            out[k++] = x;
        else if (EstDelimiteur(x))
            break;
        ++a;
    }
}

std::vector<Segment> SegRep::EdiSeg(int j, EtatRuns &etat, const std::int32_t *positions, std::int32_t m,
                                    const std::int32_t seq[TailleSequence],
                                    const std::int32_t seq2[TailleSequence])
{
    std::vector<Segment> sortie;
    for (int k = std::max(j, 1); k <= LongueurMax; ++k) {
        const std::int32_t c = etat.count[k];
        // Slot 12 holds 0: a run of 11 forms is always right-maximal.
        const bool emis = c > 0 && c >= freqMin_ && c != etat.count[k + 1] && etat.leftmark[k] == Bourrage
                          && k != 1 && etat.start[k] >= 0 && etat.start[k] + c == m;
        if (emis) {
            Segment s;
            s.Formes.assign(seq + 1, seq + 1 + k);
            s.Frq = c;
            s.Offset = EcritPositions(std::vector<std::int32_t>(positions + etat.start[k], positions + m));
            // Positions that did not all reach the file cannot be read back as this segment's.
            if (!fpos_.good())
                s.Offset = -1;
            sortie.push_back(std::move(s));
        }
        if (seq2[k] == Bourrage) {
            etat.count[k] = 0;
            etat.start[k] = 0;
        } else {
            etat.start[k] = m;
            etat.count[k] = 1;
            etat.leftmark[k] = seq2[0];
        }
    }
    return sortie;
}

bool SegRep::LectureCompteePossible() const
{
    if (base_ == nullptr)
        return false;
    const std::int32_t borne = base_->Nbform() + base_->Nbartponct();
    for (std::int32_t d : delimiteurs_)
        if (d < 0 || d > borne || d >= base_->Nbart())
            return false;
    return true;
}

template <class Lecture>
void SegRep::ParcourtRuns(const std::int32_t *positions, std::int32_t n, Lecture &&lecture,
                          std::vector<Segment> &sortie, const Suivi *suivi)
{
    if (n <= 0)
        return;
    EtatRuns etat;
    std::int32_t seq[TailleSequence];
    std::int32_t seq2[TailleSequence];
    lecture(0, seq);
    for (int k = 1; k <= LongueurMax; ++k) {
        if (seq[k] == Bourrage) {
            etat.count[k] = 0;
            etat.leftmark[k] = Bourrage;
        } else {
            etat.count[k] = 1;
            etat.start[k] = 0;
            etat.leftmark[k] = seq[0];
        }
    }
    const auto ajoute = [&sortie](std::vector<Segment> &&emis) {
        for (Segment &s : emis)
            sortie.push_back(std::move(s));
    };
    for (std::int32_t m = 1; m < n; ++m) {
        if (suivi != nullptr && (m & 0xFFF) == 0) {
            suivi->progression->Atteint(suivi->fait + m);
            Veille();
        }
        lecture(m, seq2);
        int j = 1;
        while (j < TailleSequence && seq[j] == seq2[j] && seq2[j] != Bourrage)
            ++j;
        for (int k = 1; k < j; ++k) {
            ++etat.count[k];
            if (etat.leftmark[k] != seq2[0])
                etat.leftmark[k] = Bourrage;
        }
        ajoute(EdiSeg(j, etat, positions, m, seq, seq2));
        std::copy(seq2, seq2 + TailleSequence, seq);
    }
    std::int32_t fin[TailleSequence];
    std::fill(fin, fin + TailleSequence, Bourrage);
    ajoute(EdiSeg(1, etat, positions, n, seq, fin));
}

void SegRep::TrieEtParcourt(const Contextes &ctx, const std::int32_t *debuts, std::int32_t *positions,
                            std::int32_t n, std::int32_t decalage, bool lectureComptee,
                            std::vector<Segment> &sortie, const Suivi *suivi)
{
    if (n <= 0)
        return;
    struct Entree {
        std::uint64_t cle;
        std::int32_t debut;
        std::int32_t position;
    };
    std::vector<Entree> e(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i)
        e[static_cast<std::size_t>(i)] = {ctx.Cle(debuts[i]), debuts[i], positions[i]};
    if (suivi != nullptr)
        Veille();
    const std::int32_t *r = ctx.rang.data();
    const int parCle = ctx.parCle;
    // A sequence read takes at most 11 forms from the pivot and stops at a delimiter or at the
    // end of the text, all of which lie within the first 11 counted items of its context. Two
    // occurrences whose first 11 counted items differ are ordered there as their whole contexts
    // would order them; those that share them read the same sequence, and their order among
    // themselves changes neither the runs nor the emitted segments (whose positions are written
    // ascending). So the comparison stops after 11 items, however long the shared context.
    std::sort(e.begin(), e.end(), [r, parCle](const Entree &a, const Entree &b) {
        if (a.cle != b.cle)
            return a.cle < b.cle;
        for (int k = parCle; k < Contextes::Compares; ++k) {
            const std::int32_t x = r[a.debut + k], y = r[b.debut + k];
            if (x != y)
                return x < y;
        }
        return false;
    });
    for (std::int32_t i = 0; i < n; ++i)
        positions[i] = e[static_cast<std::size_t>(i)].position;
    if (lectureComptee)
        ParcourtRuns(positions, n,
                     [&](std::int32_t m, std::int32_t *out) {
                         ctx.LitSequence(e[static_cast<std::size_t>(m)].debut - decalage, out);
                     },
                     sortie, suivi);
    else
        ParcourtRuns(positions, n, [&](std::int32_t m, std::int32_t *out) { LectSeg(out, positions[m]); }, sortie,
                     suivi);
}

std::vector<Segment> SegRep::SelSegRep(std::int32_t *positions, std::int32_t n)
{
    std::vector<Segment> sortie;
    if (base_ == nullptr || positions == nullptr || n <= 0)
        return sortie;
    PrepareDelimiteurs();
    const Contextes ctx(*this);
    // Each occurrence is compared from its own first counted item, so that the occurrences of
    // the different forms of a group stand apart before their contexts are compared.
    std::vector<std::int32_t> debuts(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i)
        debuts[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(
            std::lower_bound(ctx.position.begin(), ctx.position.end(), positions[i]) - ctx.position.begin());
    // Positions outside the text read nothing, not even a left context: the text itself says so.
    bool dansTexte = true;
    for (std::int32_t i = 0; i < n && dansTexte; ++i)
        dansTexte = positions[i] >= 0 && positions[i] < base_->Nbitem();
    TrieEtParcourt(ctx, debuts.data(), positions, n, 0, dansTexte && LectureCompteePossible(), sortie);
    return sortie;
}

std::vector<Segment> SegRep::CalcTgenSR(Tgen *groupe, bool ajoute)
{
    if (groupe == nullptr)
        return {};
    std::vector<Segment> sortie = SelSegRep(groupe->Positions(), groupe->NbOcc());
    if (ajoute)
        segments_.insert(segments_.end(), sortie.begin(), sortie.end());
    return sortie;
}

void SegRep::CalcSegRep(std::int32_t inutilise, std::int32_t fmin)
{
    (void)inutilise;
    freqMin_ = fmin;
    // A new computation replaces the former list: its offsets named positions of the old file.
    segments_.clear();
    if (base_ == nullptr)
        return;

    // Pivots: the forms of frequency >= fmin, which lead the numbering; never beyond the forms.
    const std::int32_t nbform = base_->Nbform();
    std::int32_t nbPivots = 0;
    while (nbPivots < nbform && base_->RetourneFrq(nbPivots) >= fmin)
        ++nbPivots;

    const std::string nomBase = base_->NomBase();
    const std::string nomPositions = nomBase + ".loc.sr";
    const std::string nomDescription = nomBase + ".desc.sr";
    talmer::trace::Ajoutef("CalcSegRep----\n%s - %s", nomPositions.c_str(), nomDescription.c_str());

    // Written aside until complete: a list made from the files of the last computation may
    // still read them, and a computation stopped half-way must leave them whole.
    // Names that could never take the files (a folder, a link) fail the computation at once.
    const std::string temporairePositions = nomPositions + ".tmp";
    const std::string temporaireDescription = nomDescription + ".tmp";
    if (!PeutRecevoir(nomPositions) || !PeutRecevoir(nomDescription)
        || !OuvreFichiersSous(temporairePositions, temporaireDescription))
        return;
    try {
        // The progress calls are those of a step per hundredth of the pivots, made as the work
        // advances: each pivot counts as many units as it has occurrences, and reading the text
        // first a unit per 16 items (it takes about a tenth of the time of the sorts). The most
        // frequent pivots come first and hold most of the work: counted by pivots, the bar would
        // sit still through them.
        const std::int64_t nbitem = std::max<std::int32_t>(base_->Nbitem(), 0);
        std::int64_t occurrencesPivots = 0;
        for (std::int32_t i = 0; i < nbPivots; ++i)
            occurrencesPivots += std::max<std::int32_t>(base_->RetourneFrq(i), 0);
        const std::int64_t lecture = nbitem / 16;
        PasRepartis progression(gauge_, NbAppelsCentiemes(nbPivots), lecture + occurrencesPivots + 1);

        PrepareDelimiteurs();
        const Contextes ctx(*this);
        progression.Atteint(lecture / 2);

        // The occurrences of every pivot, in one pass over the text, ascending; each is kept as
        // the index of the counted item that follows the pivot, where its context comparison
        // starts.
        const std::int32_t nbCompte = static_cast<std::int32_t>(ctx.position.size());
        std::vector<std::int32_t> debutPivot(static_cast<std::size_t>(nbPivots) + 1, 0);
        VeilleBoucle veille;
        for (std::int32_t c = 0; c < nbCompte; ++c) {
            veille.Avance();
            const std::int32_t x = ctx.entite[static_cast<std::size_t>(c)];
            if (x >= 0 && x < nbPivots)
                ++debutPivot[static_cast<std::size_t>(x) + 1];
        }
        for (std::int32_t i = 0; i < nbPivots; ++i)
            debutPivot[static_cast<std::size_t>(i) + 1] += debutPivot[static_cast<std::size_t>(i)];
        std::vector<std::int32_t> suivants(static_cast<std::size_t>(debutPivot.back()));
        {
            std::vector<std::int32_t> curseur(debutPivot.begin(), debutPivot.end() - 1);
            for (std::int32_t c = 0; c < nbCompte; ++c) {
                veille.Avance();
                const std::int32_t x = ctx.entite[static_cast<std::size_t>(c)];
                if (x >= 0 && x < nbPivots)
                    suivants[static_cast<std::size_t>(curseur[static_cast<std::size_t>(x)]++)] = c + 1;
            }
        }

        const bool lectureComptee = LectureCompteePossible();
        progression.Atteint(lecture);
        std::int64_t fait = lecture;
        std::vector<std::int32_t> positions;
        for (std::int32_t i = 0; i < nbPivots; ++i) {
            Veille();
            const std::int32_t debut = debutPivot[static_cast<std::size_t>(i)];
            const std::int32_t n = debutPivot[static_cast<std::size_t>(i) + 1] - debut;
            const std::int32_t *debuts = suivants.data() + debut;
            positions.resize(static_cast<std::size_t>(n));
            for (std::int32_t t = 0; t < n; ++t)
                positions[static_cast<std::size_t>(t)] = ctx.position[static_cast<std::size_t>(debuts[t] - 1)];
            const Suivi suivi{&progression, fait};
            TrieEtParcourt(ctx, debuts, positions.data(), n, 1, lectureComptee, segments_, &suivi);
            fait += n;
            progression.Atteint(fait);
        }
        // The last call comes once every pivot is done, however its occurrences were counted.
        progression.Atteint(lecture + occurrencesPivots + 1);
    } catch (...) {
        segments_.clear();
        FermeFichiers();
        std::remove(temporairePositions.c_str());
        std::remove(temporaireDescription.c_str());
        throw;
    }
    fpos_.flush();
    fdesc_.flush();
    // The open files stay this list's own whatever their names: a name that cannot be taken is
    // given up rather than left to a later computation, which would empty the file under it.
    if (talmer::fichiers::Renomme(temporairePositions.c_str(), nomPositions.c_str()) != 0)
        std::remove(temporairePositions.c_str());
    if (talmer::fichiers::Renomme(temporaireDescription.c_str(), nomDescription.c_str()) != 0)
        std::remove(temporaireDescription.c_str());

    // Each pivot counts as a one-form group, and every group takes the next colour of the turn:
    // move the turn on as far, so the next group's colour does not depend on how the occurrences
    // are gathered.
    for (std::int32_t t = 0; t < nbPivots % Tgen::TaillePalette; ++t)
        Tgen tour(base_, nullptr, 0);
}
