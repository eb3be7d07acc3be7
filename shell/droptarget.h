// Makes a window a target for text dragged from other programs. The text is taken as a copy (the
// other program keeps it) and handed to TexteDepose, which does nothing with it. Drags that start
// inside this program pass through to the window's own handlers.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

class TDropTarget : public QObject {
    Q_OBJECT
public:
    // owner: the window that creates the target and deletes it before it goes away; cible: the
    // window registered (the owner or one of its controls).
    TDropTarget(QWidget *owner, QWidget *cible);
    ~TDropTarget() override;

    // Set by the last drag that entered with text, cleared when it leaves.
    bool Accepte() const { return accepte_; }
    QWidget *Owner() const { return owner_; }

    // What a dropped text does: nothing.
    virtual void TexteDepose(const QString &texte);

protected:
    bool eventFilter(QObject *objet, QEvent *event) override;

private:
    QWidget *owner_;
    QPointer<QWidget> cible_;
    bool accepte_ = false;
    bool accepteursAvant_ = false;
};
