#include "services/mesures.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QHelpEvent>
#include <QIcon>
#include <QMargins>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolTip>
#include <QTreeView>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <set>

namespace talmer {

namespace {

// The room a window frame takes from its title bar besides the text: the window's icon on the
// left, three buttons on the right and the spacing between them.
constexpr int MargeBoutonsTitre = 96;

QHeaderView *EnteteDe(const QAbstractItemView &vue)
{
    if (const auto *table = qobject_cast<const QTableView *>(&vue))
        return table->horizontalHeader();
    if (const auto *arbre = qobject_cast<const QTreeView *>(&vue))
        return arbre->header();
    return nullptr;
}

// A value as the view shows it in that column (a number through the delegate, as on screen).
QString TexteAffiche(const QAbstractItemView &vue, int colonne, const QVariant &valeur)
{
    QAbstractItemDelegate *delegue = vue.itemDelegateForColumn(colonne);
    if (!delegue)
        delegue = vue.itemDelegate();
    if (const auto *style = qobject_cast<const QStyledItemDelegate *>(delegue))
        return style->displayText(valeur, vue.locale());
    return valeur.toString();
}

// The room a cell leaves around its text: the focus frame's margin on each side, and the grid
// line a table draws inside its cells.
int MargeCellule(const QAbstractItemView &vue)
{
    const int cadre = vue.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &vue) + 1;
    const auto *table = qobject_cast<const QTableView *>(&vue);
    return 2 * cadre + (table && table->showGrid() ? 1 : 0);
}

bool EstTexteLibre(const QAbstractItemModel &modele, int section, Qt::Orientation orientation)
{
    return modele.headerData(section, orientation, RoleTexteLibre).toBool();
}

// The width a column's title needs (none when the titles are hidden).
int LargeurTitreColonne(const QAbstractItemView &vue, int colonne)
{
    const QHeaderView *entete = EnteteDe(vue);
    return entete && !entete->isHidden() ? entete->sectionSizeHint(colonne) : 0;
}

// The width a column needs for its title and its widest value, whatever its kind.
int LargeurValeurs(const QAbstractItemView &vue, int colonne)
{
    const QAbstractItemModel *modele = vue.model();
    if (const QHeaderView *entete = EnteteDe(vue))
        if (entete->isSectionHidden(colonne))
            return 0;
    int voulue = LargeurTitreColonne(vue, colonne);
    // Advances are fractional: a text measured in whole pixels (rounded to the nearest) can lack
    // a fraction of one on screen, and the view then elides it ("493…").
    const QFontMetricsF mesure(vue.font());
    const int marge = MargeCellule(vue);
    const auto mesureValeur = [&](const QVariant &valeur) {
        const qreal texte = mesure.horizontalAdvance(TexteAffiche(vue, colonne, valeur));
        voulue = std::max(voulue, static_cast<int>(std::ceil(texte)) + 1 + marge);
    };
    const QVariant larges = modele->headerData(colonne, Qt::Horizontal, RoleValeursLarges);
    if (larges.isValid()) {
        for (const QVariant &valeur : larges.toList())
            mesureValeur(valeur);
    } else if (modele->rowCount() <= MaxLignesMesurees) {
        for (int r = 0; r < modele->rowCount(); ++r)
            mesureValeur(modele->index(r, colonne).data());
    }
    return voulue;
}

// The widest a column of free text is made: a third of its view, or its title when wider.
int PlafondTexte(const QAbstractItemView &vue, int colonne)
{
    return std::max(vue.viewport()->width() / 3, LargeurTitreColonne(vue, colonne));
}

// A title as it fits `largeur` pixels in that font: whole, or elided.
QString EludeTitre(const QString &titre, QFont police, bool gras, int largeur)
{
    police.setBold(police.bold() || gras);
    return QFontMetrics(police).elidedText(titre, Qt::ElideRight, std::max(0, largeur));
}

// The room of a section's title once the header's icon has its place.
int LargeurLibelle(const QStyle &style, const QStyleOptionHeader &option, const QWidget *widget)
{
    int largeur = option.rect.width();
    if (!option.icon.isNull())
        largeur -= style.pixelMetric(QStyle::PM_SmallIconSize, &option, widget) + 2;
    return largeur;
}

// Draws a header's titles elided ("…") when their section is narrower than them, where the
// style would cut them mid-letter. Set on the headers of the views sized here, which own it.
class StyleTitres : public QProxyStyle {
public:
    explicit StyleTitres(QObject *proprietaire)
    {
        setParent(proprietaire);
        setObjectName(QStringLiteral("StyleTitres"));
    }

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *peintre,
                     const QWidget *widget) const override
    {
        const auto *titre = qstyleoption_cast<const QStyleOptionHeader *>(option);
        if (element != CE_HeaderLabel || titre == nullptr || peintre == nullptr)
            return QProxyStyle::drawControl(element, option, peintre, widget);
        const auto dessine = [&](auto copie) {
            copie.text = EludeTitre(titre->text, peintre->font(), titre->state & State_On,
                                    LargeurLibelle(*this, *titre, widget));
            QProxyStyle::drawControl(element, &copie, peintre, widget);
        };
        if (const auto *v2 = qstyleoption_cast<const QStyleOptionHeaderV2 *>(option))
            dessine(QStyleOptionHeaderV2(*v2));
        else
            dessine(QStyleOptionHeader(*titre));
    }
};

void InstalleStyleTitres(QHeaderView *entete)
{
    if (entete == nullptr ||
        entete->findChild<QStyle *>(QStringLiteral("StyleTitres"), Qt::FindDirectChildrenOnly) != nullptr)
        return;
    entete->setStyle(new StyleTitres(entete));
}

// Keeps the rows and columns of one view sized; lives as the view's child.
class AjusteurGrille : public QObject {
public:
    AjusteurGrille(QAbstractItemView *vue, std::vector<int> largeurs, int hauteurMinimale)
        : QObject(vue), vue_(vue), largeurs_(std::move(largeurs)), hauteurMinimale_(hauteurMinimale)
    {
        setObjectName(QStringLiteral("AjusteurGrille"));
        vue->installEventFilter(this);
        cellules_ = vue->viewport();
        cellules_->installEventFilter(this);
        if (QAbstractItemModel *modele = vue->model()) {
            const auto reajuste = [this] { Applique(false); };
            connect(modele, &QAbstractItemModel::modelReset, this, reajuste);
            connect(modele, &QAbstractItemModel::layoutChanged, this, reajuste);
            connect(modele, &QAbstractItemModel::rowsInserted, this, reajuste);
            connect(modele, &QAbstractItemModel::columnsInserted, this, reajuste);
            connect(modele, &QAbstractItemModel::headerDataChanged, this, reajuste);
        }
        if (QHeaderView *entete = EnteteDe(*vue)) {
            InstalleStyleTitres(entete);
            // A column the user sizes by hand (dragging its title's edge, or a double click
            // there) keeps the width he gave it.
            titres_ = entete->viewport();
            titres_->installEventFilter(this);
            connect(entete, &QHeaderView::sectionResized, this, [this](int colonne) {
                if (sourisSurTitres_ && !enAjustement_)
                    parLUtilisateur_.insert(colonne);
            });
        }
        if (auto *table = qobject_cast<QTableView *>(vue)) {
            InstalleStyleTitres(table->verticalHeader());
            lignes_ = table->verticalHeader()->viewport();
            lignes_->installEventFilter(this);
        }
        Applique(true);
    }

protected:
    // The watched widgets are told apart by their addresses alone: this filter still sees the
    // events of the view's children while the view is being destroyed.
    bool eventFilter(QObject *objet, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::FontChange:
            if (objet == vue_)
                Applique(false);
            break;
        case QEvent::Resize:
            // The viewport is resized after its view, once the view has laid out its scroll bars.
            if (objet == cellules_)
                AppliqueTextes();
            break;
        case QEvent::ToolTip:
            if (objet == cellules_ || objet == lignes_)
                return MontreBulle(objet, static_cast<QHelpEvent *>(event));
            if (objet == titres_)
                return MontreBulleTitre(static_cast<QHelpEvent *>(event));
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (objet == titres_)
                sourisSurTitres_ = true;
            break;
        case QEvent::MouseButtonRelease:
            if (objet == titres_)
                sourisSurTitres_ = false;
            break;
        default:
            break;
        }
        return false;
    }

private:
    // A column of free text whose width follows the view (a last column that stretches to the
    // view's edge already does).
    bool SuitLaVue(int colonne) const
    {
        const QHeaderView *entete = EnteteDe(*vue_);
        if (!EstTexteLibre(*vue_->model(), colonne, Qt::Horizontal) || parLUtilisateur_.count(colonne))
            return false;
        return !(entete->stretchLastSection() && entete->logicalIndex(entete->count() - 1) == colonne);
    }

    int Dessinee(int colonne) const
    {
        const auto k = static_cast<std::size_t>(colonne);
        return k < largeurs_.size() ? largeurs_[k] : EnteteDe(*vue_)->defaultSectionSize();
    }

    void Dimensionne(QHeaderView &entete, int colonne, int largeur)
    {
        if (entete.sectionSize(colonne) == largeur)
            return;
        enAjustement_ = true;
        entete.resizeSection(colonne, largeur);
        enAjustement_ = false;
    }

    void Applique(bool premiere)
    {
        if (auto *table = qobject_cast<QTableView *>(vue_)) {
            // Rows of one height: the view never measures the rows it does not show.
            QHeaderView *lignes = table->verticalHeader();
            lignes->setMinimumSectionSize(0);
            lignes->setSectionResizeMode(QHeaderView::Fixed);
            lignes->setDefaultSectionSize(std::max(hauteurMinimale_, HauteurLigne(table->font())));
        }
        QHeaderView *entete = EnteteDe(*vue_);
        const QAbstractItemModel *modele = vue_->model();
        if (!entete || !modele)
            return;
        textes_.clear();
        for (int c = 0; c < modele->columnCount(); ++c) {
            const QHeaderView::ResizeMode mode = entete->sectionResizeMode(c);
            if (entete->isSectionHidden(c) || mode == QHeaderView::Stretch || mode == QHeaderView::ResizeToContents)
                continue;
            if (SuitLaVue(c)) {
                // Measured now; the view's width is applied to it as the view is resized.
                textes_[c] = LargeurValeurs(*vue_, c);
                continue;
            }
            int voulue = std::max(Dessinee(c), LargeurColonneVoulue(*vue_, c));
            if (!premiere)
                voulue = std::max(voulue, entete->sectionSize(c));
            Dimensionne(*entete, c, voulue);
        }
        AppliqueTextes();
    }

    void AppliqueTextes()
    {
        QHeaderView *entete = EnteteDe(*vue_);
        if (!entete || !vue_->model())
            return;
        // In a view too narrow for its columns (a list docked in the side panel), the texts give
        // up their room, down to their titles or, when even that would not do, down to their
        // designed widths, their titles then elided (their tool tips give them whole), so that
        // the numbers beside them show whole. A view that cannot show every column shows whole
        // the numbers up to the last that can show; the texts beyond keep their room.
        std::vector<ColonneAPartager> colonnes;
        std::vector<int> logiques;
        for (int v = 0; v < entete->count(); ++v) {
            const int c = entete->logicalIndex(v);
            if (entete->isSectionHidden(c))
                continue;
            ColonneAPartager colonne{entete->sectionSize(c)};
            const auto mesuree = textes_.find(c);
            if (mesuree != textes_.end() && SuitLaVue(c)) {
                colonne.texte = true;
                colonne.largeur = std::max(Dessinee(c), std::min(mesuree->second, PlafondTexte(*vue_, c)));
                colonne.plancher = std::min(LargeurTitreColonne(*vue_, c), Dessinee(c));
            }
            colonnes.push_back(colonne);
            logiques.push_back(c);
        }
        const std::vector<int> largeurs = PartageLargeurs(colonnes, vue_->viewport()->width());
        for (std::size_t i = 0; i < colonnes.size(); ++i)
            if (colonnes[i].texte)
                Dimensionne(*entete, logiques[i], largeurs[i]);
        if (auto *table = qobject_cast<QTableView *>(vue_)) {
            QHeaderView *lignes = table->verticalHeader();
            if (!lignes->isHidden() && EstTexteLibre(*vue_->model(), 0, Qt::Vertical)) {
                lignes->setTextElideMode(Qt::ElideRight);
                lignes->setMaximumWidth(std::max(lignes->minimumWidth(), table->width() / 3));
            }
        }
    }

    // The whole text of a cell or a row title that is elided, when the model has no tool tip.
    bool MontreBulle(QObject *objet, QHelpEvent *aide)
    {
        if (objet == cellules_) {
            const QModelIndex index = vue_->indexAt(aide->pos());
            if (!index.isValid() || index.data(Qt::ToolTipRole).isValid())
                return false;
            const QString bulle = BulleCellule(*vue_, index);
            if (bulle.isEmpty())
                return false;
            QToolTip::showText(aide->globalPos(), bulle, vue_->viewport(), vue_->visualRect(index));
            return true;
        }
        const QHeaderView *lignes = static_cast<QTableView *>(vue_)->verticalHeader();
        const int ligne = lignes->logicalIndexAt(aide->pos());
        const QAbstractItemModel *modele = vue_->model();
        if (ligne < 0 || modele->headerData(ligne, Qt::Vertical, Qt::ToolTipRole).isValid())
            return false;
        const QString texte = modele->headerData(ligne, Qt::Vertical).toString();
        if (TitreAffiche(*lignes, ligne) == texte)
            return false;
        QToolTip::showText(aide->globalPos(), texte, lignes->viewport());
        return true;
    }

    // The whole title of a column whose title is elided, when the model has no tool tip for it.
    bool MontreBulleTitre(QHelpEvent *aide)
    {
        const QHeaderView *entete = EnteteDe(*vue_);
        const int colonne = entete->logicalIndexAt(aide->pos());
        if (colonne < 0 || vue_->model()->headerData(colonne, Qt::Horizontal, Qt::ToolTipRole).isValid())
            return false;
        const QString bulle = BulleTitre(*vue_, colonne);
        if (bulle.isEmpty())
            return false;
        QToolTip::showText(aide->globalPos(), bulle, entete->viewport());
        return true;
    }

    QAbstractItemView *vue_;
    // The view's cells, its column titles and its row titles (a table's).
    QObject *cellules_ = nullptr;
    QObject *titres_ = nullptr;
    QObject *lignes_ = nullptr;
    std::vector<int> largeurs_;
    int hauteurMinimale_;
    // The columns of free text that follow the view, with the width their values ask for.
    std::map<int, int> textes_;
    std::set<int> parLUtilisateur_;
    bool sourisSurTitres_ = false;
    bool enAjustement_ = false; // the columns are being sized here, not by the user
};

// Widens each dialog to its title as it is shown.
class LargeurDialogues : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *objet, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            if (auto *dialogue = qobject_cast<QDialog *>(objet))
                if (dialogue->isWindow() && !qobject_cast<QMessageBox *>(dialogue))
                    ElargitAuTitre(*dialogue);
        return false;
    }
};

// The frame the window manager draws around its windows, as it is around the window `fenetre`
// belongs to or the active one; none when no window is shown.
QMargins CadreDUneFenetreMontree(const QWidget &fenetre)
{
    const QWidget *parent = fenetre.parentWidget() ? fenetre.parentWidget()->window() : nullptr;
    for (const QWidget *montree : {parent, static_cast<const QWidget *>(QApplication::activeWindow())})
        if (montree && montree != &fenetre && montree->isVisible()) {
            const QRect dehors = montree->frameGeometry(), dedans = montree->geometry();
            return {dedans.left() - dehors.left(), dedans.top() - dehors.top(), dehors.right() - dedans.right(),
                    dehors.bottom() - dedans.bottom()};
        }
    return {};
}

} // namespace

int HauteurLigne(const QFont &police)
{
    const QFontMetrics mesure(police);
    return std::max(mesure.height(), mesure.lineSpacing()) + 4;
}

int LargeurColonneVoulue(const QAbstractItemView &vue, int colonne)
{
    const QAbstractItemModel *modele = vue.model();
    if (!modele || colonne < 0 || colonne >= modele->columnCount())
        return 0;
    const int voulue = LargeurValeurs(vue, colonne);
    if (!EstTexteLibre(*modele, colonne, Qt::Horizontal))
        return voulue;
    return std::min(voulue, PlafondTexte(vue, colonne));
}

std::vector<int> PartageLargeurs(const std::vector<ColonneAPartager> &colonnes, int place)
{
    std::vector<int> largeurs;
    for (const ColonneAPartager &c : colonnes)
        largeurs.push_back(c.largeur);
    if (std::accumulate(largeurs.begin(), largeurs.end(), 0LL) <= place)
        return largeurs;
    // The most first columns that fit with their texts at their floors.
    std::size_t n = 0;
    long long nombres = 0, planchers = 0;
    for (const ColonneAPartager &c : colonnes) {
        if (nombres + planchers + (c.texte ? c.plancher : c.largeur) > place)
            break;
        (c.texte ? planchers : nombres) += c.texte ? c.plancher : c.largeur;
        ++n;
    }
    std::vector<std::size_t> textes;
    long long demandes = 0;
    for (std::size_t i = 0; i < n; ++i)
        if (colonnes[i].texte) {
            textes.push_back(i);
            demandes += colonnes[i].largeur;
        }
    if (textes.empty())
        return largeurs;
    const long long reste = place - nombres;
    if (demandes > reste) {
        // The widest texts give way first: every text is cut to one level (not below its floor),
        // the highest level at which they fit.
        const auto largeurAuNiveau = [&](std::size_t i, int niveau) {
            return std::max(colonnes[i].plancher, std::min(colonnes[i].largeur, niveau));
        };
        const auto somme = [&](int niveau) {
            long long total = 0;
            for (std::size_t i : textes)
                total += largeurAuNiveau(i, niveau);
            return total;
        };
        int bas = 0, haut = 0;
        for (std::size_t i : textes)
            haut = std::max(haut, colonnes[i].largeur);
        while (bas < haut) {
            const int milieu = bas + (haut - bas + 1) / 2;
            if (somme(milieu) <= reste)
                bas = milieu;
            else
                haut = milieu - 1;
        }
        long long surplus = reste - somme(bas);
        for (std::size_t i : textes) {
            largeurs[i] = largeurAuNiveau(i, bas);
            // The pixels the level leaves go to the texts cut at it, one each.
            if (surplus > 0 && largeurs[i] == bas && colonnes[i].largeur > bas) {
                ++largeurs[i];
                --surplus;
            }
        }
    }
    return largeurs;
}

QString TitreAffiche(const QHeaderView &entete, int section)
{
    const QAbstractItemModel *modele = entete.model();
    if (modele == nullptr || section < 0 || section >= entete.count())
        return {};
    const Qt::Orientation orientation = entete.orientation();
    QStyleOptionHeader option;
    option.initFrom(&entete);
    option.section = section;
    option.orientation = orientation;
    option.text = modele->headerData(section, orientation).toString();
    option.icon = modele->headerData(section, orientation, Qt::DecorationRole).value<QIcon>();
    option.textAlignment = entete.defaultAlignment();
    if (orientation == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    if (entete.isSortIndicatorShown() && entete.sortIndicatorSection() == section)
        option.sortIndicator = entete.sortIndicatorOrder() == Qt::AscendingOrder ? QStyleOptionHeader::SortDown
                                                                                : QStyleOptionHeader::SortUp;
    option.rect = orientation == Qt::Horizontal ? QRect(0, 0, entete.sectionSize(section), entete.viewport()->height())
                                                : QRect(0, 0, entete.viewport()->width(), entete.sectionSize(section));
    const QStyle *style = entete.style();
    option.rect = style->subElementRect(QStyle::SE_HeaderLabel, &option, &entete);
    return EludeTitre(option.text, entete.font(), false, LargeurLibelle(*style, option, &entete));
}

QString BulleCellule(const QAbstractItemView &vue, const QModelIndex &index)
{
    const QVariant propre = index.data(Qt::ToolTipRole);
    if (propre.isValid())
        return propre.toString();
    const QString texte = TexteAffiche(vue, index.column(), index.data());
    const QRect cellule = vue.visualRect(index);
    if (texte.isEmpty() || cellule.isEmpty())
        return {};
    // Drawn elided when it lacks the room LargeurColonneVoulue would give it.
    const int voulue = static_cast<int>(std::ceil(QFontMetricsF(vue.font()).horizontalAdvance(texte))) + 1 + MargeCellule(vue);
    return voulue > cellule.width() ? texte : QString();
}

QString BulleTitre(const QAbstractItemView &vue, int colonne)
{
    const QHeaderView *entete = EnteteDe(vue);
    if (!entete || entete->isHidden() || !vue.model())
        return {};
    const QString titre = vue.model()->headerData(colonne, Qt::Horizontal).toString();
    return entete->sectionSize(colonne) < LargeurTitreColonne(vue, colonne) ? titre : QString();
}

void DimensionneGrille(QAbstractItemView *vue, std::vector<int> largeurs, int hauteurMinimale)
{
    if (!vue)
        return;
    delete vue->findChild<QObject *>(QStringLiteral("AjusteurGrille"), Qt::FindDirectChildrenOnly);
    new AjusteurGrille(vue, std::move(largeurs), hauteurMinimale);
}

int LargeurGrille(const QTableView &vue)
{
    int largeur = 2 * vue.frameWidth() + vue.horizontalHeader()->length();
    if (!vue.verticalHeader()->isHidden())
        largeur += vue.verticalHeader()->sizeHint().width();
    if (vue.verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
        largeur += vue.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, vue.verticalScrollBar());
    return largeur;
}

void DimensionneArbre(QTreeView *vue)
{
    if (!vue)
        return;
    vue->header()->setStretchLastSection(false);
    vue->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    vue->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    vue->setTextElideMode(Qt::ElideNone);
}

int LargeurTitre(const QWidget &fenetre)
{
    QString titre = fenetre.windowTitle();
    titre.remove(QStringLiteral("[*]"));
    // Qt has the title bar show the application's display name after the window's own title.
    // That name defaults to the application's: it is counted whenever the title does not end
    // with it (room to spare when no display name is set).
    const QString nom = QGuiApplication::applicationDisplayName();
    if (!nom.isEmpty() && !titre.endsWith(nom))
        titre += (titre.isEmpty() ? QString() : QString::fromUtf8(" \xE2\x80\x94 ")) + nom;
    QFont police = QApplication::font();
    police.setBold(true);
    return QFontMetrics(police).horizontalAdvance(titre) + MargeBoutonsTitre;
}

void ElargitAuTitre(QWidget &fenetre)
{
    int voulue = LargeurTitre(fenetre);
    if (const QScreen *ecran = fenetre.screen())
        voulue = std::min(voulue, ecran->availableGeometry().width());
    const int manque = voulue - fenetre.width();
    if (manque <= 0)
        return;
    fenetre.setMinimumWidth(std::max(fenetre.minimumWidth(), voulue));
    fenetre.setMaximumWidth(std::max(fenetre.maximumWidth(), voulue));
    if (fenetre.isWindow() && fenetre.testAttribute(Qt::WA_Moved)) {
        // Placed already (centred on the screen, say): it grows on both sides. Its place was
        // given for its frame; a window's geometry once created is that of its inside, so the
        // frame (not known before the window shows) is taken from a window shown already.
        const QMargins cadre = CadreDUneFenetreMontree(fenetre);
        fenetre.setGeometry(fenetre.x() - manque / 2 + cadre.left(), fenetre.y() + cadre.top(), voulue,
                            fenetre.height());
    } else {
        // A dialog not placed yet is centred over its parent once shown, at its new width.
        fenetre.resize(voulue, fenetre.height());
    }
}

void InstalleLargeurDialogues()
{
    static QPointer<LargeurDialogues> filtre;
    if (filtre || !qApp)
        return;
    filtre = new LargeurDialogues(qApp);
    qApp->installEventFilter(filtre);
}

} // namespace talmer
