// The reading view: the whole text of the open base as a page, with its keys and line breaks;
// a group of forms dropped on it is shown in bold in its colour, replacing any earlier one. A
// large text's page is shown in parts, the user going to any part by its number.
#pragma once

#include "windows/commun/decoupagehtml.h"

#include <QWidget>

#include <memory>

class Tgen;
class charg1;

namespace talmer {

class PageTemporaire;
class VueHtml;

class TFenLiseuse : public QWidget {
    Q_OBJECT
public:
    TFenLiseuse(charg1 &base, QWidget *parent = nullptr);
    ~TFenLiseuse() override;

    charg1 &Base() const { return base_; }
    const Tgen *Groupe() const { return groupe_.get(); }
    VueHtml *HTMLEdit() const { return vue_; }
    // The page file, "" when none could be made.
    QString CheminPage() const;

    // Makes `groupe` the highlighted group (none: plain text), rewrites the page and shows it
    // again at the same place.
    void FixeGroupe(std::unique_ptr<Tgen> groupe);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // Writes the page; false, the user told why, when it could not be written.
    bool EcritHtml();

    charg1 &base_;
    std::unique_ptr<Tgen> groupe_;
    std::unique_ptr<PageTemporaire> page_;
    // The page's parts, found as it is written: the view goes to any of them at once.
    DecoupageHtml decoupage_;
    VueHtml *vue_ = nullptr;
};

} // namespace talmer
