// The Word reading layer on documents of our own (tests/fixtures/word, made from the .txt beside
// each one; see tests/fixtures/word/LISEZMOI.txt).
#include "platform/qt/documentword.h"

#include "support/tempdir.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

using talmer::platform::LitParagraphesWord;
using talmer::platform::OutilWord;

namespace {

QString Fixture(const char *nom) { return QString(TALMER_FIXTURES_DIR "/word/") + nom; }

// The paragraphs the document was made from: one per line of its UTF-8 source text.
std::vector<QString> Source(const char *nom)
{
    QFile f(Fixture(nom));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QStringList lignes = QString::fromUtf8(f.readAll()).split(u'\n');
    if (!lignes.isEmpty() && lignes.back().isEmpty())
        lignes.pop_back();
    return std::vector<QString>(lignes.begin(), lignes.end());
}

class DocumentWordTest : public talmer::test::InTempDir {};

} // namespace

TEST(DocumentWord, TroisParagraphesParChaqueOutil)
{
    const std::vector<QString> attendu = Source("trois_paragraphes.txt");
    ASSERT_EQ(attendu.size(), 3u);
    for (OutilWord outil : {OutilWord::Automatique, OutilWord::Antiword, OutilWord::Catdoc}) {
        const auto r = LitParagraphesWord(Fixture("trois_paragraphes.doc"), outil);
        ASSERT_TRUE(r.ok) << r.erreur.toStdString();
        EXPECT_EQ(r.paragraphes, attendu) << static_cast<int>(outil);
    }
}

TEST(DocumentWord, DocumentCourtLuParCatdoc)
{
    // antiword refuses a document this short; the automatic reading then asks catdoc.
    const auto parAntiword = LitParagraphesWord(Fixture("court.doc"), OutilWord::Antiword);
    EXPECT_FALSE(parAntiword.ok);
    EXPECT_FALSE(parAntiword.erreur.isEmpty());
    const auto r = LitParagraphesWord(Fixture("court.doc"));
    ASSERT_TRUE(r.ok) << r.erreur.toStdString();
    EXPECT_EQ(r.paragraphes, Source("court.txt"));
}

TEST(DocumentWord, ConversionVersLaPageDAffichage)
{
    const auto r = LitParagraphesWord(Fixture("trois_paragraphes.doc"),
                                      [](const QString &s) { return s.toLatin1().toStdString(); });
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.paragraphes.size(), 3u);
    EXPECT_EQ(r.paragraphes[2].substr(0, 4), "\xC0 l?"); // "À l’" : the apostrophe is not Latin-1
}

TEST_F(DocumentWordTest, FichiersIlisibles)
{
    talmer::test::writeFile("texte.doc", "Ceci n'est pas un document Word.\n");
    talmer::test::writeFile("vide.doc", "");
    // A compound document signature followed by nothing sensible.
    talmer::test::writeFile("tronque.doc", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, '\0'));
    for (const char *nom : {"texte.doc", "vide.doc", "tronque.doc", "absent.doc"}) {
        for (OutilWord outil : {OutilWord::Automatique, OutilWord::Catdoc}) {
            const auto r = LitParagraphesWord(nom, outil);
            EXPECT_FALSE(r.ok) << nom;
            EXPECT_TRUE(r.erreur.contains(QString::fromUtf8(nom))) << r.erreur.toStdString();
            EXPECT_TRUE(r.paragraphes.empty()) << nom;
        }
    }
}
