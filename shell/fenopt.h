// The "Options" dialog: maximum number of articles of the segmenter, labels count and display
// character set; OK stores them and saves the configuration file.
#pragma once

#include <QDialog>

class ConfigurationT3;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

class TFenOpt : public QDialog {
    Q_OBJECT
public:
    TFenOpt(ConfigurationT3 &configuration, QWidget *parent = nullptr);

    QLineEdit *EdMaxart() const { return edMaxart_; }
    QLineEdit *EdEtiqs() const { return edEtiqs_; }
    QComboBox *CbCharset() const { return cbCharset_; }
    QComboBox *CBMusiques() const { return cbMusiques_; }
    QPushButton *BitBtn1() const { return bitBtn1_; }
    QPushButton *BitBtn2() const { return bitBtn2_; }

    // OK: stores the labels count, the maximum number of articles and the character set, in that
    // order, and saves the configuration. A wrong entry is reported and stops there: what came
    // before it is kept, nothing after it is done, and the dialog stays open.
    void BitBtn1Click();

private:
    void RemplitCharsets();
    void RemplitMusiques();

    ConfigurationT3 &configuration_;
    QTabWidget *pages_;
    QLineEdit *edMaxart_;
    QLineEdit *edEtiqs_;
    QComboBox *cbCharset_;
    QComboBox *cbMusiques_;
    QPushButton *bitBtn1_;
    QPushButton *bitBtn2_;
};

// Centres a window on the screen (halves truncated toward zero).
void CentreSurEcran(QWidget *fenetre);
