#include "services/corpus_registry.h"

#include "engine/partition.h"
#include "engine/section.h"

#include <algorithm>

bool Corpus::AjouteBase(const charg1 *base)
{
    if (std::find(bases_.begin(), bases_.end(), base) != bases_.end())
        PurgeBase(base);
    bases_.push_back(base);
    return true;
}

bool Corpus::AjoutePartition(Partition *partition, const charg1 *base, std::int32_t cle)
{
    if (IndexPartition(base, cle) != -1)
        return false;
    auto info = std::make_unique<InfoPartition>();
    info->partition = partition;
    info->base = base;
    info->cle = cle;
    partitions_.push_back(std::move(info));
    return true;
}

int Corpus::IndexPartition(const charg1 *base, std::int32_t cle) const
{
    for (std::size_t i = 0; i < partitions_.size(); ++i)
        if (partitions_[i]->base == base && partitions_[i]->cle == cle)
            return static_cast<int>(i);
    return -1;
}

bool Corpus::AjouteSection(Section *section, const charg1 *base, const std::vector<std::int32_t> &delimiteurs)
{
    if (IndexSection(base, delimiteurs) != -1)
        return false;
    auto info = std::make_unique<InfoSection>();
    info->section = section;
    info->base = base;
    info->delimiteurs = delimiteurs;
    sections_.push_back(std::move(info));
    return true;
}

int Corpus::IndexSection(const charg1 *base, const std::vector<std::int32_t> &delimiteurs) const
{
    for (std::size_t i = 0; i < sections_.size(); ++i)
        if (sections_[i]->base == base && sections_[i]->delimiteurs == delimiteurs)
            return static_cast<int>(i);
    return -1;
}

bool Corpus::AjoutePartition(Partition *partition)
{
    return partition && AjoutePartition(partition, partition->Base(), partition->Cle());
}

int Corpus::IndexPartition(const Partition *partition) const
{
    return partition ? IndexPartition(partition->Base(), partition->Cle()) : -1;
}

bool Corpus::AjouteSection(Section *section)
{
    return section && AjouteSection(section, section->Base(), section->Delimiteurs());
}

int Corpus::IndexSection(const Section *section) const
{
    return section ? IndexSection(section->Base(), section->Delimiteurs()) : -1;
}

Corpus::EntreesPurgees Corpus::PurgeBase(const charg1 *base)
{
    EntreesPurgees purgees;
    std::erase(bases_, base);
    std::erase_if(partitions_, [&](const std::unique_ptr<InfoPartition> &p) {
        if (p->base != base)
            return false;
        purgees.partitions.push_back(p->partition);
        return true;
    });
    std::erase_if(sections_, [&](const std::unique_ptr<InfoSection> &s) {
        if (s->base != base)
            return false;
        purgees.sections.push_back(s->section);
        return true;
    });
    return purgees;
}

InfoPartition *Corpus::EntreePartition(int index) const
{
    if (index < 0 || index >= NbPartitions())
        return nullptr;
    return partitions_[static_cast<std::size_t>(index)].get();
}

InfoSection *Corpus::EntreeSection(int index) const
{
    if (index < 0 || index >= NbSections())
        return nullptr;
    return sections_[static_cast<std::size_t>(index)].get();
}

namespace {
Corpus *corpusProgramme = nullptr;
}

Corpus *CorpusProgramme() { return corpusProgramme; }
void FixeCorpusProgramme(Corpus *corpus) { corpusProgramme = corpus; }
