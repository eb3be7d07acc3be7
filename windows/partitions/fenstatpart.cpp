#include "windows/partitions/fenstatpart.h"

#include "engine/charg1.h"
#include "engine/partition.h"
#include "services/affichage.h"
#include "services/dialogues.h"
#include "services/translation.h"
#include "windows/partitions/comptes_parties.h"
#include "windows/partitions/fabriques_statpart.h"
#include "windows/partitions/grillepclc.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace talmer {

InstallationStatPart &ExtensionStatistiques()
{
    static InstallationStatPart installation;
    return installation;
}

} // namespace talmer

namespace {

// The picture of the vocabulary-growth button: a curve that rises ever more slowly.
QIcon IconeAccroissement()
{
    QPixmap p(24, 24);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(3, 21, 21, 21);
    painter.drawLine(3, 21, 3, 3);
    QPainterPath courbe;
    courbe.moveTo(3, 21);
    courbe.cubicTo(6, 9, 12, 6, 21, 5);
    painter.setPen(QPen(QColor(0, 0, 192), 2));
    painter.drawPath(courbe);
    return QIcon(p);
}

QToolButton *NouveauBouton(QWidget *parent, const char *nom, const char *texte, const char *bulle = nullptr)
{
    auto *bouton = new QToolButton(parent);
    bouton->setObjectName(QString::fromLatin1(nom));
    bouton->setText(QString::fromUtf8(texte));
    if (bulle)
        bouton->setToolTip(QString::fromUtf8(bulle));
    bouton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bouton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    bouton->setMinimumHeight(36);
    return bouton;
}

} // namespace

TFenStatPart::TFenStatPart(TFenPrinc *fenPrinc, Partition &partition, QWidget *parent)
    : QWidget(parent), fenPrinc_(fenPrinc), partition_(partition)
{
    setObjectName(QStringLiteral("TFenStatPart"));
    resize(658, 440);
    ConstruitPages();
    ConstruitPanneauOutils();
    auto *disposition = new QHBoxLayout(this);
    disposition->setContentsMargins(0, 0, 0, 0);
    disposition->setSpacing(0);
    disposition->addWidget(pcStat_, 1);
    disposition->addWidget(btnSpecif_->parentWidget());

    TraduitComposants(this);
    ApplyCharsetToGrid(grdPCLC_);
    pcStat_->setCurrentWidget(tabPCLC_);
    MontreTabTFG(false);
    MontreTabSC(false);
    setWindowTitle(Traduit("Principales caractéristiques de la partition : ") + EnUnicode(partition_.NomPartition()));
    // The memo tells the counts of the whole corpus, the grid those of each part.
    memoResum_->setPlainText(TexteResume(Base()));
    AjusteMemo();

    if (const talmer::InstallationStatPart &installation = talmer::ExtensionStatistiques())
        installation(*this);
    ActualiseBoutons();
}

TFenStatPart::~TFenStatPart()
{
    // A clustering program still running outlives the window: it works for the user, not for it.
    if (cah_ && cah_->state() != QProcess::NotRunning) {
        QProcess *processus = cah_.data();
        processus->disconnect(this);
        processus->setParent(nullptr);
        connect(processus, &QProcess::finished, processus, &QObject::deleteLater);
    }
}

charg1 &TFenStatPart::Base() const
{
    return *partition_.Base();
}

void TFenStatPart::AjusteMemo()
{
    // Tab stops every eight characters, wide enough for the largest count and a gap, so that a
    // count never runs into the text after it; two lines high, at least the designed 36 pixels.
    const QFontMetricsF mesure(memoResum_->font());
    double nombre = 0;
    for (std::int32_t n : {Base().Nbocc(), Base().Nbform(), Base().Nhap(), Base().Fmax()})
        nombre = std::max(nombre, mesure.horizontalAdvance(QString::number(n) + QStringLiteral("  ")));
    memoResum_->setTabStopDistance(std::max(mesure.horizontalAdvance(QLatin1Char('x')) * 8, nombre));
    const double marges = 2 * (memoResum_->frameWidth() + memoResum_->document()->documentMargin());
    memoResum_->setFixedHeight(std::max(36, static_cast<int>(std::ceil(2 * mesure.lineSpacing() + marges))));
}

void TFenStatPart::ConstruitPages()
{
    pcStat_ = new QTabWidget(this);
    pcStat_->setObjectName(QStringLiteral("PCStat"));
    pcStat_->setTabPosition(QTabWidget::South);

    tabPCLC_ = new QWidget(pcStat_);
    tabPCLC_->setObjectName(QStringLiteral("TabPCLC"));
    auto *pclc = new QVBoxLayout(tabPCLC_);
    pclc->setContentsMargins(0, 0, 0, 0);
    pclc->setSpacing(0);
    memoResum_ = new QPlainTextEdit(tabPCLC_);
    memoResum_->setObjectName(QStringLiteral("MemoResum"));
    memoResum_->setReadOnly(true);
    memoResum_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memoResum_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette palette = memoResum_->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
    memoResum_->setPalette(palette);
    QFont police = memoResum_->font();
    police.setPointSizeF(police.pointSizeF() * 0.9);
    memoResum_->setFont(police);
    modele_ = new ModelePCLC(partition_, this);
    grdPCLC_ = new GrillePCLC(modele_, tabPCLC_);
    pclc->addWidget(memoResum_);
    pclc->addWidget(grdPCLC_, 1);

    tabTFG_ = new QWidget(pcStat_);
    tabTFG_->setObjectName(QStringLiteral("TabTFG"));
    (new QVBoxLayout(tabTFG_))->setContentsMargins(0, 0, 0, 0);
    tabSC_ = new QWidget(pcStat_);
    tabSC_->setObjectName(QStringLiteral("TabSC"));
    (new QVBoxLayout(tabSC_))->setContentsMargins(0, 0, 0, 0);

    pcStat_->addTab(tabPCLC_, QStringLiteral("Princ. Caract. Lexicométriques"));
    pcStat_->addTab(tabTFG_, QStringLiteral("TFG / Spécificités par partie"));
    pcStat_->addTab(tabSC_, QStringLiteral("Spécificités Chronologiques"));
}

void TFenStatPart::ConstruitPanneauOutils()
{
    auto *panneau = new QWidget(this);
    panneau->setObjectName(QStringLiteral("PanelOutils"));
    auto *colonne = new QVBoxLayout(panneau);
    colonne->setContentsMargins(2, 2, 2, 2);
    colonne->setSpacing(2);
    btnSpecif_ = NouveauBouton(panneau, "BtnSpecif", "Spécifs", "Spécificités des parties sélectionnées");
    btnSpEvol_ = NouveauBouton(panneau, "BtnSpEvol", "Sp Diac.", "Spécificités évolutives et chronologiques");
    btnAFC_ = NouveauBouton(panneau, "BtnAFC", "AFC", "Analyse factorielle des correspondances");
    btnCAH_ = NouveauBouton(panneau, "SpeedButton5", "CAH", "Classification ascendante hiérarchique");
    btnZipf_ = NouveauBouton(panneau, "BtnZipf", "Pareto");
    btnAcroiVoc_ = NouveauBouton(panneau, "BtnAcroiVoc", "", "Accroissement de vocabulaire");
    btnAcroiVoc_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    btnAcroiVoc_->setIcon(IconeAccroissement());
    btnSpTot_ = NouveauBouton(panneau, "BtnSpTot", "Sp. Tot",
                              "Spécificités de toutes les parties cochées : tableau des formes par partie");
    int largeur = 52;
    for (QToolButton *b : {btnSpecif_, btnSpEvol_, btnAFC_, btnCAH_, btnZipf_, btnAcroiVoc_, btnSpTot_}) {
        colonne->addWidget(b);
        largeur = std::max(largeur, b->fontMetrics().horizontalAdvance(b->text()) + 16);
    }
    // 52 pixels unless a caption needs more in the current font.
    panneau->setFixedWidth(largeur);
    colonne->addStretch(1);

    connect(btnSpecif_, &QToolButton::clicked, this, &TFenStatPart::BtnSpecifClick);
    connect(btnSpEvol_, &QToolButton::clicked, this, &TFenStatPart::BtnSpEvolClick);
    connect(btnAFC_, &QToolButton::clicked, this, &TFenStatPart::BtnAFCClick);
    connect(btnCAH_, &QToolButton::clicked, this, &TFenStatPart::SpeedButton5Click);
    connect(btnZipf_, &QToolButton::clicked, this, &TFenStatPart::BtnZipfClick);
    connect(btnAcroiVoc_, &QToolButton::clicked, this, &TFenStatPart::BtnAcroiVocClick);
    connect(btnSpTot_, &QToolButton::clicked, this, &TFenStatPart::BtnSpTotClick);
}

void TFenStatPart::MontreTabTFG(bool active)
{
    pcStat_->setTabVisible(pcStat_->indexOf(tabTFG_), active);
}

void TFenStatPart::MontreTabSC(bool active)
{
    pcStat_->setTabVisible(pcStat_->indexOf(tabSC_), active);
}

bool TFenStatPart::TabTFGVisible() const
{
    return pcStat_->isTabVisible(pcStat_->indexOf(tabTFG_));
}

bool TFenStatPart::TabSCVisible() const
{
    return pcStat_->isTabVisible(pcStat_->indexOf(tabSC_));
}

void TFenStatPart::RafraichitComptes()
{
    modele_->FlagsChanges();
    grdPCLC_->viewport()->update();
}

void TFenStatPart::FixeActions(talmer::ActionsStatPart actions)
{
    actions_ = std::move(actions);
    ActualiseBoutons();
}

void TFenStatPart::ActualiseBoutons()
{
    const talmer::FabriquesStatPart &fabriques = talmer::FabriquesStatistiques();
    btnSpecif_->setEnabled(static_cast<bool>(actions_.specifs));
    btnSpEvol_->setEnabled(static_cast<bool>(actions_.spDiac));
    btnSpTot_->setEnabled(static_cast<bool>(actions_.spTot));
    btnAFC_->setEnabled(fenPrinc_ && fabriques.afc);
    btnZipf_->setEnabled(fenPrinc_ && fabriques.zipf);
    btnAcroiVoc_->setEnabled(fenPrinc_ && fabriques.accroissement);
    btnCAH_->setEnabled(!CAHEnCours());
}

void TFenStatPart::BtnSpecifClick()
{
    if (actions_.specifs)
        actions_.specifs();
}

void TFenStatPart::BtnSpEvolClick()
{
    if (actions_.spDiac)
        actions_.spDiac();
}

void TFenStatPart::BtnSpTotClick()
{
    if (actions_.spTot)
        actions_.spTot();
}

void TFenStatPart::BtnAFCClick()
{
    const talmer::FabriquesStatPart &fabriques = talmer::FabriquesStatistiques();
    if (fenPrinc_ && fabriques.afc)
        fabriques.afc(*fenPrinc_, partition_, this);
}

void TFenStatPart::BtnZipfClick()
{
    const talmer::FabriquesStatPart &fabriques = talmer::FabriquesStatistiques();
    if (fenPrinc_ && fabriques.zipf)
        fabriques.zipf(*fenPrinc_, partition_);
}

void TFenStatPart::BtnAcroiVocClick()
{
    const talmer::FabriquesStatPart &fabriques = talmer::FabriquesStatistiques();
    if (fenPrinc_ && fabriques.accroissement)
        fabriques.accroissement(*fenPrinc_, partition_);
}

void TFenStatPart::AjouteAuRapport()
{
    if (actions_.exportePage)
        actions_.exportePage();
}

// ---------------------------------------------------------------------------------------------
// The clustering program

QString TFenStatPart::CheminProgrammeCAH()
{
    const QString nom = QString::fromLatin1(ProgrammeCAH);
    QString chemin = QStandardPaths::findExecutable(nom, {QCoreApplication::applicationDirPath()});
    if (chemin.isEmpty())
        chemin = QStandardPaths::findExecutable(nom);
    return chemin;
}

bool TFenStatPart::CAHEnCours() const
{
    return cah_ && cah_->state() != QProcess::NotRunning;
}

void TFenStatPart::SpeedButton5Click()
{
    if (CAHEnCours())
        return;
    const QString chemin = CheminProgrammeCAH();
    if (chemin.isEmpty()) {
        LesDialogues().message(this, QStringLiteral("CAH"),
                               Traduit("Le programme de classification «\u00A0ta3cah\u00A0» est introuvable, ni "
                                       "à côté de Talmer3 ni dans le PATH : aucun n'est fourni avec Talmer3."),
                               BoutonsMessage::Ok, IconeMessage::Exclamation);
        emit finCAH();
        return;
    }
    auto *processus = new QProcess(this);
    cah_ = processus;
    processus->setProgram(chemin);
    // It shares the program's output and gets no input; it runs in the base's folder.
    processus->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(processus, &QProcess::finished, this, &TFenStatPart::FinCAH);
    connect(processus, &QProcess::errorOccurred, this, [this, processus](QProcess::ProcessError erreur) {
        if (erreur != QProcess::FailedToStart)
            return;
        const QString raison = processus->errorString();
        FinCAH();
        LesDialogues().message(this, QStringLiteral("CAH"),
                               Traduit("Le programme de classification «\u00A0ta3cah\u00A0» n'a pas pu "
                                       "être lancé :")
                                   + QLatin1Char(' ') + raison,
                               BoutonsMessage::Ok, IconeMessage::Erreur);
    });
    // The window waits with the hourglass; the rest of the program goes on meanwhile.
    setCursor(Qt::WaitCursor);
    btnCAH_->setEnabled(false);
    processus->start(QIODevice::ReadWrite);
    if (processus->state() != QProcess::NotRunning)
        processus->closeWriteChannel();
}

void TFenStatPart::FinCAH()
{
    if (cah_) {
        cah_->deleteLater();
        cah_ = nullptr;
    }
    unsetCursor();
    btnCAH_->setEnabled(true);
    emit finCAH();
}
