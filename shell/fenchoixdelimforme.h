// The dialog that asks for the delimiter characters of a segmentation; a new one for each text, so
// it always starts from the proposed characters.
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;

class TFenChoixDelimForme : public QDialog {
    Q_OBJECT
public:
    explicit TFenChoixDelimForme(QWidget *parent = nullptr);

    QLineEdit *EdDelims() const { return edDelims_; }
    // The typed characters in the display code page, as the segmenter wants them.
    std::string Delimiteurs() const;

private:
    QLabel *lbDelims_;
    QLineEdit *edDelims_;
};
