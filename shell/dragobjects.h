// What travels between the program's windows by drag and drop: a group of forms (entity numbers
// with a name and a colour), a partition, or any selection of the text.
//
// A drag object is carried by a QMimeData of our own (TMimeTalmer), so a window recognises it by
// its class and reads it in place; data dragged from another program, or from another instance of
// this one, never passes for it. Every object records the base it belongs to: entity numbers mean
// something only in their own base, so a window of another base refuses the drop.
#pragma once

#include <QCursor>
#include <QMimeData>
#include <QPointer>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QWidget;
class charg1;
class Partition;
class Selection;
class Tgen;

namespace talmer {

class TTalmerDragObject {
public:
    // Kinds of drag object (no kind 2).
    enum Genre : int {
        GenreTalmer = 0,
        GenreTgen = 1,
        GenrePartition = 3,
    };

    // source: the control the drag started from (not owned); base: the base the carried
    // selection belongs to.
    TTalmerDragObject(QObject *source, charg1 *base);
    virtual ~TTalmerDragObject();
    TTalmerDragObject(const TTalmerDragObject &) = delete;
    TTalmerDragObject &operator=(const TTalmerDragObject &) = delete;

    QObject *Source() const { return source_; }
    int Kind() const { return kind_; }
    charg1 *Base() const { return base_; }

    // The carried selection, none for this base class.
    virtual Selection *RetourneObjet();

protected:
    TTalmerDragObject(QObject *source, charg1 *base, int kind);

private:
    QPointer<QObject> source_;
    int kind_ = GenreTalmer;
    charg1 *base_ = nullptr;
};

class TPartDragObject : public TTalmerDragObject {
public:
    // The partition is not owned; its base is the object's base.
    TPartDragObject(QObject *source, Partition *partition);

    Partition *PartitionPortee() const { return partition_; }
    Selection *RetourneObjet() override;

private:
    Partition *partition_ = nullptr;
};

class TTgenDragObject : public TTalmerDragObject {
public:
    // A colour value that stands for "no colour of its own".
    static constexpr std::int32_t SansCouleur = 0xFFFFFF;

    // count entity numbers, left for the creator to fill in order (a negative count is 0).
    // nom: in the display code page; empty means the group has no name.
    TTgenDragObject(QObject *source, charg1 *base, std::string nom, std::int32_t couleur, std::int32_t count);
    ~TTgenDragObject() override;

    std::int32_t Count() const { return static_cast<std::int32_t>(entites_.size()); }
    std::int32_t Couleur() const { return couleur_; }
    std::vector<std::int32_t> &Entites() { return entites_; }
    const std::vector<std::int32_t> &Entites() const { return entites_; }
    const std::string &Nom() const { return nom_; }
    void FixeNom(std::string nom) { nom_ = std::move(nom); }

    // The group built on the object's base from its numbers, with no name: built on the first
    // call, the same group afterwards (the object owns it).
    Selection *RetourneObjet() override;

    // The cursor while the object is dragged, accepted or not (the drag cursor, never the
    // no-drop one); each query appends "GetDragCursor" to the trace file.
    QCursor GetDragCursor() const;

    // True when every number names an entity of the base (a form, punctuation, a key or an
    // attached repeated segment).
    bool EntitesValides(const charg1 &base) const;

    // What a window that takes a group builds: a group of its own on its base from the numbers,
    // named by the object when it has a name and the window passes names, with the object's
    // colour unless that is SansCouleur.
    std::unique_ptr<Tgen> ConstruitGroupe(charg1 *base, bool avecNom) const;

private:
    std::int32_t couleur_ = SansCouleur;
    std::vector<std::int32_t> entites_;
    std::string nom_;
    std::unique_ptr<Tgen> groupe_;
};

// The mime data that carries a drag object; it owns the object.
class TMimeTalmer : public QMimeData {
    Q_OBJECT
public:
    // The one format this mime data offers; its bytes say nothing about the object.
    static QString Format();

    explicit TMimeTalmer(std::unique_ptr<TTalmerDragObject> objet);
    ~TMimeTalmer() override;

    TTalmerDragObject *Objet() const { return objet_.get(); }

    bool hasFormat(const QString &mimeType) const override;
    QStringList formats() const override;

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType type) const override;

private:
    std::unique_ptr<TTalmerDragObject> objet_;
};

// The drag object an event carries, when it comes from this program; nullptr otherwise.
TTalmerDragObject *ObjetGlisse(const QMimeData *donnees);

// What a window of `base` may take from a drop; nullptr when it must be refused.
// A group of forms: of that base, every number an entity of it, and not dragged from `refusee`.
TTgenDragObject *GroupeAcceptable(const QMimeData *donnees, const charg1 *base, const QObject *refusee = nullptr);
// A partition of that base.
TPartDragObject *PartitionAcceptable(const QMimeData *donnees, const charg1 *base);
// Any selection of that base (a group of forms only when its numbers are entities of it).
TTalmerDragObject *SelectionAcceptable(const QMimeData *donnees, const charg1 *base);

// Starts a drag of the object from the widget and returns once it has ended: the action the
// target took, Qt::IgnoreAction when nobody took it. The mime data, the object and the group it
// may have built are released when the drag ends.
Qt::DropAction LanceGlisser(QWidget *source, std::unique_ptr<TTalmerDragObject> objet);

} // namespace talmer
