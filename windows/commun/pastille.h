// The colour chip of the list windows: a small coloured square whose colour a dragged group
// carries. A press then a release on it opens the colour dialog; the chosen colour becomes the
// chip's, cancelling keeps it.
#pragma once

#include <QColor>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

namespace talmer {

class PastilleCouleur : public QWidget {
    Q_OBJECT
public:
    // How a colour is chosen: the initial colour in, the chosen one out (none when cancelled).
    using ChoixCouleur = std::function<std::optional<QColor>(QWidget *parent, const QColor &initiale)>;

    explicit PastilleCouleur(const QColor &couleur, QWidget *parent = nullptr);

    QColor Couleur() const { return couleur_; }
    void FixeCouleur(const QColor &couleur);
    // The colour as the drag objects and groups hold it: red in the lowest byte, then green,
    // then blue (0x00BBGGRR).
    std::int32_t CouleurBgr() const;
    // Replaces the colour dialog (QColorDialog by default).
    void FixeChoixCouleur(ChoixCouleur choix) { choix_ = std::move(choix); }

    QSize sizeHint() const override { return {21, 21}; }

signals:
    void couleurChangee(const QColor &couleur);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QColor couleur_;
    bool armee_ = false;
    ChoixCouleur choix_;
};

} // namespace talmer
