#include "services/mesures.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMargins>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTreeView>

#include <algorithm>
#include <cmath>

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

// Keeps the rows and columns of one view sized; lives as the view's child.
class AjusteurGrille : public QObject {
public:
    AjusteurGrille(QAbstractItemView *vue, std::vector<int> largeurs, int hauteurMinimale)
        : QObject(vue), vue_(vue), largeurs_(std::move(largeurs)), hauteurMinimale_(hauteurMinimale)
    {
        setObjectName(QStringLiteral("AjusteurGrille"));
        vue->installEventFilter(this);
        if (QAbstractItemModel *modele = vue->model()) {
            const auto reajuste = [this] { Applique(false); };
            connect(modele, &QAbstractItemModel::modelReset, this, reajuste);
            connect(modele, &QAbstractItemModel::layoutChanged, this, reajuste);
            connect(modele, &QAbstractItemModel::rowsInserted, this, reajuste);
            connect(modele, &QAbstractItemModel::columnsInserted, this, reajuste);
            connect(modele, &QAbstractItemModel::headerDataChanged, this, reajuste);
        }
        Applique(true);
    }

protected:
    bool eventFilter(QObject *objet, QEvent *event) override
    {
        if (objet == vue_ && event->type() == QEvent::FontChange)
            Applique(false);
        return false;
    }

private:
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
        for (int c = 0; c < modele->columnCount(); ++c) {
            const QHeaderView::ResizeMode mode = entete->sectionResizeMode(c);
            if (entete->isSectionHidden(c) || mode == QHeaderView::Stretch || mode == QHeaderView::ResizeToContents)
                continue;
            const auto k = static_cast<std::size_t>(c);
            const int dessinee = k < largeurs_.size() ? largeurs_[k] : entete->defaultSectionSize();
            int voulue = std::max(dessinee, LargeurColonneVoulue(*vue_, c));
            if (!premiere)
                voulue = std::max(voulue, entete->sectionSize(c));
            if (entete->sectionSize(c) != voulue)
                entete->resizeSection(c, voulue);
        }
    }

    QAbstractItemView *vue_;
    std::vector<int> largeurs_;
    int hauteurMinimale_;
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
    int voulue = 0;
    if (const QHeaderView *entete = EnteteDe(vue)) {
        if (entete->isSectionHidden(colonne))
            return 0;
        if (!entete->isHidden())
            voulue = entete->sectionSizeHint(colonne);
    }
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
