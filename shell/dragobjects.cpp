#include "shell/dragobjects.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "engine/tgen.h"
#include "engine/trace.h"

#include <QDrag>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <QWidget>

namespace talmer {

namespace {

// The drag cursor: an arrow with a small sheet under it.
QPixmap PixmapGlisser()
{
    QPixmap p(32, 32);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing, false);
    const QPolygon fleche({QPoint(0, 0), QPoint(0, 16), QPoint(4, 12), QPoint(7, 18), QPoint(9, 17),
                           QPoint(6, 11), QPoint(11, 11)});
    g.setPen(Qt::white);
    g.setBrush(Qt::black);
    g.drawPolygon(fleche);
    g.setPen(Qt::black);
    g.setBrush(Qt::white);
    g.drawRect(10, 18, 12, 9);
    return p;
}

} // namespace

// ---- TTalmerDragObject ----

TTalmerDragObject::TTalmerDragObject(QObject *source, charg1 *base)
    : TTalmerDragObject(source, base, GenreTalmer)
{
}

TTalmerDragObject::TTalmerDragObject(QObject *source, charg1 *base, int kind)
    : source_(source), kind_(kind), base_(base)
{
}

TTalmerDragObject::~TTalmerDragObject() = default;

Selection *TTalmerDragObject::RetourneObjet() { return nullptr; }

// ---- TPartDragObject ----

TPartDragObject::TPartDragObject(QObject *source, Partition *partition)
    : TTalmerDragObject(source, partition ? partition->Base() : nullptr, GenrePartition), partition_(partition)
{
}

Selection *TPartDragObject::RetourneObjet() { return partition_; }

// ---- TTgenDragObject ----

TTgenDragObject::TTgenDragObject(QObject *source, charg1 *base, std::string nom, std::int32_t couleur,
                                 std::int32_t count)
    : TTalmerDragObject(source, base, GenreTgen), couleur_(couleur),
      entites_(static_cast<std::size_t>(std::max<std::int32_t>(count, 0)), 0), nom_(std::move(nom))
{
}

TTgenDragObject::~TTgenDragObject() = default;

Selection *TTgenDragObject::RetourneObjet()
{
    if (!groupe_ && Base())
        groupe_ = std::make_unique<Tgen>(Base(), entites_.data(), Count(), nullptr);
    return groupe_.get();
}

QCursor TTgenDragObject::GetDragCursor() const
{
    trace::Ajoute("GetDragCursor\n");
    static const QPixmap pixmap = PixmapGlisser();
    return QCursor(pixmap, 0, 0);
}

bool TTgenDragObject::EntitesValides(const charg1 &base) const
{
    const std::int32_t nbart = base.Nbart();
    const std::int32_t derniere = base.NbTotEntites(); // the last segment entity, Nbart + number of segments
    for (std::int32_t e : entites_) {
        const bool forme = e >= 0 && e < nbart;
        const bool segment = e > nbart && e <= derniere;
        if (!forme && !segment)
            return false;
    }
    return true;
}

std::unique_ptr<Tgen> TTgenDragObject::ConstruitGroupe(charg1 *base, bool avecNom) const
{
    const char *nom = avecNom && !nom_.empty() ? nom_.c_str() : nullptr;
    auto groupe = std::make_unique<Tgen>(base, entites_.data(), Count(), nom);
    if (couleur_ != SansCouleur)
        groupe->FixeCouleur(couleur_);
    return groupe;
}

// ---- TMimeTalmer ----

QString TMimeTalmer::Format() { return QStringLiteral("application/x-talmer3-objet"); }

TMimeTalmer::TMimeTalmer(std::unique_ptr<TTalmerDragObject> objet) : objet_(std::move(objet)) {}

TMimeTalmer::~TMimeTalmer() = default;

bool TMimeTalmer::hasFormat(const QString &mimeType) const { return mimeType == Format(); }

QStringList TMimeTalmer::formats() const { return {Format()}; }

QVariant TMimeTalmer::retrieveData(const QString &mimeType, QMetaType type) const
{
    Q_UNUSED(type);
    // The object lives in this process only; another program gets nothing it could take for it.
    if (mimeType == Format())
        return QByteArray();
    return {};
}

// ---- receivers ----

TTalmerDragObject *ObjetGlisse(const QMimeData *donnees)
{
    const auto *mime = qobject_cast<const TMimeTalmer *>(donnees);
    return mime ? mime->Objet() : nullptr;
}

TTgenDragObject *GroupeAcceptable(const QMimeData *donnees, const charg1 *base, const QObject *refusee)
{
    TTalmerDragObject *objet = ObjetGlisse(donnees);
    if (!objet || !base || objet->Kind() != TTalmerDragObject::GenreTgen || objet->Base() != base)
        return nullptr;
    auto *groupe = static_cast<TTgenDragObject *>(objet);
    if (refusee && groupe->Source() == refusee)
        return nullptr;
    if (!groupe->EntitesValides(*base))
        return nullptr;
    return groupe;
}

TPartDragObject *PartitionAcceptable(const QMimeData *donnees, const charg1 *base)
{
    TTalmerDragObject *objet = ObjetGlisse(donnees);
    if (!objet || !base || objet->Kind() != TTalmerDragObject::GenrePartition || objet->Base() != base)
        return nullptr;
    auto *partition = static_cast<TPartDragObject *>(objet);
    return partition->PartitionPortee() ? partition : nullptr;
}

TTalmerDragObject *SelectionAcceptable(const QMimeData *donnees, const charg1 *base)
{
    TTalmerDragObject *objet = ObjetGlisse(donnees);
    if (!objet || !base || objet->Base() != base)
        return nullptr;
    if (objet->Kind() == TTalmerDragObject::GenreTgen
        && !static_cast<TTgenDragObject *>(objet)->EntitesValides(*base))
        return nullptr;
    return objet;
}

Qt::DropAction LanceGlisser(QWidget *source, std::unique_ptr<TTalmerDragObject> objet)
{
    if (!source || !objet)
        return Qt::IgnoreAction;
    TTalmerDragObject *porte = objet.get();
    auto *drag = new QDrag(source);
    drag->setMimeData(new TMimeTalmer(std::move(objet)));
    if (porte->Kind() == TTalmerDragObject::GenreTgen) {
        auto *groupe = static_cast<TTgenDragObject *>(porte);
        // The same cursor whether the target accepts or not. Qt settles the cursor when the drag
        // starts and again each time the target under it changes: each is one cursor query.
        const QPixmap curseur = groupe->GetDragCursor().pixmap();
        for (Qt::DropAction a : {Qt::CopyAction, Qt::MoveAction, Qt::LinkAction, Qt::IgnoreAction})
            drag->setDragCursor(curseur, a);
        QObject::connect(drag, &QDrag::targetChanged, drag, [groupe](QObject *) { groupe->GetDragCursor(); });
    }
    // Qt deletes the drag, and with it the mime data and the object, once the drag has ended.
    return drag->exec(Qt::CopyAction, Qt::CopyAction);
}

} // namespace talmer
