// The small dialog in which the user types a note for an item of the report.
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class TFenMemo : public QDialog {
    Q_OBJECT
public:
    explicit TFenMemo(QWidget *parent = nullptr);

    QPlainTextEdit *TexteMemo() const { return texteMemo_; }
    QPushButton *BtnOk() const { return ok_; }
    QPushButton *BtnAnnuler() const { return annuler_; }

    // The note as the report keeps it: every line of the text box followed by CR LF.
    QString TexteNote() const;

private:
    QPlainTextEdit *texteMemo_;
    QPushButton *ok_;
    QPushButton *annuler_;
};
