#include "engine/segrep.h"

#include "engine/charg1.h"
#include "engine/fichiers.h"
#include "platform/core/octets_le.h"

#include <algorithm>
#include <limits>
#include <map>
#include <mutex>
#include <string>
#include <unordered_set>

#include <unistd.h>

namespace {

// Creates or empties a file of the base, open for reading and writing, never through a symbolic
// link planted at its name nor on anything but a regular file. The stream reopens the very file
// that was checked, through its descriptor, where the system allows it.
void ouvreSansLien(std::fstream &f, const std::string &nom)
{
    const int fd = talmer::fichiers::OuvreEcritureSansLien(nom.c_str(), true);
    if (fd < 0)
        return;
    const auto mode = std::ios::in | std::ios::out | std::ios::binary;
    f.open("/proc/self/fd/" + std::to_string(fd), mode);
    if (!f.is_open())
        f.open(nom, mode);
    close(fd);
}

// The base whose alphabetical indexes order segments: the base of the last SegRep constructed.
// Every live SegRep is known too, so that a base that goes away is forgotten by all of them and
// nothing is ever read through a pointer to it.
struct Registre {
    std::mutex verrou;
    charg1 *baseAlpha = nullptr;
    std::unordered_set<SegRep *> instances;
};

Registre &registre()
{
    static Registre r;
    return r;
}

charg1 *baseAlpha()
{
    Registre &r = registre();
    std::lock_guard<std::mutex> l(r.verrou);
    return r.baseAlpha;
}

// Alphabetical rank of a form; with no base left, the entity number keeps the order well defined.
std::int32_t rang(const charg1 *base, std::int32_t forme) { return base ? base->Lexg(forme) : forme; }

} // namespace

SegRep::SegRep(charg1 *base, const std::set<std::int32_t> &delimiteurs) : base_(base), delimiteurs_(delimiteurs)
{
    Registre &r = registre();
    std::lock_guard<std::mutex> l(r.verrou);
    r.baseAlpha = base;
    r.instances.insert(this);
}

SegRep::~SegRep()
{
    {
        Registre &r = registre();
        std::lock_guard<std::mutex> l(r.verrou);
        r.instances.erase(this);
    }
    if (fpos_.is_open())
        fpos_.close();
    if (fdesc_.is_open())
        fdesc_.close();
}

void SegRep::OublieBase(const charg1 *base)
{
    if (!base)
        return;
    Registre &r = registre();
    std::lock_guard<std::mutex> l(r.verrou);
    if (r.baseAlpha == base)
        r.baseAlpha = nullptr;
    for (SegRep *s : r.instances) {
        if (s->base_ == base)
            s->base_ = nullptr;
    }
}

void SegRep::AttribGauge(FnProgression callback) { gauge_ = callback; }

bool SegRep::OuvreFichiers()
{
    if (!base_) {
        OuvreFichiersSous(std::string(), std::string());
        return false;
    }
    const std::string nom = base_->NomBase();
    return OuvreFichiersSous(nom + ".loc.sr", nom + ".desc.sr");
}

bool SegRep::OuvreFichiersSous(const std::string &positions, const std::string &description)
{
    memoire_.clear();
    enMemoire_ = false;
    FermeFichiers();
    if (positions.empty() || description.empty())
        return false;
    ouvreSansLien(fpos_, positions);
    ouvreSansLien(fdesc_, description);
    if (!fpos_.is_open() || !fdesc_.is_open()) {
        FermeFichiers();
        return false;
    }
    return true;
}

void SegRep::FermeFichiers()
{
    if (fpos_.is_open())
        fpos_.close();
    if (fdesc_.is_open())
        fdesc_.close();
}

std::int32_t SegRep::EcritPositions(std::vector<std::int32_t> positions)
{
    std::sort(positions.begin(), positions.end());
    if (!fpos_.is_open() || !fpos_.good())
        return -1;
    // Reads share the stream's position: writes always go to the end.
    fpos_.seekp(0, std::ios::end);
    const std::streamoff offset = fpos_.good() ? static_cast<std::streamoff>(fpos_.tellp()) : -1;
    if (offset < 0 || offset > std::numeric_limits<std::int32_t>::max())
        return -1;
    for (std::int32_t p : positions) {
        if (!fpos_.good())
            break;
        unsigned char octets[4];
        talmer::EcritLE32(octets, p);
        fpos_.write(reinterpret_cast<const char *>(octets), 4);
    }
    fpos_.flush();
    return static_cast<std::int32_t>(offset);
}

void SegRep::AjouteSegment(const std::vector<std::int32_t> &formes, std::vector<std::int32_t> positions)
{
    Segment s;
    s.Formes = formes;
    s.Frq = static_cast<std::int32_t>(positions.size());
    s.Offset = EcritPositions(std::move(positions));
    segments_.push_back(std::move(s));
}

std::vector<std::int32_t> SegRep::LocOccSeg(std::int32_t k)
{
    std::vector<std::int32_t> positions;
    if ((!fpos_.is_open() && !enMemoire_) || k < 0 || k >= NbSegments())
        return positions;
    const Segment &s = segments_[static_cast<std::size_t>(k)];
    if (s.Offset < 0 || s.Frq <= 0)
        return positions;
    if (enMemoire_) {
        const std::size_t debut = static_cast<std::size_t>(s.Offset) / 4;
        if (s.Offset % 4 != 0 || debut >= memoire_.size())
            return positions;
        const std::size_t fin = std::min(memoire_.size(), debut + static_cast<std::size_t>(s.Frq));
        positions.assign(memoire_.begin() + static_cast<std::ptrdiff_t>(debut),
                         memoire_.begin() + static_cast<std::ptrdiff_t>(fin));
        return positions;
    }
    // Each query stands alone: a read that failed before does not spoil this one.
    fpos_.clear();
    fpos_.seekg(s.Offset, std::ios::beg);
    if (!fpos_.good())
        return positions;
    std::vector<unsigned char> octets(static_cast<std::size_t>(s.Frq) * 4);
    fpos_.read(reinterpret_cast<char *>(octets.data()), static_cast<std::streamsize>(octets.size()));
    const std::size_t lus = static_cast<std::size_t>(fpos_.gcount()) / 4;
    positions.reserve(lus);
    for (std::size_t i = 0; i < lus; ++i)
        positions.push_back(talmer::LitLE32(octets.data() + 4 * i));
    return positions;
}

bool SegRep::GardePositionsEnMemoire()
{
    if (enMemoire_)
        return true;
    if (!fpos_.is_open())
        return false;
    fpos_.clear();
    fpos_.seekg(0, std::ios::end);
    const std::streamoff taille = fpos_.good() ? static_cast<std::streamoff>(fpos_.tellg()) : -1;
    if (taille < 0 || taille % 4 != 0)
        return false;
    fpos_.seekg(0, std::ios::beg);
    std::vector<unsigned char> octets(static_cast<std::size_t>(taille));
    fpos_.read(reinterpret_cast<char *>(octets.data()), static_cast<std::streamsize>(octets.size()));
    if (static_cast<std::streamoff>(fpos_.gcount()) != taille)
        return false;
    memoire_.resize(octets.size() / 4);
    for (std::size_t i = 0; i < memoire_.size(); ++i)
        memoire_[i] = talmer::LitLE32(octets.data() + 4 * i);
    enMemoire_ = true;
    fpos_.close();
    if (fdesc_.is_open())
        fdesc_.close();
    return true;
}

std::string SegRep::RetourneGraphie(std::int32_t k) const
{
    std::string texte;
    if (!base_ || k < 0 || k >= NbSegments())
        return texte;
    for (std::int32_t forme : segments_[static_cast<std::size_t>(k)].Formes) {
        texte += base_->RetourneGraphie(forme, false);
        texte += ' ';
    }
    return texte;
}

int SegRep::ComparSegAlpha(const Segment &a, const Segment &b)
{
    const charg1 *base = baseAlpha();
    const std::size_t n = std::min(a.Formes.size(), b.Formes.size());
    for (std::size_t i = 0; i < n; ++i) {
        const std::int32_t ra = rang(base, a.Formes[i]);
        const std::int32_t rb = rang(base, b.Formes[i]);
        if (ra < rb)
            return -1;
        if (ra > rb)
            return 1;
    }
    return a.Formes.size() < b.Formes.size() ? -1 : 1;
}

void SegRep::TriAlpha()
{
    const charg1 *base = baseAlpha();
    // The order of ComparSegAlpha, except that a segment is never "before" an identical one: the
    // sort needs a strict weak ordering.
    std::sort(segments_.begin(), segments_.end(), [base](const Segment &a, const Segment &b) {
        const std::size_t n = std::min(a.Formes.size(), b.Formes.size());
        for (std::size_t i = 0; i < n; ++i) {
            const std::int32_t ra = rang(base, a.Formes[i]);
            const std::int32_t rb = rang(base, b.Formes[i]);
            if (ra != rb)
                return ra < rb;
        }
        return a.Formes.size() < b.Formes.size();
    });
}

std::vector<std::int32_t> CorrespondanceSegments(const std::vector<Segment> &anciens,
                                                 const std::vector<Segment> &nouveaux)
{
    std::map<std::vector<std::int32_t>, std::int32_t> indexDe;
    for (std::size_t k = 0; k < nouveaux.size(); ++k)
        indexDe.emplace(nouveaux[k].Formes, static_cast<std::int32_t>(k));
    std::vector<std::int32_t> correspondance(anciens.size(), -1);
    for (std::size_t k = 0; k < anciens.size(); ++k)
        if (auto it = indexDe.find(anciens[k].Formes); it != indexDe.end())
            correspondance[k] = it->second;
    return correspondance;
}

BilanRenumerotation RenumeroteSegments(std::vector<std::int32_t> &entites, std::int32_t nbart,
                                       const std::vector<std::int32_t> &correspondance)
{
    BilanRenumerotation bilan;
    std::size_t garde = 0;
    for (std::int32_t n : entites) {
        if (n > nbart) {
            bilan.segments = true;
            const std::int64_t k = std::int64_t{n} - nbart - 1;
            const std::int32_t nouveau =
                k < static_cast<std::int64_t>(correspondance.size()) ? correspondance[static_cast<std::size_t>(k)] : -1;
            if (nouveau < 0) {
                ++bilan.retires;
                continue;
            }
            if (nouveau != k)
                ++bilan.renumerotes;
            n = nbart + 1 + nouveau;
        }
        entites[garde++] = n;
    }
    entites.resize(garde);
    return bilan;
}
