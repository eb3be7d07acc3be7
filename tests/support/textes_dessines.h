// The texts a widget draws, as it draws them (elided or cut), read from its painting rather than
// from what its model says.
#pragma once

#include <QPaintDevice>
#include <QPaintEngine>
#include <QSize>
#include <QStringList>
#include <QTextItem>
#include <QWidget>

#include <climits>

namespace talmer::test {

// A surface that keeps the text of every drawText and draws nothing.
class SurfaceTextes : public QPaintDevice {
public:
    explicit SurfaceTextes(QSize taille) : taille_(taille) {}
    QPaintEngine *paintEngine() const override { return &moteur_; }
    const QStringList &Textes() const { return moteur_.textes; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return taille_.width();
        case PdmHeight:
            return taille_.height();
        case PdmWidthMM:
            return taille_.width() * 254 / 960;
        case PdmHeightMM:
            return taille_.height() * 254 / 960;
        case PdmNumColors:
            return INT_MAX;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    class Moteur : public QPaintEngine {
    public:
        Moteur() : QPaintEngine(QPaintEngine::AllFeatures) {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override {}
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        void drawTextItem(const QPointF &, const QTextItem &texte) override { textes.push_back(texte.text()); }
        Type type() const override { return QPaintEngine::User; }
        QStringList textes;
    };
    QSize taille_;
    mutable Moteur moteur_;
};

// The texts `widget` and its children draw when painted whole.
inline QStringList TextesDessines(QWidget &widget)
{
    SurfaceTextes surface(widget.size());
    widget.render(&surface);
    return surface.Textes();
}

} // namespace talmer::test
