// The borderless window shown while the program starts: a picture and the program's version.
#pragma once

#include <QIcon>
#include <QWidget>

class QLabel;

class TSplashScreen : public QWidget {
    Q_OBJECT
public:
    explicit TSplashScreen(QWidget *parent = nullptr);

    QLabel *LbVersion() const { return lbVersion_; }

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    QLabel *image1_ = nullptr;
    QLabel *lbVersion_ = nullptr;
};

// The picture of the splash screen, drawn rather than read from a file (513 by 333).
QPixmap ImageDemarrage();
// The program's icon, the splash screen's motif on a small square (16 to 64 pixels), given to
// every window of the program.
const QIcon &IconeProgramme();
