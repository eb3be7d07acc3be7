// The workspace registry: the bases loaded, the partitions and the sectionings open, asked before
// an analysis is opened twice. It owns its entries, not the objects and windows they point to.
#pragma once

#include <QPersistentModelIndex>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

class charg1;
class Partition;
class Section;

// One open partition. Two partitions are the same when they are on the same base and built on
// the same key type entity.
struct InfoPartition {
    Partition *partition = nullptr;
    const charg1 *base = nullptr;
    std::int32_t cle = -1;
    // The windows showing it (distribution graphs), in order of opening; a closed window leaves a
    // null entry, so the count still numbers the next view.
    std::vector<QPointer<QWidget>> vues;
    // The partition's "Graphiques" node in the navigation tree; invalid until set and once the
    // node is removed.
    QPersistentModelIndex noeud;
};

// One open sectioning. Two sectionings are the same when they are on the same base and have the
// same delimiter entities in the same order.
struct InfoSection {
    Section *section = nullptr;
    const charg1 *base = nullptr;
    std::vector<std::int32_t> delimiteurs;
    std::vector<QPointer<QWidget>> vues;
    QPersistentModelIndex noeud;
};

class Corpus {
public:
    Corpus() = default;
    Corpus(const Corpus &) = delete;
    Corpus &operator=(const Corpus &) = delete;

    // Registers a loaded base. A base at an address already registered can only be a new object
    // where a freed one lay: the entries of the old one are purged first. Returns true.
    bool AjouteBase(const charg1 *base);

    // The same operations on the objects themselves (their base, key or delimiters).
    bool AjoutePartition(Partition *partition);
    int IndexPartition(const Partition *partition) const;
    bool AjouteSection(Section *section);
    int IndexSection(const Section *section) const;

    // Registers the partition unless one of the same base and key is registered (false, nothing
    // registered: the caller frees its new partition and uses the registered one).
    bool AjoutePartition(Partition *partition, const charg1 *base, std::int32_t cle);
    // Position of the registered partition of that base and key, or -1.
    int IndexPartition(const charg1 *base, std::int32_t cle) const;

    // The same for sectionings, identified by base and delimiter list (order matters).
    bool AjouteSection(Section *section, const charg1 *base, const std::vector<std::int32_t> &delimiteurs);
    int IndexSection(const charg1 *base, const std::vector<std::int32_t> &delimiteurs) const;

    // What PurgeBase took out of the registry, for the caller to free.
    struct EntreesPurgees {
        std::vector<Partition *> partitions;
        std::vector<Section *> sections;
    };
    // Removes a base that is being closed with every partition and sectioning on it.
    EntreesPurgees PurgeBase(const charg1 *base);

    const std::vector<const charg1 *> &Bases() const { return bases_; }
    int NbPartitions() const { return static_cast<int>(partitions_.size()); }
    int NbSections() const { return static_cast<int>(sections_.size()); }
    // Entry at a position, or null out of range.
    InfoPartition *EntreePartition(int index) const;
    InfoSection *EntreeSection(int index) const;

private:
    std::vector<const charg1 *> bases_;
    std::vector<std::unique_ptr<InfoPartition>> partitions_;
    std::vector<std::unique_ptr<InfoSection>> sections_;
};

// The registry of the run (not owned; the main window creates it). Null before.
Corpus *CorpusProgramme();
void FixeCorpusProgramme(Corpus *corpus);
