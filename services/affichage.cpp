#include "services/affichage.h"

#include "platform/qt/codepage.h"
#include "services/jeu_affichage.h"
#include "services/utilitaires.h"

#include <QAbstractItemView>
#include <QFontDatabase>
#include <QWidget>
#include <QtCharts/QLegend>

#include <memory>

const talmer::CodePage &CodePageAffichage()
{
    static std::unique_ptr<talmer::CodePage> courant;
    const std::string numero = JeuDAffichage().GetCodePage();
    if (!courant || courant->Numero() != numero)
        courant = std::make_unique<talmer::CodePage>(numero);
    return *courant;
}

QString EnUnicode(std::string_view octets)
{
    return CodePageAffichage().VersUnicode(octets);
}

std::string EnCodePage(const QString &texte, bool *complet)
{
    return CodePageAffichage().DepuisUnicode(texte, complet);
}

std::string EnCodePageHtml(const QString &texte)
{
    return CodePageAffichage().DepuisUnicodeAvecReferences(texte);
}

std::string EnCodePageTexteHtml(const QString &texte)
{
    return EnCodePageHtml(EchappeTexte(texte));
}

namespace {

// The script a Windows font character set stands for.
QFontDatabase::WritingSystem ecritureDe(std::uint8_t fontCharset)
{
    switch (fontCharset) {
    case 204: return QFontDatabase::Cyrillic;
    case 161: return QFontDatabase::Greek;
    case 128: return QFontDatabase::Japanese;
    case 178: return QFontDatabase::Arabic;
    case 177: return QFontDatabase::Hebrew;
    case 136: return QFontDatabase::TraditionalChinese;
    case 134: return QFontDatabase::SimplifiedChinese;
    case 163: return QFontDatabase::Vietnamese;
    case 129:
    case 130: return QFontDatabase::Korean;
    case 222: return QFontDatabase::Thai;
    default: return QFontDatabase::Latin;
    }
}

} // namespace

void DelegueAlignement::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->displayAlignment = alignement_;
}

QFont PoliceAffichage(const QFont &base)
{
    const QFontDatabase::WritingSystem ecriture = ecritureDe(JeuDAffichage().GetFontCharset());
    if (QFontDatabase::writingSystems(base.family()).contains(ecriture))
        return base;
    const QStringList familles = QFontDatabase::families(ecriture);
    if (familles.isEmpty())
        return base;
    QFont police = base;
    police.setFamilies({familles.first(), base.family()});
    return police;
}

Qt::LayoutDirection DirectionAffichage()
{
    return JeuDAffichage().IsRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
}

Qt::Alignment AlignementAffichage()
{
    return (JeuDAffichage().IsRightToLeft() ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

void ApplyCharsetToListView(QAbstractItemView *liste, int colonne)
{
    if (!liste)
        return;
    liste->setFont(PoliceAffichage(liste->font()));
    if (colonne != -1 && colonne >= 0) {
        QAbstractItemDelegate *actuel = liste->itemDelegateForColumn(colonne);
        if (auto *notre = dynamic_cast<DelegueAlignement *>(actuel))
            notre->FixeAlignement(AlignementAffichage());
        else if (!actuel)
            liste->setItemDelegateForColumn(colonne, new DelegueAlignement(AlignementAffichage(), liste));
        liste->viewport()->update();
    }
}

void ApplyCharsetToEdit(QWidget *edition)
{
    if (!edition)
        return;
    edition->setFont(PoliceAffichage(edition->font()));
    edition->setLayoutDirection(DirectionAffichage());
}

void ApplyCharsetToLegend(QLegend *legende)
{
    if (legende)
        legende->setFont(PoliceAffichage(legende->font()));
}

void ApplyCharsetToGrid(QAbstractItemView *grille)
{
    if (grille)
        grille->setFont(PoliceAffichage(grille->font()));
}
