// A one-line label whose text, as long as a list of a thousand parts, is drawn elided ("…") to
// the room the layout gives it, never cut mid-letter, and never widens its window. text() stays
// the whole text.
#pragma once

#include <QLabel>

namespace talmer {

class LibelleElude : public QLabel {
    Q_OBJECT
public:
    explicit LibelleElude(QWidget *parent = nullptr);

    // The text as the label draws it now: whole when it fits its width, else elided.
    QString TexteAffiche() const;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace talmer
